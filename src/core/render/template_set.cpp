// SPDX-License-Identifier: MIT
#include "core/render/template_set.hpp"

#include "core/render/read_back.hpp"

#include "core/common/error.hpp"
#include "core/common/files.hpp"
#include "core/common/xml.hpp"

#include <algorithm>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>

namespace fs = std::filesystem;

namespace kavo::render {

using model::Task;
using model::TaskKind;
using model::VariantCount;

namespace {

// Marks a hole in a page rendered for its layout: a byte no template holds, then the label.
constexpr char Marker = '\x01';

Text marker(int label) {
    return {Marker, static_cast<char>('1' + label)};
}

// A text rendered with markers cut into its stretches and the labels of its holes.
Pattern cutAtMarkers(std::string_view marked, std::vector<int>& labels,
                     std::size_t (*minLength)(int)) {
    Pattern pattern;
    std::size_t start = 0;
    for (auto at = marked.find(Marker); at != std::string_view::npos;
         at = marked.find(Marker, start)) {
        pattern.literals.emplace_back(marked.substr(start, at - start));
        const int label = marked[at + 1] - '1';
        labels.push_back(label);
        pattern.minLengths.push_back(minLength(label));
        start = at + 2;
    }
    pattern.literals.emplace_back(marked.substr(start));
    return pattern;
}

// A filled variant holds at least one byte (an empty one is a layout of its own); the
// condition may be empty.
std::size_t pageHoleLength(int label) {
    return label == ConditionHole ? 0 : 1;
}

std::size_t anyLength(int) {
    return 0;
}

// The variants left empty whose block (its separator and its empty text) the removals
// take out of the page whole: the page shows nothing of them. The removals of pageFrom,
// followed byte by byte.
int erasedEmpty(const FamilyTemplates& f, const Task& task) {
    const auto& v = task.variants;
    const bool empty =
        std::any_of(v.begin(), v.end(), [](const auto& t) { return t && t->empty(); });
    const bool removed = std::any_of(v.begin() + 2, v.end(), [](const auto& t) { return !t; });
    if (f.family->around.empty() || !empty || !removed)
        return 0;
    Text page;
    std::vector<unsigned char> owner; // the piece each byte comes from
    auto add = [&](std::string_view piece, int index) {
        page.append(piece);
        page.append(CRLF);
        owner.insert(owner.end(), piece.size() + CRLF.size(), static_cast<unsigned char>(index));
    };
    add(f.parts[task.picture ? 0 : 1], 0);
    add(task.condition, 1);
    for (int i = 0; i < VariantCount; ++i) {
        add(f.parts[f.family->around[i]], 2 + 2 * i);
        add(task.variants[i].value_or(Text()), 3 + 2 * i);
    }
    add(f.parts[f.family->around[VariantCount]], 2 + 2 * VariantCount);
    for (int i = 2; i < VariantCount; ++i)
        if (!task.variants[i])
            for (const auto name : f.family->removals[i - 2]) {
                const Text& gone = f.removals.find(name)->second;
                if (gone.empty())
                    continue;
                Text kept;
                std::vector<unsigned char> keptOwner;
                std::size_t start = 0;
                for (auto at = page.find(gone); at != Text::npos; at = page.find(gone, start)) {
                    kept.append(page, start, at - start);
                    keptOwner.insert(keptOwner.end(), owner.begin() + start, owner.begin() + at);
                    start = at + gone.size();
                }
                kept.append(page, start);
                keptOwner.insert(keptOwner.end(), owner.begin() + start, owner.end());
                page = std::move(kept);
                owner = std::move(keptOwner);
            }
    int erased = 0;
    for (int i = 0; i < VariantCount; ++i)
        if (task.variants[i] && task.variants[i]->empty() &&
            std::find(owner.begin(), owner.end(), 2 + 2 * i) == owner.end())
            ++erased;
    return erased;
}

void addShape(FamilyTemplates& f, PageShape shape, const Pattern& pattern) {
    const auto index = static_cast<std::size_t>(f.pages.add(pattern));
    if (f.shapes.size() <= index)
        f.shapes.resize(index + 1);
    f.shapes[index].push_back(std::move(shape));
}

void addPageShapes(FamilyTemplates& f) {
    const bool typed = f.family->around.empty();
    std::vector<PageShape> plain; // without a picture
    if (typed) {
        for (const bool russian : {false, true})
            plain.push_back({false, {}, russian, {}});
    } else {
        // Every state of A and B (filled, empty) and of C, D, E (also removed).
        for (int code = 0; code < 2 * 4 * 27; ++code) {
            PageShape shape{false, {}, code >= 4 * 27, {}};
            int rest = code % (4 * 27);
            for (int i = 0; i < VariantCount; ++i) {
                const int states = i < 2 ? 2 : 3;
                shape.states[i] = static_cast<VariantState>(rest % states);
                rest /= states;
            }
            plain.push_back(shape);
        }
    }
    const Text& noPicture = f.parts[1];
    for (auto& shape : plain) {
        Task task;
        task.kind = f.family->kind;
        task.condition = marker(ConditionHole);
        for (int i = 0; i < VariantCount; ++i)
            if (shape.states[i] == VariantState::Filled)
                task.variants[i] = marker(i);
            else if (shape.states[i] == VariantState::Empty)
                task.variants[i] = Text();
        shape.erasedEmpty = erasedEmpty(f, task);
        Text page = pageFrom(f, task, shape.russianPrompt);
        Pattern pattern = cutAtMarkers(page, shape.holes, pageHoleLength);
        addShape(f, shape, pattern);
        // With a picture only the opening differs, unless the opening met a removal.
        PageShape pictured = shape;
        pictured.picture = true;
        if (pattern.literals[0] == noPicture + Text(CRLF)) {
            pattern.literals[0] = f.parts[0] + Text(CRLF);
        } else {
            task.picture = true;
            page = pageFrom(f, task, shape.russianPrompt);
            pictured.holes.clear();
            pattern = cutAtMarkers(page, pictured.holes, pageHoleLength);
        }
        addShape(f, std::move(pictured), pattern);
    }
    // Where layouts give the same page, the removal templates cannot tell a variant left
    // empty from a removed one: the layout with fewer empty variants, and then the one whose
    // removed variants are the last ones (as the form removes them), is read.
    for (auto& shapes : f.shapes)
        std::stable_sort(shapes.begin(), shapes.end(), [](const PageShape& a, const PageShape& b) {
            return std::tuple(a.erasedEmpty, a.emptyKept(), !a.removedSuffix()) <
                   std::tuple(b.erasedEmpty, b.emptyKept(), !b.removedSuffix());
        });
}

void addEditsLayouts(EditsData& data) {
    const auto& t = data.edits;
    // By the number of sub-questions: two, three, four.
    const std::pair<const Text*, const Text*> texts[] = {
        {&t.task2Asp, &t.task2Out}, {&t.task1Asp, &t.task1Out}, {&t.task3Asp, &t.task3Out}};
    for (int count = 2; count <= 4; ++count) {
        const auto& [page, scoring] = texts[count - 2];
        Text markedScoring = *scoring + Text(CRLF);
        for (int i = 1; i <= count; ++i)
            markedScoring =
                replaceAll(markedScoring, "*ans" + std::to_string(i) + "*", marker(i - 1));
        EditsLayout scoringLayout{count, {}};
        const auto scoringIndex = static_cast<std::size_t>(
            data.editsScoring.add(cutAtMarkers(markedScoring, scoringLayout.holes, anyLength)));
        // The page in both languages of the condition, as renderEdits writes it; the
        // placeholders that it fills, marked with their number.
        const Text english = replaceAll(*page, "lang=\"ru\"", "lang=\"en\"");
        for (const Text* language : {page, &english}) {
            if (language == &english && english == *page)
                break;
            Text markedPage = *language + Text(CRLF);
            for (int i = 1; i <= count + 1; ++i)
                markedPage = replaceAll(markedPage, "*vs" + std::to_string(i) + "*", marker(i - 1));
            EditsLayout pageLayout{count, {}};
            const auto pageIndex = static_cast<std::size_t>(
                data.editsPages.add(cutAtMarkers(markedPage, pageLayout.holes, anyLength)));
            data.editsPageLayouts.resize(std::max(data.editsPageLayouts.size(), pageIndex + 1));
            data.editsPageLayouts[pageIndex] = pageLayout;
        }
        data.editsScoringLayouts.resize(
            std::max(data.editsScoringLayouts.size(), scoringIndex + 1));
        data.editsScoringLayouts[scoringIndex] = scoringLayout;
    }
}

} // namespace

int PageShape::emptyKept() const {
    return static_cast<int>(std::count(states.begin(), states.end(), VariantState::Empty));
}

bool PageShape::removedSuffix() const {
    bool removed = false;
    for (const auto state : states) {
        if (removed && state != VariantState::Removed)
            return false;
        removed = state == VariantState::Removed;
    }
    return true;
}

// The exact bytes of a regular file, or none.
std::optional<std::string> readBytes(const fs::path& path) {
    try {
        return readFileBytes(path);
    } catch (const Error&) {
        return std::nullopt;
    }
}

std::vector<std::string> familyGroupFiles(const Family& family) {
    std::vector<std::string> names = familyFiles(family);
    for (const auto& removals : family.removals)
        for (const auto name : removals) {
            std::string file = "Del/" + std::string(name);
            if (std::find(names.begin(), names.end(), file) == names.end())
                names.push_back(std::move(file));
        }
    if (family.costByRemovals)
        for (const char* name : {"Del/cost.txt", "Del/cost1.txt", "Del/cost2.txt", "Del/cost3.txt"})
            names.emplace_back(name);
    return names;
}

std::vector<std::string> descriptionGroupFiles() {
    return {"Authorisation/Author_1.txt", "Authorisation/Author_2.txt",
            "Authorisation/Author_end.txt", "file/task_xml.txt", "file/task_xml_2.txt"};
}

std::vector<std::string> editsGroupFiles() {
    // In the order readEditsTemplates reads them.
    return {"file_for_edits/zamena.txt", "file_for_edits/task1.asp", "file_for_edits/task1.out",
            "file_for_edits/task.cfg",   "file/task_xml.txt",        "file_for_edits/task2.asp",
            "file_for_edits/task2.out",  "file_for_edits/task3.asp", "file_for_edits/task3.out"};
}

FamilyTemplates buildFamily(TaskKind kind, const std::vector<Text>& texts) {
    FamilyTemplates f;
    f.family = &familyOf(kind);
    const auto names = familyGroupFiles(*f.family);
    const auto parts = familyFiles(*f.family).size();
    f.parts.assign(texts.begin(), texts.begin() + static_cast<std::ptrdiff_t>(parts));
    f.config = f.parts.back() + Text(CRLF);
    for (std::size_t i = parts; i < names.size(); ++i) {
        const std::string_view name = std::string_view(names[i]).substr(4); // after "Del/"
        if (name == "cost.txt")
            f.costFind = texts[i];
        else if (name.starts_with("cost"))
            f.costPut[static_cast<std::size_t>(name[4] - '0')] = texts[i];
        else
            f.removals.emplace(std::string(name), texts[i]);
    }
    addPageShapes(f);
    for (int answer = 0; answer < VariantCount; ++answer) {
        Task task;
        task.kind = kind;
        task.answer = answer;
        f.oneVariant[answer] = scoringFrom(f, task);
    }
    return f;
}

DescriptionTemplates buildDescriptions(const std::vector<Text>& texts) {
    DescriptionTemplates data;
    data.head1 = texts[0];
    data.head2 = texts[1];
    data.tail = texts[2];
    data.header1 = texts[3];
    data.header2 = texts[4];
    const Text tail = data.tail + Text(CRLF);
    for (int two = 0; two < 2; ++two) {
        const Text& header = two ? data.header2 : data.header1;
        const Text& head = two ? data.head2 : data.head1;
        if (header.size() >= head.size() + tail.size() && header.starts_with(head) &&
            header.ends_with(tail))
            data.todayAuthor[two] =
                header.substr(head.size(), header.size() - head.size() - tail.size());
    }
    return data;
}

EditsData buildEdits(const std::vector<Text>& texts) {
    EditsData data;
    auto& t = data.edits;
    Text EditsTemplates::*const fields[] = {
        &EditsTemplates::zamena,   &EditsTemplates::task1Asp, &EditsTemplates::task1Out,
        &EditsTemplates::taskCfg,  &EditsTemplates::taskXml,  &EditsTemplates::task2Asp,
        &EditsTemplates::task2Out, &EditsTemplates::task3Asp, &EditsTemplates::task3Out};
    for (std::size_t i = 0; i < std::size(fields); ++i)
        t.*fields[i] = texts[i];
    addEditsLayouts(data);
    return data;
}

bool PageEnd::mayEnd(std::string_view page) const {
    if (stretches.empty())
        return true;
    const auto tail = page.substr(page.size() > window ? page.size() - window : 0);
    return std::any_of(stretches.begin(), stretches.end(), [tail](const Text& stretch) {
        return tail.find(stretch) != std::string_view::npos;
    });
}

PageEnd familyPageEnd(const Family& family, const Text& closing,
                      const std::vector<Text>& removals) {
    const std::string_view c = closing;
    std::vector<std::string_view> gone;
    for (const auto& r : removals)
        if (!r.empty())
            gone.emplace_back(r);
    // A removal inside the closing template can join any of its bytes: nothing is sure.
    for (const auto r : gone)
        if (c.find(r) != std::string_view::npos)
            return {};
    // Where a removal that began before the closing template can end in it: at the end of a
    // stretch that ends some removal text, after any such stretch before it.
    std::vector<bool> reached(c.size() + 1, false);
    reached[0] = true;
    std::size_t from = 0;
    for (std::size_t q = 0; q <= c.size(); ++q) {
        if (!reached[q])
            continue;
        from = q;
        for (const auto r : gone)
            for (std::size_t l = 1; l <= std::min(r.size(), c.size() - q); ++l)
                if (c.substr(q, l) == r.substr(r.size() - l))
                    reached[q + l] = true;
    }
    // Where one that reaches past its end can begin: at the start of a stretch that begins
    // some removal text, before any such stretch after it.
    std::vector<bool> begun(c.size() + 1, false);
    begun[c.size()] = true;
    std::size_t to = c.size();
    for (std::size_t p = c.size() + 1; p-- > 0;) {
        if (!begun[p])
            continue;
        to = p;
        for (const auto r : gone)
            for (std::size_t l = 1; l <= std::min(r.size(), p); ++l)
                if (c.substr(p - l, l) == r.substr(0, l))
                    begun[p - l] = true;
    }
    if (from >= to)
        return {};
    PageEnd end;
    end.stretches.emplace_back(c.substr(from, to - from));
    // The typed answer's page takes the prompt in the condition's language, in the closing
    // template too (no removals there).
    if (family.around.empty()) {
        Text russian = replaceAll(end.stretches.front(), EnglishPrompt, RussianPrompt);
        if (russian != end.stretches.front())
            end.stretches.push_back(std::move(russian));
    }
    // After the stretch: the rest of the closing template and the line breaks of the page
    // and of the removals (at most a dozen).
    std::size_t longest = 0;
    for (const auto& stretch : end.stretches)
        longest = std::max(longest, stretch.size());
    end.window = longest + (c.size() - to) + 64;
    return end;
}

PageEnd editsPageEnd(const std::vector<const Text*>& pages) {
    PageEnd end;
    for (const Text* page : pages) {
        // What follows the last placeholder: no text typed into the page can reach into it.
        const auto star = page->rfind('*');
        const Text tail = star == Text::npos ? *page : page->substr(star + 1);
        for (Text form : {tail, replaceAll(tail, "lang=\"ru\"", "lang=\"en\"")})
            if (std::find(end.stretches.begin(), end.stretches.end(), form) == end.stretches.end())
                end.stretches.push_back(std::move(form));
    }
    for (const auto& stretch : end.stretches)
        end.window = std::max(end.window, stretch.size() + 64);
    return end;
}

Text pageFrom(const FamilyTemplates& f, const Task& task, std::optional<bool> russian) {
    return renderPage(*f.family, f.parts, f.removals, task, russian);
}

Text scoringFrom(const FamilyTemplates& f, const Task& task) {
    return scoringOf(*f.family, task);
}

std::optional<Text> descriptionFrom(const DescriptionTemplates& headers, const FamilyTemplates& f,
                                    const Task& task, std::optional<char> letter, bool withoutPart,
                                    std::string_view authorStretch) {
    Text header = task.number >= 10 ? headers.head2 : headers.head1;
    header.append(authorStretch);
    header += headers.tail;
    header += CRLF;
    const int removed = removedCount(task);
    return descriptionOf(*f.family, task, std::move(header), letter, withoutPart, f.costFind,
                         removed > 0 ? f.costPut[removed] : Text());
}

namespace {

constexpr TaskKind FormKinds[] = {TaskKind::SingleChoice, TaskKind::TypedAnswer,
                                  TaskKind::FoldedChoice, TaskKind::MultipleChoice,
                                  TaskKind::MultipleChoiceFolded};
constexpr std::size_t GroupCount = std::size(FormKinds) + 2;
constexpr std::size_t DescriptionGroup = std::size(FormKinds), EditsGroup = DescriptionGroup + 1;

std::size_t groupOf(TaskKind kind) {
    const auto* found = std::find(std::begin(FormKinds), std::end(FormKinds), kind);
    if (found == std::end(FormKinds))
        throw std::logic_error("no template family for this kind of task");
    return static_cast<std::size_t>(found - std::begin(FormKinds));
}

// The files of each group, in reading order (made once: the names never change).
const std::vector<std::string>& filesOfGroup(std::size_t group) {
    static const auto lists = [] {
        std::array<std::vector<std::string>, GroupCount> built;
        for (std::size_t i = 0; i < std::size(FormKinds); ++i)
            built[i] = familyGroupFiles(familyOf(FormKinds[i]));
        built[DescriptionGroup] = descriptionGroupFiles();
        built[EditsGroup] = editsGroupFiles();
        return built;
    }();
    return lists[group];
}

// What was built from a group's files, kept for the whole program by System_folder: it
// serves again only for the same texts.
struct Built {
    std::vector<Text> texts;
    std::shared_ptr<const void> data;
};

std::mutex builtLock;
std::map<std::pair<std::string, std::size_t>, Built>& builtGroups() {
    static std::map<std::pair<std::string, std::size_t>, Built> groups;
    return groups;
}

// The page ends made, by group, with the texts they were made from.
std::array<std::optional<std::pair<std::vector<Text>, std::shared_ptr<const PageEnd>>>, GroupCount>&
madeEnds() {
    static std::array<std::optional<std::pair<std::vector<Text>, std::shared_ptr<const PageEnd>>>,
                      GroupCount>
        ends;
    return ends;
}

} // namespace

struct TemplateSet::State {
    fs::path systemDir;
    std::recursive_mutex lock;
    std::map<std::string, Text, std::less<>> texts;
    std::set<std::string, std::less<>> failed; // files that could not be read
    // Texts held by the caller that stand for the Edits files (withEdits), in the order of
    // their names; they outlive the set.
    std::array<const Text*, 9> held{};
    std::array<std::shared_ptr<const void>, GroupCount> groups;
    std::array<std::shared_ptr<const PageEnd>, GroupCount> ends;
    // System_folder opened once for the operation: each file is opened by its name in it.
    int folder = -1;
    int folderErrno = 0;
    int byPath = 0; // files read by their paths before the folder was opened

