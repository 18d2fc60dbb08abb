// SPDX-License-Identifier: MIT
#include "core/render/read_back.hpp"

#include "core/common/codepage.hpp"
#include "core/common/error.hpp"
#include "core/common/messages.hpp"
#include "core/common/xml.hpp"
#include "core/render/template_set.hpp"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <stdexcept>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <unordered_map>

namespace fs = std::filesystem;

namespace kavo::render {

using model::Task;
using model::TaskKind;
using model::VariantCount;

namespace {

enum FileIndex { Page, Config, Scoring, Description, FileCount };
constexpr std::array<std::string_view, FileCount> FileNames{"task.asp", "TASK.CFG", "task.out",
                                                            "task.xml"};
// The files as read, looked at in place.
using Files = std::array<std::string_view, FileCount>;

constexpr TaskKind FormKinds[] = {TaskKind::SingleChoice, TaskKind::TypedAnswer,
                                  TaskKind::FoldedChoice, TaskKind::MultipleChoice,
                                  TaskKind::MultipleChoiceFolded};

// Multiple choice: by the number removed, each scoring text to its right variants.
const std::array<std::unordered_map<Text, unsigned>, 4>& variantScoring() {
    static const auto table = [] {
        std::array<std::unordered_map<Text, unsigned>, 4> built;
        for (int removed = 0; removed <= 3; ++removed)
            for (unsigned right = 0; right < 32; ++right)
                built[static_cast<std::size_t>(removed)].emplace(
                    joinPieces(multipleChoiceScoring(right, removed)), right);
        return built;
    }();
    return table;
}

// Why a way of reading failed, and how much of the files fitted it: of several failures
// the one that fitted most tells the user what differs.
struct Failure {
    int fitted = -1; // files that fitted
    int file = Page;
    std::size_t offset = 0;
    ReadReason reason = ReadReason::Differs;

    bool beats(const Failure& other) const {
        return std::tie(fitted, offset) > std::tie(other.fitted, other.offset);
    }
};

// A place that leaves a reading in doubt.
struct Doubt {
    ReadReason reason;
    int file;
    std::size_t offset;
};

// One way the files can be read.
struct Reading {
    Task task;
    WrittenWith written;
    std::array<std::vector<Span>, FileCount> cuts; // the holes of the page and the scoring
    std::vector<int> labels;                       // what fills each hole of the page
    std::optional<Doubt> doubt;
    // A page with removals taken as cut, not yet rendered again (the readings of one cut
    // share their page: the first stands for all).
    bool unproved = false;
    // The condition left in the page (`task.condition` stays empty): it may be large, and is
    // copied out only once the reading is chosen, if at all.
    std::optional<Span> conditionAt = std::nullopt;
};

struct Attempt {
    std::vector<Reading> readings;
    Failure failure;

    void fail(const Failure& f) {
        if (f.beats(failure))
            failure = f;
    }
    void take(Attempt&& other) {
        for (auto& reading : other.readings)
            readings.push_back(std::move(reading));
        fail(other.failure);
    }
};

// What the description says beside the task.
struct Named {
    std::optional<model::OwnNames> names;
    WrittenWith written;
    std::optional<Doubt> doubt;
};

struct NamedResult {
    std::vector<Named> readings;
    std::size_t failedAt = 0;
};

// The stretches and the marker bytes (1 to 3) of a text rendered with markers.
struct Marked {
    Pattern pattern;
    std::vector<char> labels;
};

Marked cutAtMarkerBytes(std::string_view text) {
    Marked marked;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] >= '\x01' && text[i] <= '\x03') {
            marked.pattern.literals.emplace_back(text.substr(start, i - start));
            marked.pattern.minLengths.push_back(0);
            marked.labels.push_back(text[i]);
            start = i + 1;
        }
    marked.pattern.literals.emplace_back(text.substr(start));
    return marked;
}

// The text of the holes with this label, when they all hold the same.
std::optional<std::string_view> labelled(std::string_view text, const Marked& marked,
                                         const std::vector<Span>& holes, char label,
                                         std::size_t& first) {
    std::optional<std::string_view> value;
    for (std::size_t i = 0; i < holes.size(); ++i) {
        if (marked.labels[i] != label)
            continue;
        const auto piece = text.substr(holes[i].begin, holes[i].end - holes[i].begin);
        if (value && *value != piece)
            return std::nullopt;
        if (!value)
            first = holes[i].begin;
        value = piece;
    }
    return value ? value : std::optional<std::string_view>(std::string_view());
}

// An author stretch holds the escaped author line: no markup, no quote.
std::optional<std::size_t> badAuthorByte(std::string_view stretch) {
    const auto at = stretch.find_first_of("<\"");
    return at == std::string_view::npos ? std::nullopt : std::optional(at);
}

// A name as it stands escaped in the description: the text typed, and where a typed
// character and its reference give the same bytes (" and &quot;, < and &lt;, & and
// &amp;), a second text with its place. None for bytes no escape gives.
std::optional<Text> typedName(std::string_view escaped,
                              std::optional<std::pair<Text, std::size_t>>& other) {
    if (escapeXmlAttribute(escaped) != escaped)
        return std::nullopt;
    static constexpr std::pair<std::string_view, char> references[] = {
        {"&quot;", '"'}, {"&lt;", '<'}, {"&amp;", '&'}};
    for (std::size_t at = escaped.find('&'); at != std::string_view::npos && !other;
         at = escaped.find('&', at + 1))
        for (const auto& [reference, character] : references)
            if (escaped.substr(at, reference.size()) == reference) {
                Text candidate(escaped.substr(0, at));
                candidate += character;
                candidate.append(escaped.substr(at + reference.size()));
                if (escapeXmlAttribute(candidate) == escaped)
                    other = std::pair(candidate, at);
            }
    return Text(escaped);
}

// Whether the author line differs from today's: the description rendered with today's
// author stretch in place of the one read differs from the file.
bool authorDiffers(const TemplateSet& set, const FamilyTemplates& f, const Task& task,
                   const WrittenWith& written, std::string_view xml) {
    const auto& today = set.descriptions().todayAuthor[task.number >= 10 ? 1 : 0];
    if (!today)
        return true;
    // Only identifiers ("TaskA1", "TaskA") are ever rewritten inside the stretch.
    if (*today == written.authorLine && today->find("Task") == Text::npos)
        return false;
    const auto described = descriptionFrom(set.descriptions(), f, task, written.partLetter,
                                           written.identifiersWithoutPart, *today);
    return !described || *described != xml;
}

