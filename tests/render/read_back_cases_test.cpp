// SPDX-License-Identifier: MIT
// Reading back packages changed after writing: the failures with their file and place,
// the changes that are read, and the packages that can be read in more than one way.
#include "core/auth/author.hpp"
#include "core/common/files.hpp"
#include "core/render/text_pattern.hpp"
#include "tree.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

namespace fs = std::filesystem;
using kavo::Text;
using kavo::model::Olympiad;
using kavo::model::Task;
using kavo::model::TaskKind;
using kavo::render::ReadReason;
using kavo::render::ReadStatus;
using kavo::test::cp1251;
using kavo::test::readBytes;
using kavo::test::Tree;
using kavo::test::writeBytes;

namespace {

Task choice(TaskKind kind, int number,
            std::array<std::optional<Text>, 5> variants = {"a", "b", "c", "d", "e"}) {
    Task task;
    task.kind = kind;
    task.number = number;
    task.condition = "Which?";
    task.variants = variants;
    if (kavo::model::isMultipleChoice(kind))
        task.answers = 0b11;
    return task;
}

// Replaces the first `from` in a file of the folder; returns its offset.
std::size_t edit(const fs::path& file, const Text& from, const Text& to) {
    Text bytes = readBytes(file);
    const auto at = bytes.find(from);
    EXPECT_NE(at, Text::npos) << from;
    bytes.replace(at, from.size(), to);
    writeBytes(file, bytes);
    return at;
}

} // namespace

