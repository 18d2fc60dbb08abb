// SPDX-License-Identifier: MIT
// The check of a whole task tree, and the refusals that keep one number in one folder.
#include "core/common/codepage.hpp"
#include "core/common/error.hpp"
#include "core/common/files.hpp"
#include "core/edits/edits_task.hpp"
#include "core/olympiad/gift_import.hpp"
#include "core/olympiad/olympiad_write.hpp"
#include "core/olympiad/page_text.hpp"
#include "core/olympiad/tree_check.hpp"
#include "core/olympiad/tree_overview.hpp"
#include "core/render/task_tree.hpp"
#include "core/tasks/add_task.hpp"
#include "render/tree.hpp"
#include "support/sample_tasks.hpp"

#include <gtest/gtest.h>

#include <functional>

#include <fcntl.h>
#include <unistd.h>

namespace fs = std::filesystem;
using kavo::Lang;
using kavo::model::Task;
using kavo::model::TaskKind;
using kavo::olympiad::Severity;
using kavo::test::cp1251;
using kavo::test::editsTask;
using kavo::test::formTask;
using kavo::test::listTree;
using kavo::test::Tree;
using kavo::test::writeBytes;

namespace {

using Build = std::function<void(Tree&)>;

kavo::model::Olympiad sized(const Tree& tree, kavo::model::PartSizes sizes) {
    return {tree.olympiad.outputDir, sizes};
}

// A task of the form with its own condition, so that no two conditions repeat.
Task taskNumbered(TaskKind kind, int number) {
    Task task = formTask(kind, number);
    task.condition = "Task number " + std::to_string(number) + ": how much is 2 + 2?";
    return task;
}

kavo::olympiad::TreeCheck checked(const Tree& tree, Lang lang = Lang::English) {
    return kavo::olympiad::checkTree(kavo::render::TemplateSet::load(tree.system),
                                     tree.olympiad.outputDir, lang);
}

std::string shown(const kavo::olympiad::TreeCheck& check) {
    std::string all;
    for (const auto& row : check.rows)
        all += (row.severity == Severity::Error ? "E " : "W ") + rowText(row, Lang::English) + "\n";
    return all;
}

} // namespace