// A name in the form of a default identifier: "Task", a part letter or none, and digits.
bool identifierLike(std::string_view name) {
    if (!name.starts_with("Task"))
        return false;
    name.remove_prefix(4);
    if (!name.empty() && name.front() >= 'A' && name.front() <= 'C')
        name.remove_prefix(1);
    return !name.empty() && name.size() <= 2 &&
           std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The names, identifiers and author stretch of a description of the task's kind, removed
// variants and number. Own names that look like default identifiers give the bytes of
// default names: they are read as default names (of this number or, failing that, not at
// all), since the form gives those unless the teacher types exactly such names. No name
// or author line holds cost="1": the writer escapes their quotes.
NamedResult readNames(const TemplateSet& set, const FamilyTemplates& f, const Task& read,
                      std::string_view xml) {
    NamedResult result;
    // What the description depends on: the kind, the number and the removed variants.
    Task task;
    task.kind = read.kind;
    task.number = read.number;
    task.variants = read.variants;
    std::array<std::pair<std::optional<char>, bool>, 4> identifiers{
        {{std::nullopt, false}, {'B', false}, {'C', false}, {std::nullopt, true}}};
    // The header's identifiers start at the 17th character: try the form that stands there
    // first.
    const char letter = xml.size() > 16 ? xml[16] : 'A';
    std::stable_partition(identifiers.begin(), identifiers.end(), [letter](const auto& form) {
        return form.second ? letter >= '0' && letter <= '9' : form.first.value_or('A') == letter;
    });
    for (const auto& [letter, withoutPart] : identifiers) {
        const auto marked =
            descriptionFrom(set.descriptions(), f, task, letter, withoutPart, "\x01");
        if (!marked)
            continue;
        const auto at = marked->find('\x01');
        const auto head = std::string_view(*marked).substr(0, at);
        const auto tail = std::string_view(*marked).substr(at + 1);
        if (xml.substr(0, head.size()) != head) {
            result.failedAt = std::max(result.failedAt, firstDifference(xml, head));
            continue;
        }
        if (xml.size() < head.size() + tail.size() ||
            xml.substr(xml.size() - tail.size()) != tail) {
            result.failedAt = std::max(result.failedAt, placeOfMissing(xml, tail, head.size()));
            continue;
        }
        const auto stretch = xml.substr(head.size(), xml.size() - head.size() - tail.size());
        if (const auto bad = badAuthorByte(stretch)) {
            result.failedAt = std::max(result.failedAt, head.size() + *bad);
            continue;
        }
        result.readings.push_back({std::nullopt, {Text(stretch), false, letter, withoutPart}, {}});
        return result; // the identifiers of one number differ from each other
    }
    task.names = model::OwnNames{"\x02", "\x03"};
    const auto text = descriptionFrom(set.descriptions(), f, task, std::nullopt, false, "\x01");
    const Marked marked = cutAtMarkerBytes(*text);
    const auto holes = cutLeftmost(marked.pattern, xml);
    if (!holes) {
        std::size_t deepest = 0;
        PatternTree tree;
        tree.add(marked.pattern);
        tree.match(xml, &deepest);
        result.failedAt = std::max(result.failedAt, deepest);
        return result;
    }
    std::size_t authorAt = 0, russianAt = 0, englishAt = 0;
    const auto author = labelled(xml, marked, *holes, '\x01', authorAt);
    const auto russian = labelled(xml, marked, *holes, '\x02', russianAt);
    const auto english = labelled(xml, marked, *holes, '\x03', englishAt);
    if (!author || !russian || !english) {
        result.failedAt = std::max(result.failedAt, holes->back().begin);
        return result;
    }
    if (const auto bad = badAuthorByte(*author)) {
        result.failedAt = std::max(result.failedAt, authorAt + *bad);
        return result;
    }
    std::optional<std::pair<Text, std::size_t>> otherRussian, otherEnglish;
    const auto typedRussian = typedName(*russian, otherRussian);
    const auto typedEnglish = typedName(*english, otherEnglish);
    if (!typedRussian || !typedEnglish) {
        result.failedAt = std::max(result.failedAt, typedRussian ? englishAt : russianAt);
        return result;
    }
    if (*russian == *english && identifierLike(*russian)) {
        result.failedAt = std::max(result.failedAt, russianAt);
        return result;
    }
    const WrittenWith written{Text(*author), false, std::nullopt, false};
    result.readings.push_back({model::OwnNames{*typedRussian, *typedEnglish}, written, {}});
    if (otherRussian)
        result.readings.push_back(
            {model::OwnNames{otherRussian->first, *typedEnglish}, written,
             Doubt{ReadReason::Names, Description, russianAt + otherRussian->second}});
    if (otherEnglish)
        result.readings.push_back(
            {model::OwnNames{*typedRussian, otherEnglish->first}, written,
             Doubt{ReadReason::Names, Description, englishAt + otherEnglish->second}});
    return result;
}

// The answer of task.out for the candidate task; a failure when the scoring is not one
// the family writes or names a variant the task does not have.
std::optional<Failure> readScoring(const FamilyTemplates& f, Task& task, std::string_view out) {
    switch (f.family->scoring) {
    case Scoring::OneVariant: {
        std::size_t best = 0;
        for (int answer = 0; answer < VariantCount; ++answer) {
            if (out == f.oneVariant[answer]) {
                task.answer = answer;
                if (!task.variants[answer])
                    return Failure{0, Scoring, out.find("ans1=") + 5,
                                   ReadReason::RemovedVariantNamed};
                return std::nullopt;
            }
            best = std::max(best, firstDifference(out, f.oneVariant[answer]));
        }
        return Failure{0, Scoring, best};
    }
    case Scoring::Typed: {
        Task marked;
        marked.kind = task.kind;
        marked.typedAnswer = "\x01";
        const Text text = scoringFrom(f, marked);
        const auto at = text.find('\x01');
        const auto head = std::string_view(text).substr(0, at);
        const auto tail = std::string_view(text).substr(at + 1);
        if (out.substr(0, head.size()) != head)
            return Failure{0, Scoring, firstDifference(out, head)};
        if (out.size() < head.size() + tail.size() || out.substr(out.size() - tail.size()) != tail)
            return Failure{0, Scoring, placeOfMissing(out, tail, head.size())};
        task.typedAnswer = Text(out.substr(head.size(), out.size() - head.size() - tail.size()));
        return std::nullopt;
    }
    case Scoring::Variants:
        break;
    }
    const auto& table = variantScoring()[static_cast<std::size_t>(removedCount(task))];
    if (const auto found = table.find(Text(out)); found != table.end()) {
        task.answers = found->second;
    } else {
        // The place: against the scoring of the variants whose answer lines (the 3rd,
        // 6th ...) end in "1".
        const Pieces lines = splitLines(out);
        Task scored;
        scored.kind = task.kind;
        scored.variants = task.variants;
        for (int i = 0; i < VariantCount; ++i) {
            const auto line = static_cast<std::size_t>(3 * i + 2);
            if (line < lines.size() && lines[line].ends_with('1'))
                scored.answers |= 1u << i;
        }
        return Failure{0, Scoring, firstDifference(out, scoringFrom(f, scored))};
    }
    unsigned removed = 0;
    for (int i = 0; i < VariantCount; ++i)
        if (!task.variants[i])
            removed |= 1u << i;
    if (task.answers & removed) {
        Task kept;
        kept.kind = task.kind;
        kept.variants = task.variants;
        kept.answers = task.answers & ~removed;
        return Failure{0, Scoring, firstDifference(out, scoringFrom(f, kept)),
                       ReadReason::RemovedVariantNamed};
    }
    return std::nullopt;
}

// Room for the pages rendered to prove a reading, kept on this thread for the next folder so
// that a large page is rendered without fresh memory for each (up to a size; more is given
// back once the folder is read).
thread_local Text renderRoom;
constexpr std::size_t KeptRoom = std::size_t{16} << 20;

// The page the writer renders for the task, in renderRoom.
std::string_view renderedPage(const FamilyTemplates& f, const Task& task) {
    renderPageInto(renderRoom, *f.family, f.parts, f.removals, task);
    return renderRoom;
}

// Whether the writer renders the page for the reading, whose condition stands in the page.
// A large condition is not copied: the writer renders the page with a stand-in, the
// condition's two ends around one byte no removal text holds, and the page must be that
// with the byte replaced by the condition's middle. This is the page itself when no removal
// text occurs in the condition: the writer deletes removal texts occurrence by occurrence,
// each deletion reaches at most its length minus one into the condition from either side,
// and the ends kept are longer than all of them together, so no deletion reaches the middle
// and the texts around it change alike in both renders.
bool writesPage(const FamilyTemplates& f, Reading& reading, std::string_view page) {
    constexpr char StandIn = '\x01';
    Task& task = reading.task;
    const Span at = reading.conditionAt.value_or(Span{});
    const auto condition = page.substr(at.begin, at.end - at.begin);
    std::vector<std::string_view> gone;
    std::size_t reach = 0, longest = 0;
    if (!f.family->around.empty())
        for (int i = 2; i < VariantCount; ++i)
            if (!task.variants[i])
                for (const auto name : f.family->removals[static_cast<std::size_t>(i - 2)]) {
                    const auto found = f.removals.find(name);
                    if (found == f.removals.end() || found->second.empty())
                        continue;
                    gone.emplace_back(found->second);
                    reach += found->second.size();
                    longest = std::max(longest, found->second.size());
                }
    const std::size_t keep = reach + longest + 1;
    bool standIn =
        reading.conditionAt && !f.family->around.empty() && condition.size() > 2 * keep + 64;
    for (const auto text : gone)
        standIn = standIn && text.find(StandIn) == std::string_view::npos;
    standIn = standIn && !holdsAny(condition, gone);
    const bool russian = isRussianCondition(reading.conditionAt ? condition : task.condition);
    if (!standIn) {
        if (reading.conditionAt)
            task.condition = Text(condition);
        renderPageInto(renderRoom, *f.family, f.parts, f.removals, task, russian);
        if (reading.conditionAt)
            task.condition.clear();
        return renderRoom == page;
    }
    Text ends;
    ends.reserve(2 * keep + 1);
    ends.append(condition.substr(0, keep))
        .append(1, StandIn)
        .append(condition.substr(condition.size() - keep));
    task.condition = std::move(ends);
    renderPageInto(renderRoom, *f.family, f.parts, f.removals, task, russian);
    task.condition.clear();
    const std::string_view rendered = renderRoom;
    const auto x = rendered.find(StandIn);
    if (x == std::string_view::npos || rendered.find(StandIn, x + 1) != std::string_view::npos) {
        // The stand-in is not alone (a variant holds that byte): rendered whole.
        reading.conditionAt.reset();
        task.condition = Text(condition);
        renderPageInto(renderRoom, *f.family, f.parts, f.removals, task, russian);
        return renderRoom == page;
    }
    const auto middle = condition.substr(keep, condition.size() - 2 * keep);
    const auto before = rendered.substr(0, x), after = rendered.substr(x + 1);
    if (page.size() != before.size() + middle.size() + after.size() ||
        page.substr(0, before.size()) != before || !page.ends_with(after))
        return false;
    // The middle is where it was cut from, or is compared there.
    return before.size() == at.begin + keep || page.substr(before.size(), middle.size()) == middle;
}

// The task a page layout gives with the texts of its holes, all but the condition (the
// first hole), which may be large and is copied once it is read.
Task taskOfShape(const PageShape& shape, const std::vector<Span>& holes, std::string_view page,
                 TaskKind kind, int number) {
    Task task;
    task.kind = kind;
    task.number = number;
    task.picture = shape.picture;
    for (int i = 0; i < VariantCount && model::isChoice(kind); ++i)
        if (shape.states[i] != VariantState::Removed)
            task.variants[i] = Text();
    for (std::size_t k = 0; k < holes.size(); ++k)
        if (shape.holes[k] != ConditionHole)
            task.variants[shape.holes[k]] =
                Text(page.substr(holes[k].begin, holes[k].end - holes[k].begin));
    return task;
}

// A layout of a cut checked against the four files: the task it gives and what the
// description says, or the first file that does not fit and how many do.
struct Checked {
    Task task;
    NamedResult named;
    std::optional<Failure> failure;
    bool unproved = false;
    std::optional<Span> conditionAt = std::nullopt; // the condition left in the page
};

// With `prove` a page that is not the templates and texts joined is rendered again at once;
// without, it is taken as cut and left to be proved once the readings are chosen.
Checked checkLayout(const TemplateSet& set, const FamilyTemplates& f, const Files& files,
                    const PatternTree::Match& match, const PageShape& shape, int number,
                    bool prove) {
    const auto& page = files[Page];
    Checked checked{taskOfShape(shape, match.holes, page, f.family->kind, number), {}, {}};
    Task& task = checked.task;
    int fitted = 0;
    auto note = [&](std::optional<Failure> failure) {
        if (!failure)
            ++fitted;
        else if (!checked.failure)
            checked.failure = failure;
    };
    // A page without removals or translation is the templates and the texts joined, which
    // the cut has proved; any other is rendered again.
    const auto condition = std::string_view(page).substr(match.holes[0].begin,
                                                         match.holes[0].end - match.holes[0].begin);
    const bool joined =
        f.family->around.empty()
            ? !shape.russianPrompt && !isRussianCondition(condition)
            : std::none_of(shape.states.begin(), shape.states.end(),
                           [](VariantState s) { return s == VariantState::Removed; });
    std::optional<Failure> pageFailure;
    // A typed answer's page is small but for its condition, which decides its language.
    const bool removals = !f.family->around.empty();
    bool conditionTaken = false;
    if (!joined && (prove || !removals)) {
        task.condition = Text(condition);
        conditionTaken = true;
        if (const auto rendered = renderedPage(f, task); rendered != page)
            pageFailure = Failure{0, Page, firstDifference(page, rendered)};
    }
    checked.unproved = !joined && removals && !prove;
    note(pageFailure);
    note(files[Config] == f.config
             ? std::nullopt
             : std::optional(Failure{0, Config, firstDifference(files[Config], f.config)}));
    note(readScoring(f, task, files[Scoring]));
    checked.named = readNames(set, f, task, files[Description]);
    note(checked.named.readings.empty()
             ? std::optional(Failure{0, Description, checked.named.failedAt})
             : std::nullopt);
    if (checked.failure)
        checked.failure->fitted = fitted;
    else if (!conditionTaken)
        checked.conditionAt = match.holes[0];
    return checked;
}

// The readings of a checked layout: one for each reading of the description, and for a
// Russian condition that holds the Russian prompt, which may have been typed in English
// and translated by the writer, as many more.
void addReadings(Attempt& attempt, const TemplateSet& set, const FamilyTemplates& f,
                 const Files& files, Checked&& checked, const PatternTree::Match& match,
                 const PageShape& shape) {
    const auto& named = checked.named.readings;
    auto add = [&](Task read, const std::optional<Doubt>& doubt) {
        for (std::size_t r = 0; r < named.size(); ++r) {
            const bool unproved = checked.unproved && r == 0;
            Reading reading{r + 1 < named.size() ? read : std::move(read),
                            named[r].written,
                            {},
                            shape.holes,
                            doubt ? doubt : named[r].doubt};
            reading.task.names = named[r].names;
            reading.unproved = unproved;
            reading.conditionAt = checked.conditionAt;
            reading.cuts[Page] = match.holes;
            reading.written.authorLineDiffers =
                authorDiffers(set, f, reading.task, reading.written, files[Description]);
            attempt.readings.push_back(std::move(reading));
        }
    };
    std::optional<Task> typedInEnglish;
    // Looked for only on a page that shows the Russian prompt: the condition may be large.
    const auto at = shape.russianPrompt ? checked.task.condition.find(RussianPrompt) : Text::npos;
    if (at != Text::npos) {
        typedInEnglish = checked.task;
        typedInEnglish->condition =
            replaceAll(checked.task.condition, RussianPrompt, EnglishPrompt);
        if (renderedPage(f, *typedInEnglish) != files[Page])
            typedInEnglish.reset();
    }
    add(std::move(checked.task), std::nullopt);
    if (typedInEnglish)
        add(std::move(*typedInEnglish), Doubt{ReadReason::Prompt, Page, match.holes[0].begin + at});
}

// Every reading of the files as a task of this family. A variant left empty whose block a
// removal took out leaves no trace, so a page can be read with more such variants and the
// separators inside a text: the layouts of every cut are tried, those that leave fewest
// empty variants without a trace first, and once one of them is read the others are not
// (which also spares rendering a large page for each). Of a cut's layouts the first that
// the other files accept is read, and any other as much preferred.
Attempt readFamily(const TemplateSet& set, const FamilyTemplates& f, const Files& files, int number,
                   bool diagnose, bool prove = false) {
    Attempt attempt;
    if (files[Config] != f.config && !diagnose) {
        attempt.fail({0, Config, firstDifference(files[Config], f.config)});
        return attempt;
    }
    const auto& page = files[Page];
    const auto matches = f.pages.match(page);
    if (matches.empty()) {
        std::size_t deepest = 0;
        if (diagnose)
            f.pages.match(page, &deepest);
        attempt.fail({files[Config] == f.config ? 1 : 0, Page, deepest});
        return attempt;
    }
    std::vector<std::pair<std::size_t, const PageShape*>> order;
    for (std::size_t m = 0; m < matches.size(); ++m)
        for (const auto& shape : f.shapes[matches[m].pattern])
            order.emplace_back(m, &shape);
    std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) {
        return a.second->erasedEmpty < b.second->erasedEmpty;
    });
    std::optional<int> level;
    std::vector<std::optional<std::pair<int, bool>>> chosen(matches.size());
    for (const auto& [m, shape] : order) {
        if (level && shape->erasedEmpty > *level)
            break;
        const auto key = std::pair(shape->emptyKept(), !shape->removedSuffix());
        if (chosen[m] && key > *chosen[m])
            continue;
        Checked checked = checkLayout(set, f, files, matches[m], *shape, number, prove);
        if (checked.failure) {
            attempt.fail(*checked.failure);
            continue;
        }
        chosen[m] = key;
        level = shape->erasedEmpty;
        addReadings(attempt, set, f, files, std::move(checked), matches[m], *shape);
    }
    // The pages taken as cut are rendered once now; should one differ, every layout is
    // read again as each is rendered (a page edited by hand, say).
    for (auto& reading : attempt.readings)
        if (reading.unproved) {
            if (!writesPage(f, reading, files[Page]))
                return readFamily(set, f, files, number, diagnose, true);
            reading.unproved = false;
        }
    return attempt;
}