TEST(ReadBack, FailuresNameTheFileAndPlace) {
    struct Case {
        const char* what;
        Task task;
        // Changes the written folder; returns the file and offset to be reported.
        std::function<std::pair<const char*, std::size_t>(const Tree&, const fs::path&)> change;
        ReadStatus status = ReadStatus::Mismatch;
        ReadReason reason = ReadReason::Differs;
        int readAs = 0; // the number to read, when not the task's
    };
    const Task single = choice(TaskKind::SingleChoice, 3);
    const Case cases[] = {
        {"missing file", single,
         [](const Tree& t, const fs::path& f) {
             fs::remove(t.file(f, "task.out"));
             return std::pair("task.out", std::size_t{0});
         },
         ReadStatus::Missing, ReadReason::MissingFile},
        {"hand-edited page end", single,
         [](const Tree& t, const fs::path& f) {
             return std::pair("task.asp",
                              edit(t.file(f, "task.asp"), "<%next()%>", "<%nxt()%>") + 3);
         }},
        {"hand-edited opening", single,
         [](const Tree& t, const fs::path& f) {
             return std::pair("task.asp",
                              edit(t.file(f, "task.asp"), "kavo-task", "kavo-tusk") + 6);
         }},
        {"changed TASK.CFG", single,
         [](const Tree& t, const fs::path& f) {
             return std::pair("TASK.CFG", edit(t.file(f, "TASK.CFG"), "radio", "radix") + 4);
         }},
        {"scoring names an answer that is no variant", single,
         [](const Tree& t, const fs::path& f) {
             return std::pair("task.out", edit(t.file(f, "task.out"), "ans1=0", "ans1=7") + 5);
         }},
        {"scoring names a removed folded variant",
         choice(TaskKind::FoldedChoice, 3, {"a", "b", "c", "d", std::nullopt}),
         [](const Tree& t, const fs::path& f) {
             return std::pair("task.out", edit(t.file(f, "task.out"), "ans1=0", "ans1=4") + 5);
         },
         ReadStatus::Mismatch, ReadReason::RemovedVariantNamed},
        {"scoring names a removed multiple-choice variant",
         choice(TaskKind::MultipleChoice, 3, {"a", "b", "c", "d", std::nullopt}),
         [](const Tree& t, const fs::path& f) {
             // The emptied line of E's answer.
             return std::pair("task.out", edit(t.file(f, "task.out"), "score[4]=1\r\n\r\n\r\n",
                                               "score[4]=1\r\n\r\n1\r\n") +
                                              14);
         },
         ReadStatus::Mismatch, ReadReason::RemovedVariantNamed},
        {"a description of another number", single,
         [](const Tree&, const fs::path&) { return std::pair("task.xml", std::size_t{17}); },
         ReadStatus::Mismatch, ReadReason::Differs, 4},
        {"only the page saved by the review", choice(TaskKind::MultipleChoice, 3),
         [](const Tree& t, const fs::path& f) {
             writeBytes(t.file(f, "task.asp"), readBytes(t.file(f, "task.asp")) + "\r\n");
             const auto out = readBytes(t.file(f, "task.out"));
             return std::pair("task.out", out.size() - 2);
         }},
        {"saved twice by the review", single,
         [](const Tree& t, const fs::path& f) {
             for (const char* name : {"task.asp", "task.out", "task.xml"})
                 writeBytes(t.file(f, name), readBytes(t.file(f, name)) + "\r\n\r\n");
             return std::pair("task.out", readBytes(t.file(f, "task.out")).size() - 4);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Tree tree;
        const auto templates = kavo::render::TemplateSet::load(tree.system);
        const auto folder = tree.write(c.task, tree.olympiad).folder;
        const auto [file, offset] = c.change(tree, folder);
        const auto result =
            readTask(templates, tree.olympiad, folder, c.readAs ? c.readAs : c.task.number);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.reason, c.reason);
        EXPECT_EQ(result.place.file, file);
        if (c.status != ReadStatus::Missing) {
            EXPECT_EQ(result.place.offset, offset) << result.report(kavo::Lang::English);
        }
        // Both removed-variant cases name E as right: the report says so in a teacher's words.
        if (c.reason == ReadReason::RemovedVariantNamed) {
            EXPECT_NE(result.report(kavo::Lang::English)
                          .find("the scoring file gives answer E, the page has no variant E"),
                      std::string::npos)
                << result.report(kavo::Lang::English);
        }
        EXPECT_FALSE(result.task);
    }
}

TEST(ReadBack, TemplatesOfAnotherFamilyVersion) {
    // Written while the single-choice templates said "</ul>": today's say "</ol>".
    Tree tree;
    const auto templates = kavo::render::TemplateSet::load(tree.system);
    const auto part4 = tree.system / "file" / "task_part4.txt";
    const Text shipped = readBytes(part4);
    edit(part4, "</ol>", "</ul>");
    const auto folder = tree.write(choice(TaskKind::SingleChoice, 2), tree.olympiad).folder;
    writeBytes(part4, shipped);
    const auto result = readTask(templates, tree.olympiad, folder, 2);
    EXPECT_EQ(result.status, ReadStatus::Mismatch);
    EXPECT_EQ(result.place.file, "task.asp");
    const Text page = readBytes(tree.file(folder, "task.asp"));
    EXPECT_EQ(result.place.offset, page.find("</ul>") + 2);
    EXPECT_EQ(result.place.line,
              1u + std::count(page.begin(), page.begin() + page.find("</ul>"), '\n'));
    EXPECT_EQ(result.place.column, 3u);
    EXPECT_NE(result.report(kavo::Lang::English)
                  .find("task.asp, line " + std::to_string(result.place.line) +
                        ", column 3: the text differs from what the program writes"),
              std::string::npos);
    EXPECT_NE(result.report(kavo::Lang::Russian).find("task.asp, строка"), std::string::npos);
}

TEST(ReadBack, ChangesThatAreRead) {
    Task ownNames =
        choice(TaskKind::MultipleChoice, 14, {"a", "b", "c", std::nullopt, std::nullopt});
    ownNames.names = kavo::model::OwnNames{cp1251("Задача о числах"), "Numbers > 3"};
    Task emptyKept = choice(TaskKind::FoldedChoice, 20, {"a", "b", "", "d", std::nullopt});
    Task removedC = choice(TaskKind::SingleChoice, 5, {"a", "b", std::nullopt, "d", "e"});
    Task removedE = choice(TaskKind::SingleChoice, 5, {"a", "b", "d", "e", std::nullopt});
    struct Case {
        const char* what;
        Task task;
        Task read;
        std::function<void(const Tree&, const fs::path&)> change;
        kavo::render::WrittenWith written;
    };
    const kavo::render::WrittenWith plain;
    auto reviewed = plain;
    reviewed.reviewSaved = true;
    auto partB = plain;
    partB.partLetter = 'B';
    auto otherAuthor = plain;
    otherAuthor.authorLineDiffers = true;
    const Case cases[] = {
        {"saved unchanged by the review", ownNames, ownNames,
         [](const Tree& t, const fs::path& f) {
             for (const char* name : {"task.asp", "task.out", "task.xml"})
                 writeBytes(t.file(f, name), readBytes(t.file(f, name)) + "\r\n");
         },
         reviewed},
        {"a later author Save", ownNames, ownNames,
         [](const Tree& t, const fs::path&) {
             kavo::auth::saveAuthor(t.system.parent_path(), cp1251("Иванов & Ко"));
         },
         otherAuthor},
        {"a variant left empty, its stretch in the page", emptyKept, emptyKept, {}, partB},
        {"single-choice variants removed but the last ones", removedC, removedE, {}, plain},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Tree tree;
        // Loaded before the change: the load after it must see the new templates.
        const auto before = kavo::render::TemplateSet::load(tree.system);
        const auto folder = tree.write(c.task, tree.olympiad).folder;
        if (c.change)
            c.change(tree, folder);
        const auto result = readTask(kavo::render::TemplateSet::load(tree.system), tree.olympiad,
                                     folder, c.task.number);
        ASSERT_EQ(result.status, ReadStatus::Read) << result.report(kavo::Lang::English);
        EXPECT_EQ(*result.task, c.read);
        EXPECT_EQ(result.written, c.written);
    }
}

TEST(ReadBack, AuthorLineIsDataOfTheDescription) {
    Tree tree;
    kavo::auth::saveAuthor(tree.dir.path(), cp1251("Петров <П.> & \"Ко\""));
    const Task task = choice(TaskKind::SingleChoice, 30);
    const auto folder = tree.write(task, tree.olympiad).folder;
    kavo::auth::saveAuthor(tree.dir.path(), "Someone else");
    const auto result = kavo::render::readTask(tree.system, tree.olympiad, 30);
    ASSERT_EQ(result.status, ReadStatus::Read);
    EXPECT_EQ(*result.task, task);
    EXPECT_EQ(result.written.partLetter, 'C');
    EXPECT_TRUE(result.written.authorLineDiffers);
    EXPECT_EQ(result.written.authorLine, cp1251("Петров &lt;П.> &amp; &quot;Ко&quot;"));
    EXPECT_EQ(result.report(kavo::Lang::English),
              "\nThe task in PartC/30 was written with another author line: Петров &lt;П.> &amp; "
              "&quot;Ко&quot;");
}

TEST(ReadBack, PackagesReadInMoreThanOneWay) {
    const Text separator = readBytes(kavo::test::shippedSystemFolder() / "file" / "task_part2.txt");
    Task inCondition = choice(TaskKind::SingleChoice, 1);
    inCondition.condition = "x\r\n" + separator + "\r\ny";
    Task prompt;
    prompt.kind = TaskKind::TypedAnswer;
    prompt.number = 2;
    prompt.condition = cp1251("Сколько будет 2+2? Введите корректный ответ");
    prompt.typedAnswer = "4";
    Task entity = choice(TaskKind::FoldedChoice, 3);
    entity.names = kavo::model::OwnNames{"R&D", "R&amp;D"};
    Task placeholder;
    placeholder.kind = TaskKind::Edits;
    placeholder.condition = "Main";
    placeholder.subQuestions = {{"one", "1"}, {"two, see *vs3*", "2"}};
    placeholder.folder = "Edits";
    struct Case {
        Task task;
        ReadReason reason;
        const char* file;
        std::function<std::size_t(const Text&)> offset; // in that file
        std::size_t readings;
    };
    const Case cases[] = {
        {inCondition, ReadReason::TemplateText, "task.asp",
         [&](const Text& page) { return page.find("x\r\n" + separator) + 1; }, 2},
        {prompt, ReadReason::Prompt, "task.asp",
         [](const Text& page) { return page.find(cp1251("Введите")); }, 2},
        {entity, ReadReason::Names, "task.xml",
         [](const Text& xml) { return xml.find("R&amp;D") + 1; }, 3},
        {placeholder, ReadReason::Placeholder, "task.asp",
         [](const Text& page) { return page.find("*vs3*"); }, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.reason));
        Tree tree;
        const auto templates = kavo::render::TemplateSet::load(tree.system);
        const auto folder = tree.write(c.task, tree.olympiad).folder;
        const auto result = readAnyTask(templates, tree.olympiad, folder);
        ASSERT_EQ(result.status, ReadStatus::Ambiguous);
        EXPECT_EQ(result.reason, c.reason);
        EXPECT_EQ(result.place.file, c.file);
        EXPECT_EQ(result.place.offset, c.offset(readBytes(tree.file(folder, c.file))));
        ASSERT_EQ(result.readings.size(), c.readings);
        EXPECT_NE(std::find(result.readings.begin(), result.readings.end(), c.task),
                  result.readings.end());
        for (const auto& reading : result.readings)
            EXPECT_TRUE(tree.rendersTo(reading, tree.olympiad, folder));
    }
}