// Each row of the check from a tree that holds that one fault beside good tasks.
TEST(TreeCheck, EveryRowOfTheCheck) {
    struct Case {
        const char* what;
        Build build;
        Severity severity;
        const char* folder; // of the row; "" for the olympiad as a whole
        const char* holds;  // in the row's text
        bool stopsExport = false;
    };
    const auto three = [](Tree& t, kavo::model::PartSizes sizes) {
        for (int n = 1; n <= 3; ++n)
            t.write(taskNumbered(TaskKind::TypedAnswer, n), sized(t, sizes));
    };
    const Case cases[] = {
        {"two folders hold number 4",
         [&](Tree& t) {
             three(t, {4, 4, 2});
             t.write(taskNumbered(TaskKind::TypedAnswer, 4), sized(t, {4, 4, 2}));
             t.write(taskNumbered(TaskKind::TypedAnswer, 4), sized(t, {3, 3, 2}));
         },
         Severity::Error, "PartB/4", "number 4 is held by more than one folder (PartA/4, PartB/4)",
         true},
        {"a task outside the part sizes found",
         [&](Tree& t) {
             t.write(taskNumbered(TaskKind::TypedAnswer, 1), sized(t, {3, 3, 0}));
             t.write(taskNumbered(TaskKind::TypedAnswer, 3), sized(t, {3, 3, 0}));
             t.write(taskNumbered(TaskKind::TypedAnswer, 2), sized(t, {1, 2, 0}));
         },
         Severity::Error, "PartB/2",
         "number 2 lies outside the part sizes found in the tree (A 3, B 0, C 0): they put task 2 "
         "in PartA/2",
         true},
        {"a task that does not read back",
         [&](Tree& t) {
             three(t, {3, 0, 0});
             writeBytes(t.file("2", "task.out"), "countby=test\r\nans1=9\r\n");
         },
         Severity::Error, "2", "cannot be read: task.out, line "},
        {"the scoring file names a removed variant",
         [&](Tree& t) {
             three(t, {3, 0, 0});
             Task task = formTask(TaskKind::FoldedChoice, 4);
             t.write(task, sized(t, {4, 0, 0}));
             const auto out = kavo::test::readBytes(t.file("4", "task.out"));
             auto edited = out;
             edited.replace(out.find("ans1=1"), 6, "ans1=4");
             writeBytes(t.file("4", "task.out"), edited);
         },
         Severity::Error, "4", "the scoring file gives answer E, the page has no variant E"},
        {"a picture the page shows is missing",
         [&](Tree& t) {
             Task task = taskNumbered(TaskKind::TypedAnswer, 1);
             task.picture = true;
             t.write(task, sized(t, {1, 0, 0}));
         },
         Severity::Error, "1", "webfiles/picture.jpg is missing"},
        {"a file where a number's folder belongs",
         [&](Tree& t) {
             three(t, {3, 0, 0});
             writeBytes(t.olympiad.outputDir / "7", "not a folder");
         },
         Severity::Error, "7", "7 is a file, not a folder"},
        {"a hole in the numbering",
         [&](Tree& t) {
             t.write(taskNumbered(TaskKind::TypedAnswer, 1), sized(t, {3, 0, 0}));
             t.write(taskNumbered(TaskKind::TypedAnswer, 3), sized(t, {3, 0, 0}));
         },
         Severity::Warning, "2", "number 2 holds no task"},
        {"a stray '<'",
         [&](Tree& t) {
             Task task = taskNumbered(TaskKind::TypedAnswer, 1);
             task.condition = "Is x <y and y > z?";
             t.write(task, sized(t, {1, 0, 0}));
         },
         Severity::Warning, "1", "Condition holds a '<' that the browser takes"},
        {"a blank variant",
         [&](Tree& t) {
             Task task = taskNumbered(TaskKind::SingleChoice, 1);
             task.variants[2] = "&nbsp;";
             t.write(task, sized(t, {1, 0, 0}));
         },
         Severity::Warning, "1", "variant C holds only blanks"},
        {"answers bunched on one letter",
         [&](Tree& t) {
             for (int n = 1; n <= 4; ++n) {
                 Task task = taskNumbered(TaskKind::SingleChoice, n);
                 task.answer = n == 4 ? 0 : 3;
                 t.write(task, sized(t, {4, 0, 0}));
             }
         },
         Severity::Warning, "", "the right answer of 3 of the 4 single-choice tasks is D"},
        {"a condition repeated exactly",
         [&](Tree& t) {
             t.write(formTask(TaskKind::TypedAnswer, 1), sized(t, {2, 0, 0}));
             t.write(formTask(TaskKind::MultipleChoice, 2), sized(t, {2, 0, 0}));
         },
         Severity::Warning, "2", "repeats the condition in 1 exactly"},
        {"a folder named with a leading zero",
         [&](Tree& t) {
             t.write(taskNumbered(TaskKind::TypedAnswer, 1), sized(t, {1, 0, 0}));
             t.write(editsTask("04"), sized(t, {1, 0, 0}));
         },
         Severity::Warning, "04", "named like number 4 with a leading zero"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Tree tree;
        c.build(tree);
        const std::string before = listTree(tree.olympiad.outputDir);
        const auto check = checked(tree);
        EXPECT_EQ(listTree(tree.olympiad.outputDir), before) << "a check writes nothing";
        const auto found = std::find_if(check.rows.begin(), check.rows.end(), [&](const auto& r) {
            return r.folder == fs::path(c.folder) && r.text.find(c.holds) != std::string::npos;
        });
        ASSERT_NE(found, check.rows.end()) << shown(check);
        EXPECT_EQ(found->severity, c.severity) << shown(check);
        EXPECT_EQ(check.stopsExport(), c.stopsExport) << shown(check);
        // Nothing else is wrong with these trees: the one fault is the only error.
        EXPECT_EQ(check.count(Severity::Error),
                  c.severity == Severity::Error
                      ? std::size_t(1 + (c.stopsExport && c.folder == std::string("PartB/4")))
                      : 0u)
            << shown(check);
        // Both languages word every row; the Russian one differs.
        const auto russian = checked(tree, Lang::Russian);
        ASSERT_EQ(russian.rows.size(), check.rows.size());
        for (std::size_t i = 0; i < check.rows.size(); ++i)
            EXPECT_NE(russian.rows[i].text, check.rows[i].text);
    }
}

TEST(TreeCheck, CleanTreeHasNoRows) {
    Tree tree;
    tree.write(taskNumbered(TaskKind::SingleChoice, 1), sized(tree, {1, 1, 0}));
    tree.write(editsTask("PartB/2"), sized(tree, {1, 1, 0}));
    const auto check = checked(tree);
    EXPECT_TRUE(check.rows.empty()) << shown(check);
    EXPECT_EQ(check.folders, 2u);
    EXPECT_EQ(check.sizes, (kavo::model::PartSizes{1, 1, 0}));
}

// Add task, the Edits save and the import refuse a number that a folder of another part holds;
// the refusal names both folders and the sizes of the tree, and nothing is written.
TEST(TreeCheck, OneNumberOneTask) {
    // Each write returns its refusal (UTF-8), or nothing when it wrote.
    using Write = std::function<std::string(Tree&)>;
    const auto refusalOf = [](const std::function<void()>& write) {
        try {
            write();
        } catch (const kavo::Error& error) {
            return error.report(Lang::English);
        }
        return std::string();
    };
    const std::pair<const char*, Write> cases[] = {
        {"Add task's write",
         [&](Tree& t) {
             return refusalOf([&] {
                 kavo::tasks::writeTask(taskNumbered(TaskKind::TypedAnswer, 4), sized(t, {4, 4, 2}),
                                        t.system, Lang::English);
             });
         }},
        {"the Edits save of a number",
         [](Tree& t) {
             kavo::edits::EditsForm form = kavo::edits::editsFormOf(editsTask("4"));
             const auto result =
                 kavo::edits::saveEditsTask(form, kavo::render::readEditsTemplates(t.system),
                                            sized(t, {4, 4, 2}), Lang::English, {});
             EXPECT_FALSE(result.written);
             return kavo::cp1251ToUtf8(result.message);
         }},
        {"the import",
         [&](Tree& t) {
             const fs::path file = t.dir.path() / "olympiad.gift";
             writeBytes(file, "$CATEGORY: kavo/parts/4,4,2\n\n::One:: One? {=1}\n\n"
                              "// kavo: number=4\n::Four:: Four? {=4}\n");
             const auto import = kavo::olympiad::importGiftFile(file);
             EXPECT_EQ(kavo::olympiad::countErrors(import.problems), 0u);
             return refusalOf([&] {
                 kavo::olympiad::writeOlympiad(import, t.system, t.olympiad.outputDir,
                                               Lang::English, {});
             });
         }},
    };
    for (const auto& [what, write] : cases) {
        SCOPED_TRACE(what);
        Tree tree;
        for (int n = 1; n <= 4; ++n)
            tree.write(taskNumbered(TaskKind::TypedAnswer, n), sized(tree, {3, 3, 2}));
        const std::string before = listTree(tree.olympiad.outputDir);
        const std::string refusal = write(tree);
        for (const char* holds :
             {"Task 4 is already written in PartB/4, and these part sizes put it in PartA/4",
              "Nothing is written", "fit the part sizes A 3, B 1, C 0"})
            EXPECT_NE(refusal.find(holds), std::string::npos) << holds << "\n" << refusal;
        EXPECT_EQ(listTree(tree.olympiad.outputDir), before);
    }
    // Rewriting the folder that holds the number is no duplicate; a folder outside the parts
    // names no number.
    // The same looked at from the tree's name and from the tree held open (as under its lock).
    Tree tree;
    tree.write(taskNumbered(TaskKind::TypedAnswer, 4), sized(tree, {3, 3, 2}));
    const int open = ::open(tree.olympiad.outputDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(open, 0);
    for (const int fd : {-1, open}) {
        const auto& dir = tree.olympiad.outputDir;
        EXPECT_FALSE(kavo::render::numberHeldElsewhere(dir, 4, "PartB/4", fd));
        EXPECT_FALSE(kavo::render::numberHeldElsewhere(dir, 4, "PartB//4", fd));
        EXPECT_EQ(kavo::render::numberHeldElsewhere(dir, 4, "4", fd), fs::path("PartB/4"));
        EXPECT_EQ(kavo::render::numberHeldElsewhere(dir, 4, "PartC/4", fd), fs::path("PartB/4"));
        EXPECT_FALSE(kavo::render::numberHeldElsewhere(dir, 4, "Extra/4", fd));
    }
    ::close(open);
}

// Another program writes the number into another part's folder while the teacher answers a
// question: the write looks again under the tree's lock and refuses, writing nothing.
TEST(TreeCheck, NumberWrittenElsewhereDuringTheQuestionIsRefused) {
    Tree tree;
    tree.write(taskNumbered(TaskKind::TypedAnswer, 1), sized(tree, {4, 4, 2}));
    kavo::edits::EditsForm form = kavo::edits::editsFormOf(editsTask("4"));
    form.Memo1 += " if x <y then";
    kavo::edits::EditsQuestions ask;
    ask.markup = [&](const kavo::Text&) {
        tree.write(taskNumbered(TaskKind::TypedAnswer, 4), sized(tree, {3, 3, 2}));
        return true;
    };
    const auto result =
        kavo::edits::saveEditsTask(form, kavo::render::readEditsTemplates(tree.system),
                                   sized(tree, {4, 4, 2}), Lang::English, ask);
    EXPECT_FALSE(result.written);
    const auto message = kavo::cp1251ToUtf8(result.message);
    EXPECT_NE(message.find("Task 4 is already written in PartB/4"), std::string::npos) << message;
    EXPECT_FALSE(form.Memo1.empty()) << "the form is kept";
    EXPECT_FALSE(fs::exists(tree.olympiad.outputDir / "PartA" / "4"));
    EXPECT_FALSE(fs::exists(tree.olympiad.outputDir / "4"));
}

// The overview marks a number held twice and a number outside the sizes, and shows the
// condition's first line as plain text.
TEST(TreeCheck, OverviewMarksPlaceProblemsAndShowsTheCondition) {
    Tree tree;
    Task first = taskNumbered(TaskKind::TypedAnswer, 1);
    first.condition = "\r\n  <b>Sum</b> &amp; difference &#1071;:\r\nsecond line";
    tree.write(first, sized(tree, {2, 2, 0}));
    tree.write(taskNumbered(TaskKind::TypedAnswer, 2), sized(tree, {2, 2, 0}));
    tree.write(taskNumbered(TaskKind::TypedAnswer, 2), sized(tree, {1, 2, 0}));
    const auto rows = kavo::olympiad::overviewRows(kavo::render::TemplateSet::load(tree.system),
                                                   tree.olympiad.outputDir, Lang::English);
    ASSERT_EQ(rows.size(), 3u);
    ASSERT_TRUE(rows[0].condition);
    EXPECT_EQ(*rows[0].condition, "Sum & difference Я:");
    EXPECT_EQ(rows[0].problem, "");
    EXPECT_NE(rows[1].problem.find("number 2 is held by more than one folder"), std::string::npos)
        << rows[1].problem;
    EXPECT_NE(rows[2].problem.find("outside the part sizes"), std::string::npos) << rows[2].problem;
}

// Bad input: every fault is reported with its folder, the check finishes, nothing is written.
TEST(TreeCheck, BadInputIsReportedFolderByFolder) {
    Tree tree;
    const fs::path out = tree.olympiad.outputDir;
    for (int i = 0; i < 500; ++i)
        writeBytes(out / "Extra" / ("Folder" + std::to_string(i)) / "notes.txt", "not a task");
    tree.write(taskNumbered(TaskKind::TypedAnswer, 4), sized(tree, {4, 0, 0}));
    tree.write(taskNumbered(TaskKind::TypedAnswer, 4), sized(tree, {4, 1, 0}));
    writeBytes(out / "PartA" / "3", "a file");
    writeBytes(out / "04" / "task.asp", "a page");
    tree.write(taskNumbered(TaskKind::TypedAnswer, 1), sized(tree, {4, 1, 0}));
    writeBytes(tree.file("PartA/1", "task.out"), "");
    tree.write(taskNumbered(TaskKind::TypedAnswer, 2), sized(tree, {4, 1, 0}));
    writeBytes(tree.file("PartA/2", "task.out"), std::string(10 << 20, 'x'));
    writeBytes(out / cp1251("Задача") / "task.xml", "x");
    writeBytes(out / "Задача" / "task.xml", "x");
    const std::string before = listTree(out);
    const auto check = checked(tree);
    EXPECT_EQ(listTree(out), before);
    const std::string all = shown(check);
    for (const char* row : {"E 4: number 4 is held by more than one folder (4, PartA/4)",
                            "E PartA/4: number 4 is held", "E PartA/3: PartA/3 is a file",
                            "E 04: The task in 04 cannot be read",
                            "E PartA/1: The task in PartA/1 cannot be read: task.out, line 1",
                            "E PartA/2: The task in PartA/2 cannot be read: task.out, line 1",
                            "E Задача: ", "W 04: the folder is named like number 4"})
        EXPECT_NE(all.find(row), std::string::npos) << row << "\n" << all;
    // The Windows-1251 name is shown decoded, as the UTF-8 one: two rows name "Задача".
    std::size_t named = 0;
    for (std::size_t at = all.find("E Задача: "); at != std::string::npos;
         at = all.find("E Задача: ", at + 1))
        ++named;
    EXPECT_EQ(named, 2u) << all;
}

// The first line shown is that of the whole typed line made plain text, wherever the first
// break stands: a tag the plain text breaks at, a reference to a line feed, a tag that only
// looks like a break, a "<" whose ">" comes after the break, or no break in a long line.
TEST(TreeCheck, ConditionLineEndsAtTheFirstBreakOfTheWholeLine) {
    const std::string longText(300000, 'w');
    const std::string cases[] = {
        "a<br>b",
        "a<BR/>b</p>c",
        "  <p>a</p>b",
        "a</div >b<br>c",
        "a</DIV>b",
        "a</li>b",
        "a<brx>b",
        "a&#10;b<br>c",
        "a<!-- <br> -->b",
        "a <b c<br>d",
        "a<b",
        "a < b > c</p>",
        "<br><br>",
        "&amp;<br>",
        "x\ny<br>z",
        longText + "<b>bold</b> &lt; " + longText,
        longText + "</p>" + longText,
        "a<i>" + longText + "</P>b",
        // Windows-1251 text, decoded before it is stripped.
        "\xC0 \xE1\xE2&nbsp;<b>\xE3</b><br>\xE4",
        "  \xC0&amp;" + longText + "\xFF ",
    };
    for (const auto& line : cases) {
        Task task;
        task.condition = line + "\r\nnext";
        // The first line of the line made plain text whole, as the overview showed it.
        const std::string plain = kavo::olympiad::stripMarkup(kavo::cp1251ToUtf8(line));
        std::string_view first = std::string_view(plain).substr(0, plain.find('\n'));
        const auto begin = first.find_first_not_of(" \t\r");
        const std::string expected =
            begin == std::string_view::npos
                ? "next"
                : std::string(first.substr(begin, first.find_last_not_of(" \t\r") + 1 - begin));
        EXPECT_EQ(kavo::olympiad::conditionLine(task), expected) << line.substr(0, 40);
    }
}

// Large conditions of one size that differ only in the middle are not the same condition;
// equal ones are, however far apart.
TEST(TreeCheck, RepeatedLargeConditionsAreComparedWhole) {
    Tree tree;
    std::string condition(8000, 'x');
    Task first = taskNumbered(TaskKind::TypedAnswer, 1);
    first.condition = condition;
    Task second = taskNumbered(TaskKind::TypedAnswer, 2);
    second.condition = condition;
    second.condition[4000] = 'y';
    Task third = taskNumbered(TaskKind::SingleChoice, 3);
    third.condition = second.condition;
    Task fourth = taskNumbered(TaskKind::MultipleChoice, 4);
    fourth.condition = condition;
    for (const Task& task : {first, second, third, fourth})
        tree.write(task, sized(tree, {4, 0, 0}));
    std::string repeats;
    for (const auto& row : checked(tree).rows)
        if (row.text.find("repeats the condition") != std::string::npos)
            repeats += row.folder.generic_string() + ": " + row.text + "\n";
    EXPECT_EQ(repeats, "3: the condition repeats the condition in 2 exactly.\n"
                       "4: the condition repeats the condition in 1 exactly.\n");
}

// Conditions of 1 MB are met by a hash of pieces spread over them, then hashed whole and
// compared: equal ones repeat, ones that differ in their last byte or between the pieces
// hashed do not. Through a cache, a folder rewritten since the last check is read again.
TEST(TreeCheck, LargeConditionsRepeatOnlyWhenEqual) {
    Tree tree;
    kavo::setFileSync(false);
    const std::size_t size = 1 << 20;
    const auto base = [&](char letter) { return "Task " + std::string(size, letter); };
    std::string last = base('b'), middle = base('c');
    last.back() = 'z';
    // Between the pieces 7 and 8 of sixteen.
    middle[5 + (size - 64) * 7 / 15 + 64 + 1000] = 'z';
    const std::string conditions[] = {base('a'), base('a'), base('b'), last,
                                      base('c'), middle,    base('d')};
    for (int n = 1; n <= 7; ++n) {
        Task task = taskNumbered(TaskKind::TypedAnswer, n);
        task.condition = conditions[n - 1];
        tree.write(task, sized(tree, {7, 0, 0}));
    }
    const auto repeats = [&](kavo::render::StateCache* cache) {
        std::string found;
        const auto check = kavo::olympiad::checkTree(kavo::render::TemplateSet::load(tree.system),
                                                     tree.olympiad.outputDir, Lang::English, cache);
        for (const auto& row : check.rows)
            if (row.text.find("repeats the condition") != std::string::npos)
                found += row.folder.generic_string() + ": " + row.text + "\n";
        return found;
    };
    EXPECT_EQ(repeats(nullptr), "2: the condition repeats the condition in 1 exactly.\n");
    kavo::render::StateCache cache;
    EXPECT_EQ(repeats(&cache), "2: the condition repeats the condition in 1 exactly.\n");
    Task seventh = taskNumbered(TaskKind::TypedAnswer, 7);
    seventh.condition = base('c');
    tree.write(seventh, sized(tree, {7, 0, 0}));
    EXPECT_EQ(repeats(&cache), "2: the condition repeats the condition in 1 exactly.\n"
                               "7: the condition repeats the condition in 5 exactly.\n");
    // The overview's cell shows the first 1,000 bytes of a longer first line, and "…".
    const auto rows = kavo::olympiad::overviewRows(kavo::render::TemplateSet::load(tree.system),
                                                   tree.olympiad.outputDir, Lang::English, &cache);
    ASSERT_EQ(rows.size(), 7u);
    ASSERT_TRUE(rows[0].condition);
    EXPECT_EQ(*rows[0].condition, base('a').substr(0, kavo::olympiad::CellLimit) + "\u2026");
    kavo::setFileSync(true);
}