// Whether the folder's configuration is the template's text and a line break.
bool configIs(std::string_view config, std::string_view text) {
    return config.size() == text.size() + CRLF.size() && config.starts_with(text) &&
           config.ends_with(CRLF);
}

// Every reading as a task of one kind's family. A family whose configuration differs from
// the folder's, or whose pages end otherwise, is not loaded unless the failure is to be told.
Attempt readKind(const TemplateSet& set, const Files& files, int number, TaskKind kind,
                 bool diagnose) {
    Attempt attempt;
    if (!diagnose) {
        const Family& family = familyOf(kind);
        const Text* config = nullptr;
        try {
            config =
                &set.text(familyGroupFilesOf(kind)[static_cast<std::size_t>(family.parts + 1)]);
        } catch (const Error&) {
            return attempt; // a family whose configuration cannot be read wrote nothing here
        }
        // The failures of this pass are not told: a folder that reads no way is read
        // again to find where it differs most.
        if (!configIs(files[Config], *config)) {
            attempt.fail({0, Config, 0});
            return attempt;
        }
        if (!set.pageEnd(kind).mayEnd(files[Page])) {
            attempt.fail({1, Page, 0});
            return attempt;
        }
    }
    attempt.take(readFamily(set, set.family(kind), files, number, diagnose));
    return attempt;
}

