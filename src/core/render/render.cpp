// SPDX-License-Identifier: MIT
#include "core/render/render.hpp"

#include "core/common/error.hpp"
#include "core/common/messages.hpp"
#include "core/common/xml.hpp"
#include "core/render/families.hpp"
#include "core/render/read_back.hpp"
#include "core/render/text_pattern.hpp"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace fs = std::filesystem;

namespace kavo::render {

using model::Task;
using model::TaskKind;

namespace {

// The hidden cost fields of the form: a multiple-choice task is worth five points.
constexpr std::string_view OneCost = "cost=\"1\"";
constexpr std::string_view FiveCost = "cost=\"5\"";

} // namespace

std::vector<FolderFile> Package::files() const& {
    return Package(*this).files();
}

std::vector<FolderFile> Package::files() && {
    std::vector<FolderFile> files;
    files.reserve(5);
    files.push_back({"task.asp", std::move(page)});
    files.push_back({"TASK.CFG", std::move(config)});
    files.push_back({"task.out", std::move(scoring)});
    files.push_back({"task.xml", std::move(description)});
    if (picture)
        files.push_back({std::string(PictureFile), std::move(*picture)});
    return files;
}

bool isJpeg(std::string_view bytes) {
    return bytes.starts_with("\xFF\xD8\xFF");
}

bool pictureMissing(const fs::path& taskFolder) {
    std::error_code ec;
    const fs::path picture = taskFolder / PictureFile;
    return !fs::is_regular_file(picture, ec) || fs::file_size(picture, ec) == 0 || ec;
}

namespace {

// Deletes every occurrence of `what` in place, leftmost first, the search going on after
// each: eraseEvery's result, found by the quick search of the read-back patterns (removal
// texts are short, a page may be large). Nothing moves before the first occurrence.
void eraseOccurrences(Text& text, std::string_view what) {
    if (what.empty())
        return;
    char* const s = text.data();
    std::size_t write = 0, read = 0;
    for (auto at = findText(text, what, read); at != std::string_view::npos;
         at = findText(text, what, read)) {
        if (write != read)
            std::memmove(s + write, s + read, at - read);
        write += at - read;
        read = at + what.size();
    }
    if (write == read)
        return;
    std::memmove(s + write, s + read, text.size() - read);
    text.resize(write + text.size() - read);
}

} // namespace

Text renderPage(const Family& family, const std::vector<Text>& t, const RemovalTexts& removals,
                const Task& task, std::optional<bool> russian) {
    Text text;
    renderPageInto(text, family, t, removals, task, russian);
    return text;
}

void renderPageInto(Text& text, const Family& family, const std::vector<Text>& t,
                    const RemovalTexts& removals, const Task& task, std::optional<bool> russian) {
    // The condition is looked at only when the language is not given: it may be large.
    const bool isRussian = russian ? *russian : isRussianCondition(task.condition);
    // The templates say lang="ru"; only the template's own attribute changes, never typed text.
    const Text& opening = task.picture ? t[0] : t[1];
    const Text language = isRussian ? Text() : replaceAll(opening, "lang=\"ru\"", "lang=\"en\"");
    std::vector<std::string_view> pieces{isRussian ? opening : language, task.condition};
    std::vector<std::string_view> gone; // the removal texts, in the order they apply
    if (family.around.empty()) {
        pieces.push_back(t[2]);
        // Ten empty pieces follow the typed-answer page.
        pieces.resize(pieces.size() + 10);
    } else {
        for (int i = 0; i < model::VariantCount; ++i) {
            pieces.push_back(t[family.around[i]]);
            pieces.push_back(task.variants[i] ? std::string_view(*task.variants[i])
                                              : std::string_view());
        }
        pieces.push_back(t[family.around[model::VariantCount]]);
        for (int i = 2; i < model::VariantCount; ++i)
            if (!task.variants[i])
                for (const auto name : family.removals[i - 2])
                    gone.emplace_back(removals.find(name)->second);
    }
    // The pieces joined once, each followed by a line break, with room for the break each
    // block removal leaves after the page (as removeBlock does): the page is never copied
    // again, and each removal deletes its text in place.
    std::size_t size = CRLF.size() * (pieces.size() + gone.size());
    for (const auto piece : pieces)
        size += piece.size();
    text.clear();
    text.reserve(size);
    for (const auto piece : pieces)
        text.append(piece).append(CRLF);
    for (const auto block : gone) {
        eraseOccurrences(text, block);
        text.append(CRLF);
    }
    if (task.kind == TaskKind::TypedAnswer && isRussian)
        text = replaceAll(text, EnglishPrompt, RussianPrompt);
}

int removedCount(const Task& task) {
    return static_cast<int>(std::count_if(task.variants.begin() + 2, task.variants.end(),
                                          [](const auto& v) { return !v; }));
}

Text scoringOf(const Family& family, const Task& task) {
    switch (family.scoring) {
    case Scoring::OneVariant:
        return joinPieces(
            {"countby=test", "[1]", "ans1=" + std::to_string(task.answer), "score[1]=1"});
    case Scoring::Typed:
        return joinPieces(
            {"countby=test", "[1]", "ans1=" + task.typedAnswer, "score[1]=1", "total=score[1]"});
    case Scoring::Variants:
        break;
    }
    return joinPieces(multipleChoiceScoring(task.answers, removedCount(task)));
}

std::optional<Text> descriptionOf(const Family& family, const Task& task, Text header,
                                  std::optional<char> partLetter, bool withoutPart,
                                  std::string_view costFind, std::string_view costPut) {
    const bool twoDigits = task.number >= 10;
    if (family.costByRemovals)
        header = replaceAll(header, OneCost, FiveCost);
    Text text;
    if (!task.names) {
        // The part letter and the digits of the number go over the header's identifier
        // "TaskA1": characters 17, 18 and 32, 33, or with a second digit 17 to 19 and 33 to 35,
        // counted from 1 as the headers are laid out.
        if (header.size() < (twoDigits ? 35u : 33u))
            return std::nullopt;
        text = std::move(header);
        auto put = [&text](std::size_t position, char c) { text[position - 1] = c; };
        const std::size_t first = 17, second = twoDigits ? 33 : 32;
        if (partLetter) {
            put(first, *partLetter);
            put(second, *partLetter);
        }
        const std::string digits = std::to_string(task.number);
        for (std::size_t i = 0; i < digits.size() && i < 2; ++i) {
            put(first + 1 + i, digits[i]);
            put(second + 1 + i, digits[i]);
        }
    } else {
        // Own names stand in an attribute: escaped, so that a quote cannot end it early.
        const Text russian = escapeXmlAttribute(task.names->russian);
        const Text english = escapeXmlAttribute(task.names->english);
        text = replaceAll(header, twoDigits ? "TaskA1 " : "TaskA1", russian);
        text = replaceAll(text, "ename=\"" + russian, "ename=\"" + english);
    }
    text += CRLF;
    if (family.costByRemovals && removedCount(task) > 0)
        text = joinPieces(splitLines(replaceAll(text, costFind, costPut)));
    // Without part folders the default identifiers lose their part letter, TaskA3 becoming
    // Task3; the rewritten text is written as one more piece.
    if (withoutPart && !task.names)
        text = replaceAll(normaliseBreaks(text), "TaskA", "Task") + Text(CRLF);
    return text;
}

Pieces multipleChoiceScoring(unsigned rightVariants, int removed) {
    Pieces lines{"countby=test"};
    for (int i = 1; i <= model::VariantCount; ++i) {
        const auto n = std::to_string(i);
        lines.push_back("[" + n + "]");
        lines.push_back("ans" + n + "=" + ((rightVariants >> (i - 1) & 1u) ? "1" : ""));
        lines.push_back("score[" + n + "]=1");
    }
    lines.push_back("total=score[1]+score[2]+score[3]+score[4]+score[5]");
    // The score line goes before [k] so that it is deleted whole, and so does the term of
    // the total line; the emptied lines stay.
    for (int k = 5; k > 5 - removed; --k) {
        const auto n = std::to_string(k);
        for (const auto& what :
             {"score[" + n + "]=1", "+score[" + n + "]", "[" + n + "]", "ans" + n + "="})
            lines = deleteInLines(lines, what);
    }
    return lines;
}

#if defined(__x86_64__)
namespace {
// The bytes from 0xE0 up in text[at, ...) counted thirty-two a step, a block at a time until
// three are found; `at` is left where the count stopped.
__attribute__((target("avx2"))) std::size_t lowercaseWide(std::string_view text, std::size_t& at) {
    constexpr std::size_t Block = 255 * 32;
    const __m256i low = _mm256_set1_epi8(static_cast<char>(0xE0));
    std::size_t lowercase = 0;
    while (lowercase < 3 && text.size() - at >= 32) {
        const std::size_t end = at + std::min(Block, (text.size() - at) / 32 * 32);
        __m256i counts = _mm256_setzero_si256();
        for (; at < end; at += 32) {
            const __m256i bytes =
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text.data() + at));
            counts = _mm256_sub_epi8(counts, _mm256_cmpeq_epi8(_mm256_max_epu8(bytes, low), bytes));
        }
        const __m256i sums = _mm256_sad_epu8(counts, _mm256_setzero_si256());
        lowercase += static_cast<std::size_t>(_mm256_extract_epi64(sums, 0)) +
                     static_cast<std::size_t>(_mm256_extract_epi64(sums, 1)) +
                     static_cast<std::size_t>(_mm256_extract_epi64(sums, 2)) +
                     static_cast<std::size_t>(_mm256_extract_epi64(sums, 3));
    }
    return lowercase;
}
} // namespace
#endif