TEST(ReadBack, AnyTaskTellsFormTasksFromEditsTasks) {
    Tree tree;
    const auto templates = kavo::render::TemplateSet::load(tree.system);
    Task edits;
    edits.kind = TaskKind::Edits;
    edits.condition = cp1251("Найдите ошибки");
    edits.subQuestions = {{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}};
    edits.title = "Edits 5";
    edits.folder = "PartA/5"; // typed as "5"
    Task typed;
    typed.kind = TaskKind::TypedAnswer;
    typed.number = 14;
    typed.condition = "2+2?";
    typed.typedAnswer = "4";
    for (const Task& task : {edits, typed}) {
        const auto folder = tree.write(task, tree.olympiad).folder;
        const auto result = readAnyTask(templates, tree.olympiad, folder);
        ASSERT_EQ(result.status, ReadStatus::Read) << result.report(kavo::Lang::English);
        EXPECT_EQ(*result.task, task);
    }
    EXPECT_EQ(*readEditsTask(templates, tree.olympiad, "PartA/5").task, edits);
    EXPECT_EQ(readEditsTask(templates, tree.olympiad, "PartB/14").status, ReadStatus::Mismatch);
    // A folder named by another program in the legacy code page, not in UTF-8: its bytes.
    Task legacy = edits;
    legacy.folder = cp1251("Правка");
    tree.write(legacy, tree.olympiad);
    const auto read = readEditsTask(templates, tree.olympiad, std::filesystem::path(legacy.folder));
    ASSERT_EQ(read.status, ReadStatus::Read) << read.report(kavo::Lang::English);
    EXPECT_EQ(*read.task, legacy);
    // A folder not named by a number holds no task of the form.
    Task single = choice(TaskKind::SingleChoice, 7);
    const auto written = tree.package(single, tree.olympiad);
    kavo::writeTaskFolder(tree.olympiad.outputDir, "Extra", written.files());
    EXPECT_EQ(readAnyTask(templates, tree.olympiad, "Extra").status, ReadStatus::Mismatch);
    EXPECT_EQ(readAnyTask(templates, tree.olympiad, "Extra", 7).status, ReadStatus::Read);
}