// Every reading as a task of the form.
Attempt readForm(const TemplateSet& set, const Files& files, int number, bool diagnose) {
    Attempt attempt;
    for (const auto kind : FormKinds)
        attempt.take(readKind(set, files, number, kind, diagnose));
    return attempt;
}

// The first placeholder the Edits writer fills (*vs1*, *ans2* ...) in text, or none.
std::optional<std::size_t> placeholderIn(std::string_view text, std::string_view name) {
    for (auto at = text.find(name); at != std::string_view::npos; at = text.find(name, at + 1)) {
        auto end = at + name.size();
        const auto digits = end;
        while (end < text.size() && text[end] >= '0' && text[end] <= '9')
            ++end;
        if (end > digits && end < text.size() && text[end] == '*' && at > 0 && text[at - 1] == '*')
            return at - 1;
    }
    return std::nullopt;
}

// The title and author stretch of an Edits description with this many sub-questions.
NamedResult readEditsNames(const TemplateSet& set, int count, std::string_view xml) {
    NamedResult result;
    // Only the first header and the tail frame an Edits description: the other description
    // files are not read.
    const Text& head = set.text("Authorisation/Author_1.txt");
    const Text& tail = set.text("Authorisation/Author_end.txt");
    const Text& zamena = set.edits().edits.zamena;
    // The frame made from these texts serves again while they read the same.
    struct Frame {
        Text head, tail, zamena;
        Marked marked;
    };
    thread_local std::array<std::optional<Frame>, 3> frames;
    auto& frame = frames[static_cast<std::size_t>(std::clamp(count, 2, 4) - 2)];
    if (!frame || frame->head != head || frame->tail != tail || frame->zamena != zamena) {
        const Text header = head + "\x01" + tail + Text(CRLF);
        Text text = replaceAll(header, zamena, replaceAll(zamena, "1", std::to_string(count)));
        text = replaceAll(text, "TaskA1", "\x02") + Text(CRLF);
        frame = Frame{head, tail, zamena, cutAtMarkerBytes(text)};
    }
    const Marked& marked = frame->marked;
    const auto holes = cutLeftmost(marked.pattern, xml);
    if (!holes) {
        PatternTree tree;
        tree.add(marked.pattern);
        tree.match(xml, &result.failedAt);
        return result;
    }
    std::size_t authorAt = 0, titleAt = 0;
    const auto author = labelled(xml, marked, *holes, '\x01', authorAt);
    const auto title = labelled(xml, marked, *holes, '\x02', titleAt);
    if (!author || !title) {
        result.failedAt = holes->back().begin;
        return result;
    }
    if (const auto bad = badAuthorByte(*author)) {
        result.failedAt = authorAt + *bad;
        return result;
    }
    std::optional<std::pair<Text, std::size_t>> other;
    const auto typed = typedName(*title, other);
    if (!typed) {
        result.failedAt = titleAt;
        return result;
    }
    const WrittenWith written{Text(*author), false, std::nullopt, false};
    result.readings.push_back({model::OwnNames{*typed, {}}, written, {}});
    if (other)
        result.readings.push_back({model::OwnNames{other->first, {}}, written,
                                   Doubt{ReadReason::Names, Description, titleAt + other->second}});
    return result;
}