bool isRussianCondition(std::string_view condition) {
    // Lowercase Cyrillic letters only: capitals and "ё" are left out; a byte from 0xE0 up.
    // Counted a block at a time, so that a long Russian text is decided at its first block.
    std::size_t lowercase = 0;
    std::size_t at = 0;
#if defined(__x86_64__)
    static const bool wide = __builtin_cpu_supports("avx2");
    if (wide)
        lowercase = lowercaseWide(condition, at);
#endif
#if defined(__SSE2__)
    // Sixteen bytes a step, each counter byte taking at most 255 steps.
    constexpr std::size_t Block = 255 * 16;
    const __m128i low = _mm_set1_epi8(static_cast<char>(0xE0));
    while (lowercase < 3 && condition.size() - at >= 16) {
        const std::size_t end = at + std::min(Block, (condition.size() - at) / 16 * 16);
        __m128i counts = _mm_setzero_si128();
        for (; at < end; at += 16) {
            const __m128i bytes =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(condition.data() + at));
            // All ones where the byte is its own maximum with 0xE0.
            counts = _mm_sub_epi8(counts, _mm_cmpeq_epi8(_mm_max_epu8(bytes, low), bytes));
        }
        const __m128i sums = _mm_sad_epu8(counts, _mm_setzero_si128());
        lowercase += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
                     static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
    }