    State() = default;
    State(const State&) = delete;
    ~State() {
        if (folder >= 0)
            ::close(folder);
    }

    Text read(const std::string& name) {
        // The first two files go by their paths: a set that reads no more (the replace
        // question of the Edits builder reads the two author files) opens no folder. Those
        // after go through the folder, opened once.
        if (folder < 0 && folderErrno == 0 && ++byPath <= 2) {
            std::string path = systemDir.native();
            if (!path.empty() && path.back() != '/')
                path += '/';
            return readTextAt(AT_FDCWD, path + name, {});
        }
        if (folder < 0 && folderErrno == 0) {
            folder = ::open(systemDir.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
            folderErrno = folder < 0 ? errno : 0;
        }
        if (folder < 0)
            return readText(systemDir / name); // reports the folder's own failure
        return readTextAt(folder, name, systemDir);
    }

    const Text* heldText(std::string_view name) const {
        const auto& names = filesOfGroup(EditsGroup);
        for (std::size_t i = 0; i < held.size(); ++i)
            if (names[i] == name)
                return held[i];
        return nullptr;
    }

    const Text& text(std::string_view name) {
        const std::lock_guard<std::recursive_mutex> guard(lock);
        if (held[0])
            if (const Text* text = heldText(name))
                return *text;
        if (const auto found = texts.find(name); found != texts.end())
            return found->second;
        std::string key(name);
        try {
            Text bytes = read(key);
            failed.erase(key);
            return texts.emplace(std::move(key), std::move(bytes)).first->second;
        } catch (const Error&) {
            failed.emplace(std::move(key));
            throw;
        }
    }

    // The file's text, or none when it cannot be read.
    const Text* tryText(std::string_view name) {
        try {
            return &text(name);
        } catch (const Error&) {
            return nullptr;
        }
    }

    template <typename Data, typename Build>
    const Data& group(std::size_t index, const std::vector<std::string>& names, Build build) {
        const std::lock_guard<std::recursive_mutex> guard(lock);
        if (!groups[index]) {
            std::vector<const Text*> read;
            read.reserve(names.size());
            if (index == EditsGroup && held[0])
                read.assign(held.begin(), held.end());
            else
                for (const auto& name : names)
                    read.push_back(&text(name));
            const auto same = [&](const std::vector<Text>& built) {
                return std::equal(built.begin(), built.end(), read.begin(), read.end(),
                                  [](const Text& a, const Text* b) { return a == *b; });
            };
            const auto key = std::pair(systemDir.native(), index);
            {
                const std::lock_guard<std::mutex> shared(builtLock);
                const auto found = builtGroups().find(key);
                if (found != builtGroups().end() && same(found->second.texts))
                    groups[index] = found->second.data;
            }
            if (!groups[index]) {
                std::vector<Text> texts;
                texts.reserve(read.size());
                for (const Text* text : read)
                    texts.push_back(*text);
                auto data = std::make_shared<const Data>(build(texts));
                const std::lock_guard<std::mutex> shared(builtLock);
                builtGroups()[key] = {std::move(texts), data};
                groups[index] = std::move(data);
            }
        }
        return *static_cast<const Data*>(groups[index].get());
    }
};

TemplateSet TemplateSet::load(const fs::path& systemDir) {
    TemplateSet set;
    set.state_ = std::make_shared<State>();
    set.state_->systemDir = systemDir;
    return set;
}

TemplateSet TemplateSet::load(const fs::path& systemDir, int openFolder) {
    TemplateSet set = load(systemDir);
    set.state_->folder = ::fcntl(openFolder, F_DUPFD_CLOEXEC, 0);
    return set; // a failed duplicate opens the folder by its name at the first read
}

TemplateSet TemplateSet::withEdits(const fs::path& systemDir, const EditsTemplates& held) {
    TemplateSet set = load(systemDir);
    const Text* texts[] = {&held.zamena,   &held.task1Asp, &held.task1Out,
                           &held.taskCfg,  &held.taskXml,  &held.task2Asp,
                           &held.task2Out, &held.task3Asp, &held.task3Out};
    static_assert(std::size(texts) == std::tuple_size_v<decltype(State::held)>);
    std::copy(std::begin(texts), std::end(texts), set.state_->held.begin());
    return set;
}

const fs::path& TemplateSet::systemDir() const {
    return state_->systemDir;
}

const Text& TemplateSet::text(std::string_view name) const {
    return state_->text(name);
}

const std::vector<std::string>& familyGroupFilesOf(TaskKind kind) {
    return filesOfGroup(groupOf(kind));
}

const FamilyTemplates& TemplateSet::family(TaskKind kind) const {
    const std::size_t group = groupOf(kind);
    return state_->group<FamilyTemplates>(
        group, filesOfGroup(group),
        [kind](const std::vector<Text>& texts) { return buildFamily(kind, texts); });
}

const DescriptionTemplates& TemplateSet::descriptions() const {
    return state_->group<DescriptionTemplates>(DescriptionGroup, filesOfGroup(DescriptionGroup),
                                               buildDescriptions);
}

const EditsData& TemplateSet::edits() const {
    return state_->group<EditsData>(EditsGroup, filesOfGroup(EditsGroup), buildEdits);
}

const PageEnd& TemplateSet::pageEnd(std::optional<TaskKind> kind) const {
    const std::size_t group = kind ? groupOf(*kind) : EditsGroup;
    const std::lock_guard<std::recursive_mutex> guard(state_->lock);
    auto& end = state_->ends[group];
    if (end)
        return *end;
    // The texts the end is made from; none when one cannot be read (nothing is ruled out).
    std::vector<const Text*> texts;
    const auto gather = [&]() -> bool {
        if (!kind) {
            for (const char* name : {"file_for_edits/task1.asp", "file_for_edits/task2.asp",
                                     "file_for_edits/task3.asp"})
                if (const Text* page = state_->tryText(name))
                    texts.push_back(page);
                else
                    return false;
            return true;
        }
        const Family& family = familyOf(*kind);
        const int closing = family.around.empty() ? 2 : family.around[VariantCount];
        const Text* text = state_->tryText(filesOfGroup(group)[static_cast<std::size_t>(closing)]);
        if (!text)
            return false;
        texts.push_back(text);
        for (const auto& names : family.removals)
            for (const auto name : names) {
                const Text* removal = state_->tryText("Del/" + std::string(name));
                if (!removal)
                    return false;
                texts.push_back(removal);
            }
        return true;
    };
    if (!gather()) {
        end = std::make_shared<const PageEnd>();
        return *end;
    }
    // What was made from the same texts serves again, for any set of this program.
    {
        const std::lock_guard<std::mutex> shared(builtLock);
        auto& before = madeEnds()[group];
        if (before &&
            std::equal(before->first.begin(), before->first.end(), texts.begin(), texts.end(),
                       [](const Text& a, const Text* b) { return a == *b; })) {
            end = before->second;
            return *end;
        }
    }
    std::vector<Text> copies;
    for (const Text* text : texts)
        copies.push_back(*text);
    if (!kind) {
        end = std::make_shared<const PageEnd>(editsPageEnd(texts));
    } else {
        const Text closing = copies.front();
        end = std::make_shared<const PageEnd>(familyPageEnd(
            familyOf(*kind), closing, std::vector<Text>(copies.begin() + 1, copies.end())));
    }
    const std::lock_guard<std::mutex> shared(builtLock);
    madeEnds()[group] = std::pair(std::move(copies), end);
    return *end;
}

bool TemplateSet::readsAsBefore(const TemplateSet& other) const {
    if (state_ == other.state_)
        return true;
    // Texts held instead of read say nothing of the files.
    if (state_->systemDir != other.state_->systemDir || state_->held[0] || other.state_->held[0])
        return false;
    std::map<std::string, Text, std::less<>> texts;
    std::set<std::string, std::less<>> failed;
    {
        const std::lock_guard<std::recursive_mutex> guard(other.state_->lock);
        texts = other.state_->texts;
        failed = other.state_->failed;
    }
    for (const auto& [name, bytes] : texts) {
        const Text* now = state_->tryText(name);
        if (!now || *now != bytes)
            return false;
    }
    return std::all_of(failed.begin(), failed.end(),
                       [this](const std::string& name) { return !state_->tryText(name); });
}

void TemplateSet::forgetBuilt() {
    const std::lock_guard<std::mutex> shared(builtLock);
    builtGroups().clear();
    madeEnds() = {};
}

} // namespace kavo::render