// The main condition and sub-questions of an Edits page cut; none when a placeholder
// used twice holds two texts.
std::optional<Task> editsTaskOfCut(const EditsLayout& layout, const std::vector<Span>& holes,
                                   std::string_view page) {
    std::array<std::optional<std::string_view>, 5> texts{};
    if (layout.count < 2 || layout.count > 4)
        return std::nullopt;
    for (std::size_t k = 0; k < holes.size(); ++k) {
        const auto piece = page.substr(holes[k].begin, holes[k].end - holes[k].begin);
        auto& text = texts[layout.holes[k]];
        if (text && *text != piece)
            return std::nullopt;
        text = piece;
    }
    Task task;
    task.kind = TaskKind::Edits;
    task.condition = Text(texts[0].value_or(""));
    task.subQuestions.reserve(static_cast<std::size_t>(layout.count));
    for (int i = 1; i <= layout.count; ++i)
        task.subQuestions.push_back({Text(texts[i].value_or("")), {}});
    return task;
}

// A placeholder the writer fills, left in a typed text: it may have filled others like it
// that were typed.
std::optional<Doubt> placeholderDoubt(std::string_view text, const std::vector<Span>& holes,
                                      std::string_view name, int file) {
    for (const auto& hole : holes)
        if (const auto at = placeholderIn(text.substr(hole.begin, hole.end - hole.begin), name))
            return Doubt{ReadReason::Placeholder, file, hole.begin + *at};
    return std::nullopt;
}

// Every reading of the files as an Edits task: each cut of the page with each cut of the
// scoring for as many sub-questions.
Attempt readEdits(const TemplateSet& set, const Files& files, const fs::path& folder,
                  bool diagnose) {
    Attempt attempt;
    // The configuration alone sorts out the files of another sort, without the rest of the
    // templates; a configuration that cannot be read cannot have been written either.
    const Text* cfg = nullptr;
    try {
        cfg = &set.text("file_for_edits/task.cfg");
    } catch (const Error&) {
        if (diagnose)
            throw;
        return attempt;
    }
    // TASK.CFG is the template and a line break.
    const std::string_view written = files[Config];
    const bool configFits = written.size() == cfg->size() + CRLF.size() &&
                            written.starts_with(*cfg) && written.ends_with(CRLF);
    // Where the configuration differs is looked for only when it does.
    const auto configFailure = [&] {
        return Failure{0, Config, firstDifference(written, *cfg + Text(CRLF))};
    };
    if (!configFits && !diagnose) {
        attempt.fail(configFailure());
        return attempt;
    }
    if (!diagnose && !set.pageEnd(std::nullopt).mayEnd(files[Page])) {
        attempt.fail({1, Page, 0});
        return attempt;
    }
    const EditsData& data = set.edits();
    const auto& page = files[Page];
    const auto& out = files[Scoring];
    std::vector<PatternTree::Match> pages, scorings;
    if (diagnose) {
        pages = data.editsPages.match(page);
    } else {
        // Only a page of as many sub-questions as a cut of task.out holds gives a reading:
        // task.out (the smaller file) is cut first, and the other pages are not walked.
        scorings =
            data.editsScoring.match(out, std::vector<bool>(data.editsScoringLayouts.size(), true));
        std::vector<bool> only(data.editsPageLayouts.size(), false);
        for (const auto& scoringCut : scorings)
            for (std::size_t p = 0; p < only.size(); ++p)
                only[p] = only[p] || data.editsPageLayouts[p].count ==
                                         data.editsScoringLayouts[scoringCut.pattern].count;
        if (!scorings.empty())
            pages = data.editsPages.match(page, only);
    }
    if (pages.empty()) {
        std::size_t deepest = 0;
        if (diagnose)
            data.editsPages.match(page, &deepest);
        attempt.fail({configFits ? 1 : 0, Page, deepest});
        return attempt;
    }
    if (diagnose)
        scorings = data.editsScoring.match(out);
    // A folder name that is not UTF-8 (made by another program in a legacy code page) is
    // kept as its bytes, which the program's code page reads best.
    const std::string folderName = folder.generic_string();
    const auto folderText =
        utf8ToCp1251(folderName, Unencodable::CharacterReference).value_or(folderName);
    for (const auto& pageCut : pages) {
        const auto& layout = data.editsPageLayouts[pageCut.pattern];
        // The cuts of the scoring that fit this page: the last one takes the task over, the
        // others copy it (its condition may be large).
        std::vector<const PatternTree::Match*> fitting;
        for (const auto& scoringCut : scorings)
            if (data.editsScoringLayouts[scoringCut.pattern].count == layout.count)
                fitting.push_back(&scoringCut);
        auto task = fitting.empty() ? std::nullopt : editsTaskOfCut(layout, pageCut.holes, page);
        for (std::size_t c = 0; c < fitting.size(); ++c) {
            const auto& scoringCut = *fitting[c];
            const auto& answers = data.editsScoringLayouts[scoringCut.pattern];
            Task read = !task ? Task{} : c + 1 < fitting.size() ? *task : std::move(*task);
            read.folder = folderText;
            read.subQuestions.resize(static_cast<std::size_t>(layout.count));
            for (std::size_t k = 0; k < scoringCut.holes.size(); ++k)
                read.subQuestions[answers.holes[k]].answer =
                    Text(out.substr(scoringCut.holes[k].begin,
                                    scoringCut.holes[k].end - scoringCut.holes[k].begin));
            // The writer's own pieces, compared in place; each file once.
            const bool pageFits = task.has_value() && editsPageIs(read, data.edits, page);
            const bool scoringFits = editsScoringIs(read, data.edits, out);
            const NamedResult named = readEditsNames(set, layout.count, files[Description]);
            const bool fits[] = {pageFits, configFits, scoringFits, !named.readings.empty()};
            const int fitted = static_cast<int>(std::count(std::begin(fits), std::end(fits), true));
            if (fitted < FileCount) {
                // Where one differs is looked for only now.
                const Package package = renderEdits(read, data.edits, folder);
                Failure failure = !pageFits ? Failure{0, Page, firstDifference(page, package.page)}
                                  : !fits[Config] ? configFailure()
                                  : !scoringFits
                                      ? Failure{0, Scoring, firstDifference(out, package.scoring)}
                                      : Failure{0, Description, named.failedAt};
                failure.fitted = fitted;
                attempt.fail(failure);
                continue;
            }
            auto placeholder = placeholderDoubt(page, pageCut.holes, "vs", Page);
            if (!placeholder)
                placeholder = placeholderDoubt(out, scoringCut.holes, "ans", Scoring);
            for (std::size_t r = 0; r < named.readings.size(); ++r) {
                const auto& n = named.readings[r];
                Reading reading{r + 1 < named.readings.size() ? read : std::move(read),
                                n.written,
                                {},
                                {},
                                n.doubt ? n.doubt : placeholder};
                reading.task.title = n.names->russian;
                reading.cuts[Page] = pageCut.holes;
                reading.cuts[Scoring] = scoringCut.holes;
                reading.written.authorLineDiffers = !editsDescriptionIs(
                    reading.task.title, layout.count, data.edits, files[Description]);
                attempt.readings.push_back(std::move(reading));
            }
        }
        if (fitting.empty()) {
            std::size_t deepest = 0;
            if (diagnose)
                data.editsScoring.match(out, &deepest);
            attempt.fail({1 + (configFits ? 1 : 0), Scoring, deepest});
        }
    }
    return attempt;
}