#endif
    for (; at < condition.size() && lowercase < 3; ++at)
        lowercase += static_cast<unsigned char>(condition[at]) >= 0xE0 ? 1 : 0;
    return lowercase >= 3;
}

Package renderTask(const Task& task, const model::Olympiad& olympiad, const fs::path& systemDir,
                   Lang lang, const auth::Headers* headers) {
    return renderTask(task, olympiad, TemplateSet::load(systemDir), lang, headers);
}

Package renderTask(const Task& task, const model::Olympiad& olympiad, const TemplateSet& templates,
                   Lang lang, const auth::Headers* headers) {
    const Family& family = familyOf(task.kind);
    std::vector<Text> t;
    for (const auto& name : familyFiles(family))
        t.push_back(templates.text(name));
    const Text header = headers ? headers->first : templates.text("file/task_xml.txt");
    const Text header2 = headers ? headers->second : templates.text("file/task_xml_2.txt");
    const auto place = olympiad.place(task.number);
    if (!place)
        throw std::logic_error("the task lies in no part of the olympiad");

    // The removal templates the task needs are read now, each once, in the order the
    // removals use them, so that a missing one writes nothing.
    RemovalTexts removalTexts;
    for (int i = 2; i < model::VariantCount; ++i)
        if (!task.variants[i])
            for (const auto name : family.removals[i - 2])
                if (!removalTexts.count(name))
                    removalTexts.emplace(std::string(name),
                                         templates.text("Del/" + std::string(name)));
    const int removed = removedCount(task);
    Text costFind, costPut;
    if (family.costByRemovals && removed > 0) {
        costFind = templates.text("Del/cost.txt");
        costPut = templates.text("Del/cost" + std::to_string(removed) + ".txt");
    }

    Package package;
    package.folder = place->folder;
    package.page = renderPage(family, t, removalTexts, task);
    package.config = t.back() + Text(CRLF);

    package.scoring = scoringOf(family, task);
    const bool twoDigits = task.number >= 10;
    auto description = descriptionOf(family, task, twoDigits ? header2 : header, place->partLetter,
                                     olympiad.identifiersWithoutPart, costFind, costPut);
    if (!description)
        throw Error(msg::task::shortDescription.utf8(
            lang,
            {twoDigits ? "System_folder/file/task_xml_2.txt" : "System_folder/file/task_xml.txt",
             twoDigits ? "35" : "33"}));
    package.description = std::move(*description);
    return package;
}