// Every reason a read gives is worded in the report with the folder, the file and the place.
TEST(ReadBack, EveryReasonIsWordedInTheReport) {
    const std::tuple<ReadStatus, ReadReason, const char*> cases[] = {
        {ReadStatus::Mismatch, ReadReason::Differs, "differs from what the program writes"},
        {ReadStatus::Mismatch, ReadReason::RemovedVariantNamed, "a variant the page does not"},
        {ReadStatus::Ambiguous, ReadReason::TemplateText, "holds text of a template"},
        {ReadStatus::Ambiguous, ReadReason::EmptyOrRemoved, "which variants were left empty"},
        {ReadStatus::Ambiguous, ReadReason::Prompt, "holds the answer prompt"},
        {ReadStatus::Ambiguous, ReadReason::Placeholder, "placeholder of the Edits templates"},
        {ReadStatus::Ambiguous, ReadReason::Names, "with its XML reference"},
        {ReadStatus::Ambiguous, ReadReason::Kind, "fit tasks of two kinds"},
        {ReadStatus::Missing, ReadReason::MissingFile, "is missing or cannot be opened"},
    };
    for (const auto& [status, reason, words] : cases) {
        kavo::render::ReadResult read;
        read.status = status;
        read.reason = reason;
        read.folder = "PartB/4";
        read.place = {"task.out", 17, 2, 5};
        const std::string english = read.report(kavo::Lang::English);
        EXPECT_NE(english.find(words), std::string::npos) << english;
        EXPECT_NE(english.find("PartB/4"), std::string::npos) << english;
        EXPECT_NE(english.find("task.out"), std::string::npos) << english;
        if (status != ReadStatus::Missing) {
            EXPECT_NE(english.find("line 2, column 5"), std::string::npos) << english;
        }
        // A teacher counts lines and columns; the byte offset is never shown.
        EXPECT_EQ(english.find("17"), std::string::npos) << english;
        EXPECT_EQ(english.find("byte"), std::string::npos) << english;
        const std::string russian = read.report(kavo::Lang::Russian);
        EXPECT_NE(russian, english);
        EXPECT_EQ(russian.find("байт"), std::string::npos) << russian;
    }
}