// A task with a picture reads the same as one without whose condition begins with the
// picture line: the picture is read.
bool pictureExplains(const Task& withPicture, const Task& without) {
    if (!withPicture.picture || without.picture)
        return false;
    Task same = without;
    same.picture = true;
    same.condition = withPicture.condition;
    return same == withPicture;
}

std::size_t firstCutDifference(const std::vector<Span>& a, const std::vector<Span>& b) {
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        if (a[i].begin != b[i].begin)
            return std::min(a[i].begin, b[i].begin);
        if (a[i].end != b[i].end)
            return std::min(a[i].end, b[i].end);
    }
    return a.size() < b.size() ? (a.empty() ? 0 : a.back().end) : (b.empty() ? 0 : b.back().end);
}

FilePlace placeIn(std::string_view bytes, int file, std::size_t offset) {
    FilePlace place{std::string(FileNames[file]), offset, 1, 1};
    const auto end = std::min(offset, bytes.size());
    const auto lastBreak = bytes.rfind('\n', end == 0 ? 0 : end - 1);
    place.line = 1 + static_cast<std::size_t>(std::count(bytes.begin(), bytes.begin() + end, '\n'));
    place.column = end - (lastBreak == std::string::npos || end == 0 ? 0 : lastBreak + 1) + 1;
    return place;
}

// The variant task.out names as right at the offset: "ans1=4" of a single choice gives its
// index (E); in a multiple choice each variant has three lines, the answer line the third
// (line 15 is E's, emptied when E is removed).
std::optional<char> variantNamedAt(std::string_view out, std::size_t offset) {
    const auto at = std::min(offset, out.size());
    const auto begin = at == 0 ? std::string::npos : out.rfind('\n', at - 1);
    const auto from = begin == std::string::npos ? 0 : begin + 1;
    const auto line = std::string_view(out).substr(from, out.find('\r', from) - from);
    if (line.size() == 6 && line.starts_with("ans1=") && line[5] >= '0' && line[5] <= '4')
        return char('A' + (line[5] - '0'));
    const auto number = 1 + std::count(out.begin(), out.begin() + static_cast<long>(from), '\n');
    if (number % 3 == 0 && number >= 3 && number <= 15)
        return char('A' + number / 3 - 1);
    return std::nullopt;
}

// Why two readings differ, and where.
Doubt difference(const Reading& a, const Reading& b) {
    if ((a.task.kind == TaskKind::Edits) != (b.task.kind == TaskKind::Edits) ||
        model::isChoice(a.task.kind) != model::isChoice(b.task.kind))
        return {ReadReason::Kind, Page, firstCutDifference(a.cuts[Page], b.cuts[Page])};
    for (const int file : {Page, Scoring})
        if (a.cuts[file] != b.cuts[file])
            return {ReadReason::TemplateText, file, firstCutDifference(a.cuts[file], b.cuts[file])};
    if (b.doubt)
        return *b.doubt;
    if (a.doubt)
        return *a.doubt;
    if (a.task.kind != b.task.kind)
        return {ReadReason::Kind, Page, 0};
    for (std::size_t k = 0; k < a.labels.size() && k < b.labels.size(); ++k)
        if (a.labels[k] != b.labels[k])
            return {ReadReason::EmptyOrRemoved, Page, a.cuts[Page][k].begin};
    return {ReadReason::EmptyOrRemoved, Page, 0};
}

// The condition of a reading: in the page, or copied out.
std::string_view conditionOf(const Reading& reading, const Files& files) {
    if (!reading.conditionAt)
        return reading.task.condition;
    const Span at = *reading.conditionAt;
    return files[Page].substr(at.begin, at.end - at.begin);
}

// Whether two readings give the same task, their conditions compared where they stand.
bool sameTask(const Reading& a, const Reading& b, const Files& files) {
    const auto one = conditionOf(a, files), other = conditionOf(b, files);
    if (one.size() != other.size() || (one.data() != other.data() && one != other))
        return false;
    if (a.task.condition.size() == b.task.condition.size())
        return a.task == b.task;
    Task x = a.task, y = b.task;
    x.condition.clear();
    y.condition.clear();
    return x == y;
}