EditsTemplates readEditsTemplates(const fs::path& systemDir) {
    return readEditsTemplates(TemplateSet::load(systemDir));
}

EditsTemplates readEditsTemplates(const TemplateSet& templates) {
    EditsTemplates t;
    t.zamena = templates.text("file_for_edits/zamena.txt");
    t.task1Asp = templates.text("file_for_edits/task1.asp");
    t.task1Out = templates.text("file_for_edits/task1.out");
    t.taskCfg = templates.text("file_for_edits/task.cfg");
    t.taskXml = templates.text("file/task_xml.txt");
    t.task2Asp = templates.text("file_for_edits/task2.asp");
    t.task2Out = templates.text("file_for_edits/task2.out");
    t.task3Asp = templates.text("file_for_edits/task3.asp");
    t.task3Out = templates.text("file_for_edits/task3.out");
    return t;
}

namespace {

// The Edits writer fills its templates by replacements run one after the other, each on the
// result of those before (a text typed with "*vs3*" in it is filled in its turn). Where
// nothing typed can take part in a later replacement, the result is the template cut where
// the replacements go, joined with the texts: the cut is made once by the same replacements
// with a marker for each text, and the join needs no search.
constexpr char EditsMarker = '\x01';

// A byte a placeholder of the writer can hold: "*vs1*" to "*vs5*", "*ans1*" to "*ans4*".
bool placeholderByte(char c) {
    return c == '*' || c == 'v' || c == 's' || c == 'a' || c == 'n' || (c >= '0' && c <= '9');
}

struct EditsCut {
    std::vector<Text> literals; // one more than holes
    std::vector<int> holes;     // which text fills each hole, in the order of the text
    // Whether the join gives what the replacements give for texts without '*': a placeholder
    // found later then begins and ends outside each text, so it would hold a byte on each
    // side of it, and the template has, beside every hole, its end or a byte no placeholder
    // holds.
    bool joins = false;
};

// The template cut where `placeholders` are replaced, in their order.
EditsCut cutEdits(std::string_view source, const std::vector<Text>& placeholders) {
    EditsCut cut;
    Text marked(source);
    for (std::size_t i = 0; i < placeholders.size(); ++i)
        replaceEvery(marked, placeholders[i], Text{EditsMarker, static_cast<char>('0' + i)});
    cut.joins = source.find(EditsMarker) == std::string_view::npos;
    std::size_t start = 0;
    for (auto at = marked.find(EditsMarker); at != Text::npos;
         at = marked.find(EditsMarker, start)) {
        cut.literals.emplace_back(marked, start, at - start);
        cut.holes.push_back(marked[at + 1] - '0');
        start = at + 2;
    }
    cut.literals.emplace_back(marked, start);
    for (std::size_t k = 0; k < cut.holes.size(); ++k) {
        const Text& before = cut.literals[k];
        const Text& after = cut.literals[k + 1];
        // The text's first or last byte is none; a hole beside a hole is not kept apart.
        const bool closedBefore = k == 0 ? before.empty() || !placeholderByte(before.back())
                                         : !before.empty() && !placeholderByte(before.back());
        const bool closedAfter = k + 1 == cut.holes.size()
                                     ? after.empty() || !placeholderByte(after.front())
                                     : !after.empty() && !placeholderByte(after.front());
        if (!closedBefore && !closedAfter)
            cut.joins = false;
    }
    return cut;
}

// The cuts of one variant (two, three or four sub-questions), with the templates they were
// made from: they serve again only for the same bytes.
struct EditsCuts {
    Text page, scoring;
    EditsCut russian, english, answers;
};

// The description of a variant: the header with the snippet counted, cut at "TaskA1".
struct DescriptionCut {
    Text header, zamena;
    std::vector<Text> pieces;
};

const EditsCuts& editsCuts(const Text& page, const Text& scoring, int count) {
    thread_local std::array<std::optional<EditsCuts>, 3> made;
    auto& cuts = made[static_cast<std::size_t>(count - 2)];
    if (cuts && cuts->page == page && cuts->scoring == scoring)
        return *cuts;
    std::vector<Text> texts, answers;
    for (int i = 1; i <= count + 1; ++i)
        texts.push_back("*vs" + std::to_string(i) + "*");
    for (int i = 1; i <= count; ++i)
        answers.push_back("*ans" + std::to_string(i) + "*");
    cuts = EditsCuts{page, scoring, cutEdits(page, texts),
                     cutEdits(replaceAll(page, "lang=\"ru\"", "lang=\"en\""), texts),
                     cutEdits(scoring, answers)};
    return *cuts;
}

const DescriptionCut& descriptionCut(const EditsTemplates& templates, int count) {
    thread_local std::array<std::optional<DescriptionCut>, 3> made;
    auto& cut = made[static_cast<std::size_t>(count - 2)];
    if (cut && cut->header == templates.taskXml && cut->zamena == templates.zamena)
        return *cut;
    const Text snippet = replaceAll(templates.zamena, "1", std::to_string(count));
    const Text header = replaceAll(templates.taskXml, templates.zamena, snippet);
    // Every "TaskA1", left to right without overlap, as the replacement takes them.
    constexpr std::string_view Name = "TaskA1";
    DescriptionCut made_{templates.taskXml, templates.zamena, {}};
    std::size_t start = 0;
    for (auto at = header.find(Name); at != Text::npos; at = header.find(Name, start)) {
        made_.pieces.emplace_back(header, start, at - start);
        start = at + Name.size();
    }
    made_.pieces.emplace_back(header, start);
    cut = std::move(made_);
    return *cut;
}

struct EditsVariant {
    const Text EditsTemplates::*page;
    const Text EditsTemplates::*answers;
};

// By the number of sub-questions: two, three, four.
constexpr EditsVariant EditsVariants[] = {
    {&EditsTemplates::task2Asp, &EditsTemplates::task2Out},
    {&EditsTemplates::task1Asp, &EditsTemplates::task1Out},
    {&EditsTemplates::task3Asp, &EditsTemplates::task3Out},
};

int editsCount(const Task& task) {
    const int count = static_cast<int>(task.subQuestions.size());
    if (count < 2 || count > 4)
        throw std::logic_error("an Edits task has two to four sub-questions");
    return count;
}

// The texts of the page (the condition, then the sub-questions) and of task.out (the
// answers), in the order the writer puts them in: at most five, held in place.
struct EditsTexts {
    std::array<std::string_view, 5> at{};
    std::size_t count = 0;
    std::string_view operator[](std::size_t i) const { return at[i]; }
    const std::string_view* begin() const { return at.data(); }
    const std::string_view* end() const { return at.data() + count; }
    std::size_t size() const { return count; }
};

EditsTexts pageTexts(const Task& task) {
    EditsTexts texts;
    texts.at[texts.count++] = task.condition;
    for (const auto& sub : task.subQuestions)
        texts.at[texts.count++] = sub.question;
    return texts;
}

EditsTexts answerTexts(const Task& task) {
    EditsTexts texts;
    for (const auto& sub : task.subQuestions)
        texts.at[texts.count++] = sub.answer;
    return texts;
}

bool joinable(const EditsCut& cut, const EditsTexts& texts) {
    return cut.joins && std::none_of(texts.begin(), texts.end(), [](std::string_view text) {
               return text.find('*') != std::string_view::npos;
           });
}

// The template filled as the replacements fill it, with the closing line break.
Text filled(const Text& source, const EditsCut& cut, const EditsTexts& texts,
            const std::vector<Text>& placeholders, std::string_view language) {
    Text out;
    if (joinable(cut, texts)) {
        std::size_t size = CRLF.size();
        for (const auto& literal : cut.literals)
            size += literal.size();
        for (const int hole : cut.holes)
            size += texts[static_cast<std::size_t>(hole)].size();
        out.reserve(size);
        out.append(cut.literals[0]);
        for (std::size_t k = 0; k < cut.holes.size(); ++k)
            out.append(texts[static_cast<std::size_t>(cut.holes[k])]).append(cut.literals[k + 1]);
        return std::move(out.append(CRLF));
    }
    std::size_t room = source.size() + CRLF.size() + 64;
    for (const auto text : texts)
        room += text.size();
    out.reserve(room);
    out = source;
    if (!language.empty())
        replaceEvery(out, "lang=\"ru\"", language);
    for (std::size_t i = 0; i < texts.size(); ++i)
        replaceEvery(out, placeholders[i], texts[i]);
    return std::move(out.append(CRLF));
}

// Whether bytes are the join of the cut with the texts and a closing line break.
bool joinIs(const EditsCut& cut, const EditsTexts& texts, std::string_view bytes) {
    std::size_t size = CRLF.size();
    for (const auto& literal : cut.literals)
        size += literal.size();
    for (const int hole : cut.holes)
        size += texts[static_cast<std::size_t>(hole)].size();
    if (size != bytes.size())
        return false;
    std::size_t at = 0;
    const auto next = [&](std::string_view piece) {
        const bool same = bytes.substr(at, piece.size()) == piece;
        at += piece.size();
        return same;
    };
    if (!next(cut.literals[0]))
        return false;
    for (std::size_t k = 0; k < cut.holes.size(); ++k)
        if (!next(texts[static_cast<std::size_t>(cut.holes[k])]) || !next(cut.literals[k + 1]))
            return false;
    return next(CRLF);
}

std::vector<Text> placeholdersOf(const char* name, int first, int last) {
    std::vector<Text> names;
    for (int i = first; i <= last; ++i)
        names.push_back("*" + std::string(name) + std::to_string(i) + "*");
    return names;
}

Text editsPage(const Task& task, const EditsTemplates& templates, int count) {
    const EditsVariant& variant = EditsVariants[count - 2];
    const auto& cuts = editsCuts(templates.*variant.page, templates.*variant.answers, count);
    const bool russian = isRussianCondition(task.condition);
    const auto texts = pageTexts(task);
    if (joinable(russian ? cuts.russian : cuts.english, texts))
        return filled(cuts.page, russian ? cuts.russian : cuts.english, texts, {}, {});
    return filled(cuts.page, EditsCut{}, texts, placeholdersOf("vs", 1, count + 1),
                  russian ? std::string_view() : std::string_view("lang=\"en\""));
}

Text editsScoring(const Task& task, const EditsTemplates& templates, int count) {
    const EditsVariant& variant = EditsVariants[count - 2];
    const auto& cuts = editsCuts(templates.*variant.page, templates.*variant.answers, count);
    const auto texts = answerTexts(task);
    if (joinable(cuts.answers, texts))
        return filled(cuts.scoring, cuts.answers, texts, {}, {});
    return filled(cuts.scoring, EditsCut{}, texts, placeholdersOf("ans", 1, count), {});
}

} // namespace

