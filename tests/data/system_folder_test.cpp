// SPDX-License-Identifier: MIT
// Invariants of the shipped System_folder: the pages that every template family
// assembles, the removal templates, the description headers and their rebuild, the
// Edits templates and the preview stand-ins.
#include "core/common/codepage.hpp"
#include "core/common/files.hpp"
#include "core/common/text.hpp"
#include "core/render/render.hpp"
#include "core/review/preview.hpp"
#include "core/tasks/task_form.hpp"
#include "data/markup.hpp"
#include "support/test_support.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace kavo::test {
namespace {

namespace fs = std::filesystem;

Text cp(std::string_view utf8) {
    auto text = utf8ToCp1251(utf8, Unencodable::Refuse);
    EXPECT_TRUE(text.has_value()) << utf8;
    return text.value_or("");
}

Text shipped(const std::string& relative) {
    return readText(shippedSystemFolder() / relative);
}

std::size_t count(std::string_view text, std::string_view pattern) {
    std::size_t n = 0;
    for (auto at = text.find(pattern); at != std::string_view::npos;
         at = text.find(pattern, at + pattern.size()))
        ++n;
    return n;
}

void expectStaticDocument(const Text& page, const char* inputType, std::size_t inputs);

const char* const serverTagNames[] = {"radio()", "check()", "next()", "store_count()"};

// ---- the files themselves ------------------------------------------------------------

TEST(ShippedFiles, HoldExactlyWhatTheProgramReads) {
    std::vector<std::string> expected = {"Authorisation/Author_1.txt",
                                         "Authorisation/Author_2.txt",
                                         "Authorisation/Author_end.txt",
                                         "Authorisation/Tasks_in_view.txt",
                                         "Authorisation/save.txt",
                                         "Language/Language.txt",
                                         "Language/Toolkit.txt",
                                         "file/Toolkit.txt",
                                         "file/task_xml.txt",
                                         "file/task_xml_2.txt",
                                         "file_for_edits/zamena.txt",
                                         "file_for_edits/task.cfg"};
    for (const char* name :
         {"head", "input", "radio", "buttom", "check", "table", "input_str", "check_str"})
        expected.push_back(std::string("browser/") + name + ".txt");
    for (const char* name :
         {"Radio1", "Radio2", "Spoiler1", "Spoiler2", "Spoiler3", "Choice", "MultiChoice1",
          "MultiChoice2", "MultiChoice3", "cost", "cost1", "cost2", "cost3"})
        expected.push_back(std::string("Del/") + name + ".txt");
    for (const char* name : {"task1", "task2", "task3"}) {
        expected.push_back(std::string("file_for_edits/") + name + ".asp");
        expected.push_back(std::string("file_for_edits/") + name + ".out");
    }
    auto family = [&](const std::string& folder, std::vector<std::string> parts) {
        for (const auto& part : parts)
            expected.push_back(folder + "/" + part + ".txt");
    };
    family("file",
           {"task_part1", "task_part1NoPic", "task_part2", "task_part3", "task_part4", "TASK"});
    family("file_for_edit", {"task_part1", "task_part1NoPic", "task_part2", "TASK"});
    for (const char* folder :
         {"file_for_spoiler", "file_for_MultipleChoice", "file_for_MultipleChoice_Spoiler"})
        family(folder, {"task_part1", "task_part1NoPic", "task_part2", "task_part3", "task_part4",
                        "task_part5", "task_part6", "task_part7", "TASK"});

    std::set<std::string> listing;
    for (const auto& name : expected) {
        listing.insert(name);
        for (auto dir = fs::path(name).parent_path(); !dir.empty(); dir = dir.parent_path())
            listing.insert(dir.generic_string() + "/");
    }
    std::string want;
    for (const auto& name : listing)
        want += name + "\n";
    EXPECT_EQ(listTree(shippedSystemFolder()), want);

    for (const auto& name : expected) {
        auto bytes = readBytes(shippedSystemFolder() / name);
        EXPECT_EQ(normaliseBreaks(bytes), bytes) << name << ": a line break that is not CR LF";
        EXPECT_EQ(bytes.find('\x98'), std::string::npos) << name << ": not Windows-1251";
        EXPECT_EQ(bytes.find('\0'), std::string::npos) << name;
    }
}

TEST(ShippedFiles, StartUpFilesHoldTheirFreshInstallValues) {
    EXPECT_EQ(readBytes(shippedSystemFolder() / "Language/Language.txt"), "Rus\r\n");
    EXPECT_EQ(readBytes(shippedSystemFolder() / "Authorisation/save.txt"), "1\r\n");
    EXPECT_EQ(readBytes(shippedSystemFolder() / "Authorisation/Tasks_in_view.txt"), "0\r\n");
    for (const char* reminder : {"file/Toolkit.txt", "Language/Toolkit.txt"}) {
        auto lines = splitLines(shipped(reminder));
        EXPECT_GE(lines.size(), 10u) << reminder;
        for (const auto& line : lines)
            EXPECT_EQ(line.rfind("  ", 0), 0u) << reminder << ": " << line;
    }
}

// A configuration is written as one piece followed by CR LF: the file must not add a
// second break of its own.
TEST(ShippedFiles, ConfigurationsEndWithOneLineBreakWhenWritten) {
    for (const char* name :
         {"file/TASK.txt", "file_for_edit/TASK.txt", "file_for_spoiler/TASK.txt",
          "file_for_MultipleChoice/TASK.txt", "file_for_MultipleChoice_Spoiler/TASK.txt",
          "file_for_edits/task.cfg"}) {
        auto written = joinPieces({shipped(name)});
        EXPECT_EQ(written.substr(written.size() - 2), "\r\n") << name;
        EXPECT_NE(written.substr(written.size() - 4), "\r\n\r\n") << name;
        EXPECT_NE(written.find("checker=test\r\n"), std::string::npos) << name;
    }
}

// ---- the page families ---------------------------------------------------------------

enum class Layout { SharedSeparator, NumberedSeparators };

struct Family {
    const char* folder;
    Layout layout;
    const char* answerTag;
    // The removal templates run for 1, 2 and 3 removed variants, in order.
    std::vector<std::vector<const char*>> removals;
};

const std::vector<const char*> choicePairs[] = {
    {"Choice", "MultiChoice3"},
    {"Choice", "MultiChoice2", "Choice", "MultiChoice3"},
    {"Choice", "MultiChoice1", "Choice", "MultiChoice2", "Choice", "MultiChoice3"}};

const Family families[] = {
    {"file",
     Layout::SharedSeparator,
     "radio()",
     {{"Radio1"}, {"Radio2", "Radio1"}, {"Radio1", "Radio2", "Radio1"}}},
    {"file_for_spoiler",
     Layout::NumberedSeparators,
     "radio()",
     {{"Spoiler3"}, {"Spoiler2", "Spoiler3"}, {"Spoiler1", "Spoiler2", "Spoiler3"}}},
    {"file_for_MultipleChoice",
     Layout::NumberedSeparators,
     "check()",
     {choicePairs[0], choicePairs[1], choicePairs[2]}},
    {"file_for_MultipleChoice_Spoiler",
     Layout::NumberedSeparators,
     "check()",
     {choicePairs[0], choicePairs[1], choicePairs[2]}},
};

const char* const delTemplates[] = {"Radio1",       "Radio2",       "Spoiler1",
                                    "Spoiler2",     "Spoiler3",     "Choice",
                                    "MultiChoice1", "MultiChoice2", "MultiChoice3"};

Text condition() {
    return cp("Решите уравнение x<sup>2</sup> &minus; 5x + 6 = 0.\r\n<p>Укажите "
              "<b>больший</b> корень &amp; проверьте его.</p>");
}

std::vector<Text> markers() {
    return {cp("вариант-А"), cp("вариант-Б"), cp("вариант-В"), cp("вариант-Г"), cp("вариант-Д")};
}

std::vector<Text> variants(int removed) {
    std::vector<Text> out;
    auto names = markers();
    const char* tails[] = {" x<sup>2</sup>", " <i>&le; 3</i>", " a<sub>1</sub>", " &pi;", " 6"};
    for (int i = 0; i < 5; ++i)
        out.push_back(i < 5 - removed ? names[i] + tails[i] : Text());
    return out;
}

// The thirteen pieces of a page in the order the writers put them.
Pieces assemble(const Family& family, bool picture, const std::vector<Text>& v) {
    auto part = [&](int n) {
        return shipped(std::string(family.folder) + "/task_part" + std::to_string(n) + ".txt");
    };
    Text opening = picture ? part(1) : shipped(std::string(family.folder) + "/task_part1NoPic.txt");
    if (family.layout == Layout::SharedSeparator)
        return {opening, condition(), part(2), v[0],    part(3), v[1],   part(3),
                v[2],    part(3),     v[3],    part(3), v[4],    part(4)};
    return {opening, condition(), part(5), v[0],    part(2), v[1],   part(3),
            v[2],    part(4),     v[3],    part(6), v[4],    part(7)};
}

// Every variant in its own answer block, in order, each block with one answer tag.
void expectAnswerBlocks(const Text& page, const char* answerTag, std::size_t kept) {
    auto markup = parseMarkup(page);
    ASSERT_EQ(markup.error, "");
    std::vector<const Node*> blocks;
    for (const Node* item : elements(markup.root, "li"))
        if (item->hasClass("variant"))
            blocks.push_back(item);
    ASSERT_EQ(blocks.size(), kept);
    auto names = markers();
    for (std::size_t i = 0; i < kept; ++i) {
        auto text = textOf(*blocks[i]);
        for (std::size_t j = 0; j < names.size(); ++j)
            EXPECT_EQ(count(text, names[j]), i == j ? 1u : 0u) << "block " << i;
        EXPECT_EQ(serverTags(*blocks[i]), std::vector<std::string>{answerTag}) << "block " << i;
    }
    auto tags = serverTags(markup.root);
    EXPECT_EQ(static_cast<std::size_t>(std::count(tags.begin(), tags.end(), answerTag)), kept);
    for (const auto& tag : tags)
        EXPECT_NE(std::find(std::begin(serverTagNames), std::end(serverTagNames), tag),
                  std::end(serverTagNames))
            << tag;
    EXPECT_EQ(count(page, "<%store_count()%>"), 1u);
    EXPECT_EQ(count(page, "<%next()%>"), 1u);
}

TEST(PageFamilies, AssembleIntoWellFormedPagesWithOneBlockPerVariant) {
    for (const auto& family : families)
        for (bool picture : {true, false}) {
            SCOPED_TRACE(std::string(family.folder) + (picture ? " picture" : " no picture"));
            auto page = joinPieces(assemble(family, picture, variants(0)));
            expectAnswerBlocks(page, family.answerTag, 5);
            EXPECT_EQ(count(page, "webfiles/picture.jpg"), picture ? 1u : 0u);
        }
}

TEST(PageFamilies, FoldedFamiliesFoldTheirVariants) {
    for (const auto& family : families) {
        auto markup = parseMarkup(joinPieces(assemble(family, false, variants(0))));
        ASSERT_EQ(markup.error, "");
        bool folded = std::string(family.folder).find("poiler") != std::string::npos;
        auto folds = elements(markup.root, "details");
        ASSERT_EQ(folds.size(), folded ? 1u : 0u) << family.folder;
        if (folded) {
            EXPECT_EQ(elements(*folds[0], "summary").size(), 1u);
            EXPECT_EQ(count(textOf(*folds[0]), markers()[4]), 1u);
        }
    }
}

// Removing variants must give the page that omitting their separators and pieces would
// give, apart from the one CR LF that every block removal adds at the end.
TEST(PageFamilies, RemovalsLeaveNoTraceAndKeepEveryKeptVariant) {
    for (const auto& family : families)
        for (int removed = 1; removed <= 3; ++removed) {
            SCOPED_TRACE(std::string(family.folder) + " removed " + std::to_string(removed));
            auto page = assemble(family, true, variants(removed));
            for (const char* del : family.removals[removed - 1])
                removeBlock(page, shipped(std::string("Del/") + del + ".txt"));
            ASSERT_EQ(page.size(), 1u);

            auto omitted = assemble(family, true, variants(0));
            omitted.erase(omitted.end() - 1 - 2 * removed, omitted.end() - 1);
            auto expected = joinPieces(omitted);
            for (std::size_t i = 0; i < family.removals[removed - 1].size(); ++i)
                expected += CRLF;
            EXPECT_EQ(joinPieces(page), expected);
            expectAnswerBlocks(joinPieces(page), family.answerTag, 5 - removed);
        }
}

TEST(PageFamilies, NoRemovalTemplateMatchesAKeptVariant) {
    std::vector<Text> pages;
    for (const auto& family : families)
        for (int removed = 0; removed <= 3; ++removed) {
            // A page whose removed variants are already taken out: what remains is kept.
            auto page = assemble(family, removed % 2 == 0, variants(removed));
            if (removed > 0)
                for (const char* del : family.removals[removed - 1])
                    removeBlock(page, shipped(std::string("Del/") + del + ".txt"));
            pages.push_back(joinPieces(page));
        }
    for (const auto& page : pages)
        for (const char* del : delTemplates) {
            auto text = shipped(std::string("Del/") + del + ".txt");
            EXPECT_FALSE(text.empty()) << del;
            EXPECT_EQ(count(page, text), 0u) << del;
        }
}

// Choice takes its stretch out of every removed block at once; each MultiChoice template
// must then still find what remains of its own variant, whatever else was removed.
TEST(PageFamilies, EachMultipleChoicePairFindsItsOwnVariant) {
    const auto& family = families[2];
    for (int removed = 1; removed <= 3; ++removed) {
        auto page = assemble(family, false, variants(removed));
        removeBlock(page, shipped("Del/Choice.txt"));
        for (int n = 1; n <= 3; ++n) {
            auto pair = shipped("Del/MultiChoice" + std::to_string(n) + ".txt");
            EXPECT_EQ(count(page[0], pair), n > 3 - removed ? 1u : 0u)
                << "removed " << removed << ", MultiChoice" << n;
        }
    }
}

// The package Add task writes for a form.
render::Package renderForm(const tasks::TaskForm& form, const fs::path& out) {
    const auto reading = tasks::readTaskForm(form, out, 0);
    return render::renderTask(reading.task, *reading.olympiad, shippedSystemFolder(),
                              Lang::English);
}

// The writers of Add task put the same pieces in the same order and run the same removals,
// so the shipped templates give them the pages checked above, and the descriptions carry
// the cost of the variants kept.
TEST(PageFamilies, WritersBuildThePagesCheckedHere) {
    TempDir dir;
    for (std::size_t f = 0; f < std::size(families); ++f)
        for (int removed = 0; removed <= 3; ++removed) {
            const auto& family = families[f];
            SCOPED_TRACE(std::string(family.folder) + " removed " + std::to_string(removed));
            bool picture = removed % 2 == 0;
            bool multiple = std::string(family.answerTag) == "check()";
            auto form = tasks::makeStartForm();
            form.ListBox1 = {{"1", "2", "3"}, 0};
            form.Edit2 = "3";
            form.ListBox2.selected = picture ? 0 : 1;
            form.ListBox3.selected = f == 0 || f == 2 ? 1 : 0;
            form.Memo1 = condition();
            auto v = variants(removed);
            form.VariantOtveta_1 = v[0];
            form.VariantOtveta_2 = v[1];
            form.VariantOtveta_3 = v[2];
            form.VariantOtveta_4 = v[3];
            form.VariantOtveta_5 = v[4];
            form.CheckBox1 = removed >= 3;
            form.CheckBox2 = removed >= 2;
            form.CheckBox3 = removed >= 1;
            form.Edit1 = multiple ? "a,b" : "a";
            const auto package = renderForm(form, dir.path());

            auto expected = assemble(family, picture, v);
            if (removed > 0)
                for (const char* del : family.removals[removed - 1])
                    removeBlock(expected, shipped(std::string("Del/") + del + ".txt"));
            EXPECT_EQ(package.page, joinPieces(expected));
            auto description = package.description;
            EXPECT_EQ(parseMarkup(description).error, "");
            auto cost = multiple ? std::to_string(5 - removed) : "1";
            EXPECT_EQ(count(description, "cost=\"" + cost + "\""), 1u);
        }
}

// ---- the typed answer -----------------------------------------------------------------

Pieces typedPage(bool picture) {
    Pieces page = {
        shipped(picture ? "file_for_edit/task_part1.txt" : "file_for_edit/task_part1NoPic.txt"),
        condition(), shipped("file_for_edit/task_part2.txt")};
    page.resize(page.size() + 10);
    return page;
}

TEST(TypedAnswer, WriterPageMatchesAndSpeaksTheLanguageOfTheCondition) {
    const Text field = shipped("browser/input_str.txt");
    TempDir dir;
    for (bool russian : {true, false}) {
        auto form = tasks::makeStartForm();
        form.ListBox1 = {{"1"}, 0};
        form.Edit2 = "1";
        form.ListBox2.selected = 1;
        form.ListBox3.selected = 1;
        form.Memo1 = russian ? condition() : Text("Solve x<sup>2</sup> = 4.");
        form.Edit1 = "2";
        auto page = renderForm(form, dir.path()).page;
        EXPECT_EQ(count(page, field), 1u);
        EXPECT_EQ(count(page, cp("Введите корректный ответ")), russian ? 1u : 0u);
        EXPECT_EQ(count(page, "Enter the correct answer"), russian ? 0u : 1u);
        EXPECT_EQ(parseMarkup(page).error, "");
        expectStaticDocument(page, "text", 1);
    }
}

TEST(TypedAnswer, PageHoldsOneFieldAndThePromptInBothLanguages) {
    const Text field = shipped("browser/input_str.txt");
    for (bool picture : {true, false}) {
        auto english = joinPieces(typedPage(picture));
        auto russian =
            replaceAll(english, "Enter the correct answer", cp("Введите корректный ответ"));
        EXPECT_EQ(count(english, "Enter the correct answer"), 1u);
        EXPECT_NE(russian, english);
        for (const auto& page : std::vector<Text>{english, russian}) {
            auto markup = parseMarkup(page);
            ASSERT_EQ(markup.error, "");
            EXPECT_EQ(count(page, field), 1u);
            auto inputs = elements(markup.root, "input");
            ASSERT_EQ(inputs.size(), 1u);
            EXPECT_EQ(inputs[0]->attribute("type"), "text");
            EXPECT_EQ(serverTags(markup.root),
                      (std::vector<std::string>{"store_count()", "next()"}));
        }
    }
}

// ---- the description headers ---------------------------------------------------------

struct Header {
    const char* file;
    const char* head;                 // the author dialog's head template
    std::size_t first, second, width; // 0-based offsets of the identifiers and their width
};

const Header headers[] = {{"file/task_xml.txt", "Authorisation/Author_1.txt", 12, 27, 6},
                          {"file/task_xml_2.txt", "Authorisation/Author_2.txt", 12, 28, 7}};

void expectIdentifiers(const Text& text, const Header& header) {
    std::string id = header.width == 6 ? "TaskA1" : "TaskA1 ";
    ASSERT_GE(text.size(), header.second + header.width);
    EXPECT_EQ(text.substr(header.first, header.width), id) << header.file;
    EXPECT_EQ(text.substr(header.second - 7, 7 + header.width), "ename=\"" + id) << header.file;
    // The rewrite of identifiers without part folders replaces every "TaskA".
    EXPECT_EQ(count(text, "TaskA"), 2u) << header.file;
    auto cost = text.find("cost=\"1\"");
    EXPECT_EQ(count(text, "cost=\"1\""), 1u) << header.file;
    EXPECT_GE(cost, header.second + header.width) << header.file;
}

Text rebuild(const Header& header, const Text& line) {
    return joinPieces({shipped(header.head) + line + shipped("Authorisation/Author_end.txt")});
}

TEST(DescriptionHeaders, HoldTheIdentifiersAndEqualTheirRebuild) {
    const Text lines[] = {"", cp("Петрова Анна,  ФМШ-21, October  2026"),
                          cp("Иванов &quot;Иван&quot; &lt;И.&gt; &amp; &#171;Ко&#187;")};
    for (const auto& header : headers) {
        SCOPED_TRACE(header.file);
        auto shippedText = shipped(header.file);
        EXPECT_EQ(readBytes(shippedSystemFolder() / header.file), rebuild(header, ""));
        expectIdentifiers(shippedText, header);
        for (const auto& line : lines) {
            auto rebuilt = rebuild(header, line);
            expectIdentifiers(rebuilt, header);
            auto markup = parseMarkup(rebuilt);
            ASSERT_EQ(markup.error, "");
            auto authors = elements(markup.root, "author");
            ASSERT_EQ(authors.size(), 1u);
            EXPECT_EQ(textOf(*authors[0]), line);
            EXPECT_EQ(elements(markup.root, "task").size(), 1u);
        }
    }
}

// Writes the identifier of task `number` into the header the way default names do.
Text defaultNames(Text text, const Header& header, char part, int number) {
    text[header.first + 4] = text[header.second + 4] = part;
    if (header.width == 6) {
        text[header.first + 5] = text[header.second + 5] = static_cast<char>('0' + number);
    } else {
        text[header.first + 5] = text[header.second + 5] = static_cast<char>('0' + number / 10);
        text[header.first + 6] = text[header.second + 6] = static_cast<char>('0' + number % 10);
    }
    return text;
}

TEST(DescriptionHeaders, CostStretchSurvivesShapingAndTakesTheRemovalCount) {
    const Text cost = shipped("Del/cost.txt");
    const char* replacements[] = {"Del/cost1.txt", "Del/cost2.txt", "Del/cost3.txt"};
    for (const auto& header : headers) {
        SCOPED_TRACE(header.file);
        auto scored = replaceAll(shipped(header.file), "cost=\"1\"", "cost=\"5\"");
        std::string id = header.width == 6 ? "TaskA1" : "TaskA1 ";
        auto ownNames = replaceAll(replaceAll(scored, id, cp("Дроби")), "ename=\"" + cp("Дроби"),
                                   "ename=\"Fractions");
        for (const auto& shaped :
             {defaultNames(scored, header, 'B', header.width == 6 ? 7 : 12), ownNames}) {
            auto description = joinPieces({shaped});
            ASSERT_EQ(count(description, cost), 1u);
            EXPECT_GE(description.find(cost), header.second + header.width);
            for (int removed = 1; removed <= 3; ++removed) {
                auto changed = replaceAll(description, cost, shipped(replacements[removed - 1]));
                auto want = "cost=\"" + std::to_string(5 - removed) + "\"";
                EXPECT_EQ(count(changed, want), 1u) << removed;
                EXPECT_EQ(count(changed, "cost=\"5\""), 0u) << removed;
                EXPECT_EQ(parseMarkup(changed).error, "");
            }
        }
    }
}

TEST(DescriptionHeaders, EditsSnippetLiesInTheKeptHeadAndTakesTheCount) {
    const Text snippet = shipped("file_for_edits/zamena.txt");
    ASSERT_FALSE(snippet.empty());
    EXPECT_EQ(snippet.find("TaskA1"), std::string::npos);
    EXPECT_NE(snippet.find('1'), std::string::npos);
    for (const auto& header : headers) {
        SCOPED_TRACE(header.file);
        auto head = shipped(header.head);
        auto tail = shipped("Authorisation/Author_end.txt");
        EXPECT_TRUE(count(head, snippet) == 1 || count(tail, snippet) == 1);
        EXPECT_EQ(count(rebuild(header, cp("Петрова Анна")), snippet), 1u);
        auto at = shipped(header.file).find(snippet);
        EXPECT_GE(at, header.second + header.width);
    }
    for (char digit : {'4', '3', '2'}) {
        auto changed = replaceAll(snippet, "1", std::string(1, digit));
        auto description = replaceAll(replaceAll(shipped("file/task_xml.txt"), snippet, changed),
                                      "TaskA1", cp("Движение"));
        EXPECT_EQ(count(description, std::string("cost=\"") + digit + "\""), 1u);
        EXPECT_EQ(count(description, "TaskA"), 0u);
        EXPECT_EQ(parseMarkup(description).error, "");
    }
}

// ---- Edits ---------------------------------------------------------------------------

struct EditsVariant {
    const char* name;
    int questions;
};

const EditsVariant editsVariants[] = {{"task3", 4}, {"task1", 3}, {"task2", 2}};

std::set<std::string> placeholders(const Text& text) {
    std::set<std::string> found;
    for (std::string prefix : {"*vs", "*ans"})
        for (int i = 0; i <= 9; ++i) {
            auto p = prefix + std::to_string(i) + "*";
            if (text.find(p) != std::string::npos)
                found.insert(p);
        }
    return found;
}

TEST(Edits, TemplatesHoldExactlyTheirPlaceholders) {
    for (const auto& variant : editsVariants) {
        SCOPED_TRACE(variant.name);
        std::set<std::string> pageWant, outWant;
        for (int i = 1; i <= variant.questions + 1; ++i)
            pageWant.insert("*vs" + std::to_string(i) + "*");
        for (int i = 1; i <= variant.questions; ++i)
            outWant.insert("*ans" + std::to_string(i) + "*");
        auto page = shipped(std::string("file_for_edits/") + variant.name + ".asp");
        auto out = shipped(std::string("file_for_edits/") + variant.name + ".out");
        EXPECT_EQ(placeholders(page), pageWant);
        EXPECT_EQ(placeholders(out), outWant);
        for (const auto& p : pageWant)
            EXPECT_EQ(count(page, p), 1u) << p;

        Pieces lines = {"countby=test"};
        std::string total = "total=";
        for (int i = 1; i <= variant.questions; ++i) {
            auto n = std::to_string(i);
            lines.push_back("[" + n + "]");
            lines.push_back("ans" + n + "=*ans" + n + "*");
            lines.push_back("score[" + n + "]=1");
            total += (i > 1 ? "+" : "") + ("score[" + n + "]");
        }
        lines.push_back(total);
        EXPECT_EQ(joinPieces({out}), joinPieces(lines));
    }
}

Text fillEdits(Text page, int questions) {
    page = replaceAll(page, "*vs1*", cp("Поезд идёт со скоростью 60 км/ч.<br>"));
    for (int i = 2; i <= questions + 1; ++i)
        page = replaceAll(page, "*vs" + std::to_string(i) + "*",
                          cp("вопрос-") + std::to_string(i) + " <b>&frac12;</b>");
    return joinPieces({page});
}

TEST(Edits, PagesHaveOneTypedFieldPerSubQuestion) {
    const Text field = shipped("browser/input_str.txt");
    for (const auto& variant : editsVariants) {
        SCOPED_TRACE(variant.name);
        auto page = fillEdits(shipped(std::string("file_for_edits/") + variant.name + ".asp"),
                              variant.questions);
        auto markup = parseMarkup(page);
        ASSERT_EQ(markup.error, "");
        EXPECT_EQ(count(page, field), static_cast<std::size_t>(variant.questions));
        std::vector<const Node*> questions;
        for (const Node* item : elements(markup.root, "li"))
            if (item->hasClass("question"))
                questions.push_back(item);
        ASSERT_EQ(questions.size(), static_cast<std::size_t>(variant.questions));
        for (int i = 0; i < variant.questions; ++i) {
            EXPECT_EQ(count(textOf(*questions[i]), cp("вопрос-") + std::to_string(i + 2)), 1u);
            EXPECT_EQ(elements(*questions[i], "input").size(), 1u);
        }
    }
}

// ---- the preview ---------------------------------------------------------------------

const char* const webfilesUrl = "file:///tmp/Year/PartA/1/webfiles/";

Text preview(const Text& page) {
    static const auto templates = review::readPreviewTemplates(shippedSystemFolder().parent_path());
    return joinPieces({review::previewPage(templates, page, webfilesUrl)});
}

void expectStaticDocument(const Text& page, const char* inputType, std::size_t inputs) {
    auto html = preview(page);
    EXPECT_EQ(html.find("<%"), std::string::npos);
    auto markup = parseMarkup(html);
    ASSERT_EQ(markup.error, "");
    for (const auto& node : markup.root.children) {
        if (node.kind != Node::Kind::Element) {
            EXPECT_EQ(node.name.find_first_not_of(" \r\n"), std::string::npos) << node.name;
        }
    }
    ASSERT_EQ(elements(markup.root, "html").size(), 1u);
    ASSERT_EQ(elements(markup.root, "body").size(), 1u);
    auto metas = elements(markup.root, "meta");
    ASSERT_EQ(metas.size(), 1u);
    EXPECT_EQ(metas[0]->attribute("charset"), "windows-1251");
    std::size_t found = 0;
    for (const Node* input : elements(markup.root, "input"))
        found += input->attribute("type") == inputType;
    EXPECT_EQ(found, inputs);
    EXPECT_EQ(elements(markup.root, "input").size(), inputs);
}

TEST(Preview, EveryPageBecomesAStaticDocument) {
    const Text table = shipped("browser/table.txt");
    for (const auto& family : families)
        for (int removed = 0; removed <= 3; ++removed) {
            SCOPED_TRACE(std::string(family.folder) + " removed " + std::to_string(removed));
            auto pieces = assemble(family, removed % 2 == 1, variants(removed));
            for (const char* del :
                 removed ? family.removals[removed - 1] : std::vector<const char*>{})
                removeBlock(pieces, shipped(std::string("Del/") + del + ".txt"));
            auto page = joinPieces(pieces);
            EXPECT_EQ(count(page, table), 1u);
            EXPECT_EQ(page.find(table), 0u);
            expectStaticDocument(page,
                                 std::string(family.answerTag) == "radio()" ? "radio" : "checkbox",
                                 5 - removed);
        }
    for (bool picture : {true, false}) {
        auto page = joinPieces(typedPage(picture));
        EXPECT_EQ(page.find(table), 0u);
        expectStaticDocument(page, "text", 1);
        EXPECT_EQ(count(preview(page), std::string(webfilesUrl) + "picture.jpg"),
                  picture ? 1u : 0u);
    }
    for (const auto& variant : editsVariants) {
        SCOPED_TRACE(variant.name);
        auto page = fillEdits(shipped(std::string("file_for_edits/") + variant.name + ".asp"),
                              variant.questions);
        EXPECT_EQ(page.find(table), 0u);
        EXPECT_EQ(count(page, table), 1u);
        expectStaticDocument(page, "text", static_cast<std::size_t>(variant.questions));
    }
}

TEST(Preview, StandInsAreNotThemselvesPatterns) {
    auto b = [](const char* name) { return shipped(std::string("browser/") + name + ".txt"); };
    // A head or input that held its own pattern would grow with every preview of a preview.
    EXPECT_EQ(b("head").find("<%"), std::string::npos);
    EXPECT_EQ(b("input").find(b("input_str")), std::string::npos);
    for (const char* name : {"head", "input", "radio", "check", "buttom"})
        EXPECT_EQ(b(name).find("<%"), std::string::npos) << name;
    EXPECT_EQ(b("check_str"), "<%check()%>");
    auto table = b("table");
    ASSERT_GE(table.size(), 2u);
    EXPECT_EQ(table.substr(table.size() - 2), "\r\n");
    auto field = b("input_str");
    ASSERT_GE(field.size(), 2u);
    EXPECT_EQ(field.substr(field.size() - 2), "\r\n");
}

} // namespace
} // namespace kavo::test