// The task of a reading with its condition copied out of the page.
Task wholeTask(Reading&& reading, const Files& files) {
    if (reading.conditionAt)
        reading.task.condition = Text(conditionOf(reading, files));
    return std::move(reading.task);
}

// With `inPlace`, the condition of a task read is left in the files and viewed there.
ReadResult resolve(std::vector<Reading> readings, const Files& files, const fs::path& folder,
                   bool reviewSaved, std::string_view* inPlace) {
    readings.erase(std::remove_if(readings.begin(), readings.end(),
                                  [&](const Reading& r) {
                                      return std::any_of(readings.begin(), readings.end(),
                                                         [&](const Reading& q) {
                                                             return pictureExplains(q.task, r.task);
                                                         });
                                  }),
                   readings.end());
    std::vector<Reading> distinct;
    for (auto& reading : readings)
        if (std::none_of(distinct.begin(), distinct.end(),
                         [&](const Reading& d) { return sameTask(d, reading, files); }))
            distinct.push_back(std::move(reading));
    ReadResult result;
    result.folder = folder;
    std::optional<Doubt> doubt = distinct.size() > 1
                                     ? std::optional(difference(distinct[0], distinct[1]))
                                     : distinct[0].doubt;
    if (!doubt) {
        result.status = ReadStatus::Read;
        result.written = std::move(distinct[0].written);
        result.written.reviewSaved = reviewSaved;
        if (inPlace && distinct[0].conditionAt) {
            *inPlace = conditionOf(distinct[0], files);
            result.task = std::move(distinct[0].task);
        } else {
            result.task = wholeTask(std::move(distinct[0]), files);
        }
        return result;
    }
    result.status = ReadStatus::Ambiguous;
    result.reason = doubt->reason;
    result.place = placeIn(files[doubt->file], doubt->file, doubt->offset);
    for (auto& reading : distinct)
        result.readings.push_back(wholeTask(std::move(reading), files));
    return result;
}

// Task files saved unchanged by the code review: task.asp, task.out and task.xml each
// with one more CR LF at the end.
std::optional<Files> beforeReview(const Files& files) {
    Files before = files;
    for (const int file : {Page, Scoring, Description}) {
        auto& bytes = before[file];
        if (!bytes.ends_with(CRLF))
            return std::nullopt;
        bytes.remove_suffix(CRLF.size());
    }
    return before;
}

// A descriptor closed with its owner.
struct Descriptor {
    int fd;
    explicit Descriptor(int fd) : fd(fd) {}
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
};

// The exact bytes of a regular file in the folder, or none. Opened without blocking, as a
// FIFO would wait for a writer; a file that grows meanwhile is read on.
// The bytes of the four files as read last on this thread: kept for the next folder, so that
// reading a tree fills no fresh memory for each (up to a size; more is given back).
struct Buffers {
    std::array<std::string, FileCount> bytes;
    static constexpr std::size_t Kept = std::size_t{16} << 20;

    void trim() {
        for (auto& b : bytes)
            if (b.capacity() > Kept)
                std::string().swap(b);
        if (renderRoom.capacity() > KeptRoom)
            Text().swap(renderRoom);
    }
};