Package renderEdits(const Task& task, const EditsTemplates& templates, const fs::path& folder) {
    const int count = editsCount(task);
    Package package;
    package.folder = folder;
    package.page = editsPage(task, templates, count);
    package.scoring = editsScoring(task, templates, count);
    package.config = templates.taskCfg + Text(CRLF);
    package.description = renderEditsDescription(task.title, count, templates);
    return package;
}

Text renderEditsDescription(std::string_view title, int subQuestions,
                            const EditsTemplates& templates) {
    const auto& cut = descriptionCut(templates, subQuestions);
    const Text name = escapeXmlAttribute(title);
    std::size_t size = CRLF.size() + name.size() * (cut.pieces.size() - 1);
    for (const auto& piece : cut.pieces)
        size += piece.size();
    Text description;
    description.reserve(size);
    description.append(cut.pieces[0]);
    for (std::size_t k = 1; k < cut.pieces.size(); ++k)
        description.append(name).append(cut.pieces[k]);
    return std::move(description.append(CRLF));
}

bool editsPageIs(const Task& task, const EditsTemplates& templates, std::string_view page) {
    const int count = editsCount(task);
    const EditsVariant& variant = EditsVariants[count - 2];
    const auto& cuts = editsCuts(templates.*variant.page, templates.*variant.answers, count);
    const EditsCut& cut = isRussianCondition(task.condition) ? cuts.russian : cuts.english;
    const auto texts = pageTexts(task);
    if (joinable(cut, texts))
        return joinIs(cut, texts, page);
    return editsPage(task, templates, count) == page;
}