// A long search goes many places a step by the stretch's rarest byte: it finds what find
// finds, at every place and alignment, among many near misses.
TEST(ReadBack, LongSearchesFindWhatFindFinds) {
    const Text needles[] = {"<label><%check()%>\r\n\r\n</label>", "</label></li>\r\n<li", "<%",
                            "\r\n</td>\r\n</tr>", "ab"};
    for (const auto& needle : needles) {
        // Near misses: the needle with its last byte changed, over and over.
        Text miss = needle;
        miss.back() = miss.back() == 'x' ? 'y' : 'x';
        Text text;
        while (text.size() < 9000)
            text += miss + "<p>";
        for (const std::size_t at : {0u, 1u, 31u, 32u, 4095u, 5000u, 8999u}) {
            Text with = text;
            with.insert(std::min(at, with.size()), needle);
            for (const std::size_t from : {0u, 7u, 4100u})
                EXPECT_EQ(kavo::render::findText(with, needle, from), with.find(needle, from))
                    << needle << " " << at << " " << from;
        }
        EXPECT_EQ(kavo::render::findText(text, needle), Text::npos) << needle;
    }
    // Two stretches of one first byte sought in one look: either is found, at any place.
    const std::string_view two[] = {"<label><%check()%>", "<li value=\"5\">"};
    Text text;
    while (text.size() < 9000)
        text += "<label><%check()%x <li value=\"4\"> ";
    EXPECT_FALSE(kavo::render::holdsAny(text, {two[0], two[1]}));
    for (const auto& stretch : two)
        for (const std::size_t at : {0u, 33u, 4500u, 8990u}) {
            Text with = text;
            with.insert(at, stretch);
            EXPECT_TRUE(kavo::render::holdsAny(with, {two[0], two[1]})) << stretch << at;
            EXPECT_TRUE(kavo::render::holdsAny(text + Text(stretch), {two[0], two[1]}));
        }
}

// Large conditions whose ends hold removal texts, whole or in part, and pages whose
// condition was edited by hand in its middle: a task is read only when the writer renders it
// to the very files, and a condition the writer keeps as typed reads back as typed.
TEST(ReadBack, LargeConditionsAreProvedAgainstTheWriter) {
    Tree tree;
    kavo::setFileSync(false);
    const auto templates = kavo::render::TemplateSet::load(tree.system);
    Text filler;
    while (filler.size() < 20000)
        filler += "<p>Filler <b>text</b> &amp; more.</p>\r\n";
    std::vector<Text> edges{"", "x"};
    for (const char* name :
         {"Del/Choice.txt", "Del/MultiChoice3.txt", "Del/Radio1.txt", "Del/Spoiler3.txt"}) {
        const Text removal = readBytes(tree.system / name);
        edges.push_back(removal);
        edges.push_back(removal.substr(0, removal.size() / 2));
        edges.push_back(removal.substr(removal.size() / 2));
    }
    int number = 0;
    for (const auto kind : {TaskKind::SingleChoice, TaskKind::FoldedChoice,
                            TaskKind::MultipleChoice, TaskKind::MultipleChoiceFolded})
        for (const auto& edge : edges)
            for (const bool atEnd : {false, true}) {
                number = number % 30 + 1;
                Task task = choice(kind, number, {"a", "b", "c", std::nullopt, std::nullopt});
                task.condition = atEnd ? filler + edge : edge + filler;
                const auto folder = tree.write(task, tree.olympiad).folder;
                const auto read = readTask(templates, tree.olympiad, folder, number);
                SCOPED_TRACE(std::to_string(static_cast<int>(kind)) + " " + edge + " " +
                             std::to_string(atEnd));
                if (read.status == ReadStatus::Read) {
                    EXPECT_TRUE(tree.rendersTo(*read.task, tree.olympiad, folder));
                }
                if (edge.size() < 2) {
                    ASSERT_EQ(read.status, ReadStatus::Read);
                    EXPECT_EQ(*read.task, task);
                }
            }
    // Hand edits in the middle of a written condition.
    Task task = choice(TaskKind::MultipleChoice, 5, {"a", "b", "c", std::nullopt, "e"});
    task.condition = filler;
    const auto folder = tree.write(task, tree.olympiad).folder;
    const auto page = tree.file(folder, "task.asp");
    const Text written = readBytes(page);
    const auto middle = written.find("Filler", 10000);
    Text edited = written;
    edited[middle] = 'G';
    writeBytes(page, edited);
    auto read = readTask(templates, tree.olympiad, folder, 5);
    ASSERT_EQ(read.status, ReadStatus::Read);
    Task expected = task;
    expected.condition[middle - written.find(filler)] = 'G';
    EXPECT_EQ(*read.task, expected);
    // A removal text the writer would have taken out.
    edited = written;
    edited.insert(middle, readBytes(tree.system / "Del/Choice.txt"));
    writeBytes(page, edited);
    read = readTask(templates, tree.olympiad, folder, 5);
    EXPECT_NE(read.status, ReadStatus::Read);
    kavo::setFileSync(true);
}