// The exact bytes of a regular file in the folder, or none; `buffer` holds them from its
// start. Opened without blocking, as a FIFO would wait for a writer; a file that grows
// meanwhile is read on.
std::optional<std::string_view> readIn(int folder, const char* name, std::string& buffer,
                                       FileStamp& stamp) {
    const Descriptor file(::openat(folder, name, O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (file.fd < 0 || ::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    stamp = {true,
             static_cast<std::uint64_t>(info.st_dev),
             static_cast<std::uint64_t>(info.st_ino),
             static_cast<std::uint64_t>(info.st_size),
             info.st_mtim.tv_sec * 1'000'000'000LL + info.st_mtim.tv_nsec,
             info.st_ctim.tv_sec * 1'000'000'000LL + info.st_ctim.tv_nsec};
    const std::size_t room = static_cast<std::size_t>(std::max<off_t>(info.st_size, 0)) + 1;
    if (buffer.size() < room)
        buffer.resize(std::max(room, buffer.capacity()));
    std::size_t filled = 0;
    for (;;) {
        if (filled == buffer.size())
            buffer.resize(buffer.size() * 2);
        const std::size_t asked = buffer.size() - filled;
        const auto n = ::read(file.fd, buffer.data() + filled, asked);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        filled += static_cast<std::size_t>(n);
        // A regular file reads short only at its end: no second call to learn it (files of
        // size 0, as the kernel's own, may come in pieces and are read to the end).
        if (static_cast<std::size_t>(n) < asked && info.st_size > 0)
            break;
    }
    return std::string_view(buffer.data(), filled);
}

thread_local Buffers buffers;

// The read of the folder's files; with `inPlace`, the condition of a task read is left in the
// buffers and viewed there.
template <typename Reader>
ReadResult readFiles(const model::Olympiad& olympiad, const fs::path& folder, Reader reader,
                     std::string_view* inPlace) {
    ReadResult result;
    result.folder = folder;
    Files files;
    // The four files by their names in the folder opened once.
    const Descriptor where(
        ::open((olympiad.outputDir / folder).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    for (int file = 0; file < FileCount; ++file) {
        const auto bytes = where.fd < 0 ? std::nullopt
                                        : readIn(where.fd, FileNames[file].data(),
                                                 buffers.bytes[file], result.stamps[file]);
        if (bytes) {
            files[file] = *bytes;
        } else {
            result.stamps = {};
            result.status = ReadStatus::Missing;
            result.reason = ReadReason::MissingFile;
            result.place.file = std::string(FileNames[file]);
            return result;
        }
    }
    const auto resolved = [&](std::vector<Reading> readings, bool reviewSaved) {
        ReadResult done = resolve(std::move(readings), files, folder, reviewSaved, inPlace);
        done.stamps = result.stamps;
        return done;
    };
    Attempt attempt = reader(files, false);
    if (!attempt.readings.empty())
        return resolved(std::move(attempt.readings), false);
    const auto before = beforeReview(files);
    if (before) {
        Attempt reviewed = reader(*before, false);
        if (!reviewed.readings.empty())
            return resolved(std::move(reviewed.readings), true);
    }
    // Nothing fits: the failure that fitted most, of the files as they are or as the review
    // saved them.
    Failure failure = reader(files, true).failure;
    if (before) {
        const Failure reviewed = reader(*before, true).failure;
        if (reviewed.beats(failure))
            failure = reviewed;
    }
    result.status = ReadStatus::Mismatch;
    result.reason = failure.reason;
    result.place = placeIn(files[failure.file], failure.file, failure.offset);
    if (failure.reason == ReadReason::RemovedVariantNamed)
        result.namedVariant = variantNamedAt(files[failure.file], failure.offset);
    return result;
}

// The read of the folder; with `use`, handed to it while the files are at hand, the
// condition of a task read viewed in place (an Edits reading's, copied out, is moved there).
template <typename Reader>
ReadResult readFolder(const model::Olympiad& olympiad, const fs::path& folder, Reader reader,
                      const ReadInPlace* use = nullptr) {
    struct Trim {
        ~Trim() { buffers.trim(); }
    } trim;
    std::string_view condition;
    ReadResult result = readFiles(olympiad, folder, reader, use ? &condition : nullptr);
    if (use) {
        Text moved;
        if (result.task && !result.task->condition.empty()) {
            moved = std::move(result.task->condition);
            result.task->condition.clear();
            condition = moved;
        }
        (*use)(result, condition);
    }
    return result;
}

// The number a folder's own name gives, 1 to 99: a task of the form may be there.
std::optional<int> ownNumber(const fs::path& folder) {
    const auto name = folder.filename().string();
    const bool numeric =
        !name.empty() && name.size() <= 2 && name.front() != '0' &&
        std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
    return numeric ? std::optional(std::stoi(name)) : std::nullopt;
}

void requireNumber(int number) {
    if (number < 1 || number > 99)
        throw std::logic_error("a task of the form has a number from 1 to 99");
}

} // namespace

ReadResult readTask(const TemplateSet& templates, const model::Olympiad& olympiad,
                    const fs::path& folder, int number) {
    requireNumber(number);
    return readFolder(olympiad, folder, [&](const Files& files, bool diagnose) {
        return readForm(templates, files, number, diagnose);
    });
}

ReadResult readEditsTask(const TemplateSet& templates, const model::Olympiad& olympiad,
                         const fs::path& folder) {
    return readFolder(olympiad, folder, [&](const Files& files, bool diagnose) {
        return readEdits(templates, files, folder, diagnose);
    });
}

ReadResult readAnyTask(const TemplateSet& templates, const model::Olympiad& olympiad,
                       const fs::path& folder, std::optional<int> number) {
    if (!number)
        number = ownNumber(folder);
    else
        requireNumber(*number);
    return readFolder(olympiad, folder, [&](const Files& files, bool diagnose) {
        Attempt attempt = readEdits(templates, files, folder, diagnose);
        if (number)
            attempt.take(readForm(templates, files, *number, diagnose));
        return attempt;
    });
}

void readAnyTaskInPlace(const TemplateSet& templates, const model::Olympiad& olympiad,
                        const fs::path& folder, std::optional<int> number, const ReadInPlace& use) {
    if (!number)
        number = ownNumber(folder);
    else
        requireNumber(*number);
    readFolder(
        olympiad, folder,
        [&](const Files& files, bool diagnose) {
            Attempt attempt = readEdits(templates, files, folder, diagnose);
            if (number)
                attempt.take(readForm(templates, files, *number, diagnose));
            return attempt;
        },
        &use);
}

ReadResult readTaskAs(const TemplateSet& templates, const model::Olympiad& olympiad,
                      const fs::path& folder, std::optional<int> number, TaskKind kind) {
    if (number)
        requireNumber(*number);
    return readFolder(olympiad, folder, [&](const Files& files, bool diagnose) {
        // Where is not told: the caller reads a folder that does not read so in full.
        if (diagnose)
            return Attempt{};
        if (kind == TaskKind::Edits)
            return readEdits(templates, files, folder, false);
        return number ? readKind(templates, files, *number, kind, false) : Attempt{};
    });
}

ReadResult readTask(const fs::path& systemDir, const model::Olympiad& olympiad, int number) {
    const auto place = olympiad.place(number);
    if (!place)
        throw std::logic_error("the task lies in no part of the olympiad");
    return readTask(TemplateSet::load(systemDir), olympiad, place->folder, number);
}

std::string ReadResult::report(Lang lang) const {
    const std::string where = folder.generic_string();
    if (status == ReadStatus::Read)
        return written.authorLineDiffers ? msg::readback::authorDiffers.utf8(
                                               lang, {where, cp1251ToUtf8(written.authorLine)})
                                         : std::string();
    if (status == ReadStatus::Missing)
        return msg::readback::missingFile.utf8(lang, {where, place.file});
    // The line and column a teacher finds in an editor; never the byte offset.
    const std::string line = std::to_string(place.line);
    const std::string column = std::to_string(place.column);
    if (reason == ReadReason::RemovedVariantNamed && namedVariant)
        return msg::readback::removedVariantNamed.utf8(
            lang, {where, place.file, line, column, std::string(1, *namedVariant)});
    const Message<4>* message = &msg::readback::differs;
    switch (reason) {
    case ReadReason::RemovedVariantNamed:
        message = &msg::readback::removedVariantUnnamed;
        break;
    case ReadReason::TemplateText:
        message = &msg::readback::templateText;
        break;
    case ReadReason::EmptyOrRemoved:
        message = &msg::readback::emptyOrRemoved;
        break;
    case ReadReason::Prompt:
        message = &msg::readback::prompt;
        break;
    case ReadReason::Placeholder:
        message = &msg::readback::placeholder;
        break;
    case ReadReason::Names:
        message = &msg::readback::names;
        break;
    case ReadReason::Kind:
        message = &msg::readback::kind;
        break;
    default:
        break;
    }
    return message->utf8(lang, {where, place.file, line, column});
}

namespace {

// A name with &quot;, &lt; and &amp; typed as their characters, when it writes the same.
Text typedAsCharacters(const Text& name) {
    static constexpr std::pair<std::string_view, char> references[] = {
        {"&quot;", '"'}, {"&lt;", '<'}, {"&amp;", '&'}};
    Text plain;
    for (std::size_t i = 0; i < name.size();) {
        const auto found =
            std::find_if(std::begin(references), std::end(references), [&](const auto& r) {
                return std::string_view(name).substr(i).starts_with(r.first);
            });
        if (found != std::end(references)) {
            plain += found->second;
            i += found->first.size();
        } else {
            plain += name[i++];
        }
    }
    return escapeXmlAttribute(plain) == escapeXmlAttribute(name) ? plain : name;
}

} // namespace

std::optional<model::Task> taskToReopen(const ReadResult& read) {
    if (read.status == ReadStatus::Read)
        return read.task;
    if (read.status != ReadStatus::Ambiguous || read.reason != ReadReason::Names ||
        read.readings.empty())
        return std::nullopt;
    // The readings must differ in the names only, whose bytes are the same for each.
    auto withoutNames = [](model::Task task) {
        task.names = task.names ? std::optional(model::OwnNames{}) : std::nullopt;
        task.title.clear();
        return task;
    };
    for (const auto& reading : read.readings)
        if (withoutNames(reading) != withoutNames(read.readings.front()))
            return std::nullopt;
    model::Task task = read.readings.front();
    if (task.names) {
        task.names->russian = typedAsCharacters(task.names->russian);
        task.names->english = typedAsCharacters(task.names->english);
    }
    task.title = typedAsCharacters(task.title);
    return task;
}

} // namespace kavo::render