bool editsScoringIs(const Task& task, const EditsTemplates& templates, std::string_view scoring) {
    const int count = editsCount(task);
    const EditsVariant& variant = EditsVariants[count - 2];
    const auto& cuts = editsCuts(templates.*variant.page, templates.*variant.answers, count);
    const auto texts = answerTexts(task);
    if (joinable(cuts.answers, texts))
        return joinIs(cuts.answers, texts, scoring);
    return editsScoring(task, templates, count) == scoring;
}

bool editsDescriptionIs(std::string_view title, int subQuestions, const EditsTemplates& templates,
                        std::string_view description) {
    const auto& cut = descriptionCut(templates, subQuestions);
    const Text name = escapeXmlAttribute(title);
    std::size_t at = 0;
    const auto next = [&](std::string_view piece) {
        const bool same = description.substr(at, piece.size()) == piece;
        at += piece.size();
        return same;
    };
    if (!next(cut.pieces[0]))
        return false;
    for (std::size_t k = 1; k < cut.pieces.size(); ++k)
        if (!next(name) || !next(cut.pieces[k]))
            return false;
    return next(CRLF) && at == description.size();
}

void writePackage(const fs::path& outputDir, Package package, int treeFd) {
    const auto folder = std::move(package.folder);
    writeTaskFolder(treeFd, outputDir, folder, std::move(package).files());
}

} // namespace kavo::render
