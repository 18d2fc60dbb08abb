// SPDX-License-Identifier: MIT
// What the number lists and the overview read from a task tree: the state of each number,
// the overview rows in their order, and a tree full of bad input read without a write.
#include "core/olympiad/tree_overview.hpp"
#include "core/olympiad/tree_read.hpp"
#include "core/render/task_state.hpp"
#include "core/render/task_tree.hpp"
#include "render/tree.hpp"
#include "support/sample_tasks.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace fs = std::filesystem;
using kavo::Lang;
using kavo::model::Task;
using kavo::model::TaskKind;
using kavo::render::FolderStatus;
using kavo::test::cp1251;
using kavo::test::editsTask;
using kavo::test::formTask;
using kavo::test::listTree;
using kavo::test::Tree;
using kavo::test::writeBytes;

namespace {

kavo::render::FolderState stateOf(const Tree& tree, const char* folder, int number) {
    const auto templates = kavo::render::TemplateSet::load(tree.system);
    return kavo::render::folderState(templates, tree.olympiad, folder, number, Lang::English);
}

} // namespace

TEST(TaskState, NumberStatesMarkEachNumber) {
    Tree tree;
    tree.olympiad.sizes = {2, 2, 2};
    tree.write(formTask(TaskKind::MultipleChoice, 1), tree.olympiad);
    tree.write(editsTask("PartB/3"), tree.olympiad);
    tree.write(formTask(TaskKind::SingleChoice, 4), tree.olympiad);
    writeBytes(tree.file("PartB/4", "task.asp"), "edited by hand\r\n");
    writeBytes(tree.olympiad.outputDir / "PartC" / "5", "a file where a folder belongs");
    fs::create_directories(tree.olympiad.outputDir / "PartC" / "6" / "webfiles");

    const auto states = kavo::render::numberStates(kavo::render::TemplateSet::load(tree.system),
                                                   tree.olympiad, Lang::English);
    struct Expected {
        FolderStatus status;
        const char* mark;
        const char* reasonHolds; // in the tooltip, after the mark
    };
    const Expected expected[] = {
        {FolderStatus::Written, "multiple choice", ""},
        {FolderStatus::Empty, "no task yet", ""},
        {FolderStatus::Written, "Edits task", ""},
        {FolderStatus::Unreadable, "cannot be read back", "PartB/4 cannot be read: task.asp"},
        {FolderStatus::Unreadable, "cannot be read back", "PartC/5 is a file, not a folder"},
        {FolderStatus::Empty, "no task yet", ""},
    };
    ASSERT_EQ(states.size(), std::size(expected));
    for (std::size_t i = 0; i < states.size(); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(states[i].status, expected[i].status);
        EXPECT_EQ(kavo::render::markName(states[i], Lang::English), expected[i].mark);
        const auto tip = kavo::render::markTip(std::to_string(i + 1), states[i], Lang::English);
        EXPECT_TRUE(tip.starts_with("Task " + std::to_string(i + 1) + ": " + expected[i].mark))
            << tip;
        EXPECT_NE(tip.find(expected[i].reasonHolds), std::string::npos) << tip;
    }
    EXPECT_EQ(kavo::render::markName(states[1], Lang::Russian), "задачи ещё нет");
    // What a write would replace: a file in place of the folder is not free either.
    for (const auto& [folder, free] : {std::pair{"PartA/2", true}, std::pair{"PartC/6", true},
                                       std::pair{"PartB/4", false}, std::pair{"PartC/5", false}})
        EXPECT_EQ(kavo::render::holdsNoTask(tree.olympiad.outputDir / folder), free) << folder;
}

TEST(TaskState, CacheReadsAgainWhatChangedOnDiskOrInTheTemplates) {
    Tree tree;
    tree.olympiad.sizes = {1, 0, 0};
    tree.olympiad.identifiersWithoutPart = true;
    kavo::render::StateCache cache;
    const auto kind = [&] {
        const auto states = kavo::render::numberStates(kavo::render::TemplateSet::load(tree.system),
                                                       tree.olympiad, Lang::English, &cache);
        return kavo::render::markName(states.at(0), Lang::English);
    };
    const struct {
        const char* what;
        std::function<void()> change;
        const char* mark;
    } steps[] = {
        {"nothing yet", [] {}, "no task yet"},
        {"written", [&] { tree.write(formTask(TaskKind::SingleChoice, 1), tree.olympiad); },
         "single choice"},
        {"replaced as a whole",
         [&] { tree.write(formTask(TaskKind::TypedAnswer, 1), tree.olympiad); }, "typed answer"},
        {"edited in place",
         [&] {
             std::ofstream(tree.file("1", "task.out"), std::ios::binary | std::ios::app) << "x";
         },
         "cannot be read back"},
        {"written again", [&] { tree.write(formTask(TaskKind::SingleChoice, 1), tree.olympiad); },
         "single choice"},
        {"its template changed",
         [&] {
             std::ofstream(tree.system / "file" / "task_part2.txt",
                           std::ios::binary | std::ios::app)
                 << "<p>changed</p>\r\n";
         },
         "cannot be read back"},
    };
    for (const auto& step : steps) {
        step.change();
        EXPECT_EQ(kind(), step.mark) << step.what;
    }
}

// The question before a replace names what the folder holds, whatever kind is about to be
// written there; the Edits builder reads back with the templates it holds from its start.
TEST(TaskState, ReplacedFolderIsNamedWhateverKindComesNext) {
    Tree tree;
    tree.olympiad.sizes = {5, 0, 0};
    tree.olympiad.identifiersWithoutPart = true;
    tree.write(formTask(TaskKind::SingleChoice, 1), tree.olympiad);
    tree.write(formTask(TaskKind::TypedAnswer, 2), tree.olympiad);
    tree.write(formTask(TaskKind::MultipleChoice, 3), tree.olympiad);
    tree.write(editsTask("4"), tree.olympiad);
    writeBytes(tree.file("5", "task.asp"), "edited by hand\r\n");
    const auto held = kavo::render::readEditsTemplates(tree.system);
    const auto wording = [](const kavo::render::FolderState& s) {
        return s.status == FolderStatus::Written
                   ? kavo::render::markName(s, Lang::English)
                   : std::string(s.status == FolderStatus::Empty ? "empty" : "unreadable");
    };
    const std::optional<TaskKind> likely[] = {std::nullopt, TaskKind::SingleChoice,
                                              TaskKind::TypedAnswer, TaskKind::MultipleChoice,
                                              TaskKind::Edits};
    const char* expected[] = {"single choice", "typed answer", "multiple choice", "Edits task",
                              "unreadable"};
    for (int number = 1; number <= 5; ++number) {
        const auto folder = std::to_string(number);
        for (const auto& kind : likely) {
            SCOPED_TRACE(folder + " likely " + (kind ? std::to_string(int(*kind)) : "none"));
            const auto fresh = kavo::render::TemplateSet::load(tree.system);
            EXPECT_EQ(wording(kavo::render::replacedState(fresh, tree.olympiad, folder,
                                                          std::nullopt, Lang::English, kind)),
                      expected[number - 1]);
            const auto builder = kavo::render::TemplateSet::withEdits(tree.system, held);
            EXPECT_EQ(wording(kavo::render::replacedState(builder, tree.olympiad, folder,
                                                          std::nullopt, Lang::English, kind)),
                      expected[number - 1]);
        }
    }
    // The builder's held templates are what it reads back with, not the files changed since.
    for (const char* name : {"task1.asp", "task2.asp", "task3.asp"})
        std::ofstream(tree.system / "file_for_edits" / name, std::ios::binary | std::ios::app)
            << "<p>changed</p>\r\n";
    EXPECT_EQ(wording(kavo::render::replacedState(kavo::render::TemplateSet::load(tree.system),
                                                  tree.olympiad, "4", std::nullopt, Lang::English,
                                                  TaskKind::Edits)),
              "unreadable");
    const auto builder = kavo::render::TemplateSet::withEdits(tree.system, held);
    EXPECT_EQ(wording(kavo::render::replacedState(builder, tree.olympiad, "4", std::nullopt,
                                                  Lang::English, TaskKind::Edits)),
              "Edits task");
}

TEST(TaskState, OverviewListsEveryTaskByPartThenNumber) {
    Tree tree;
    struct Written {
        Task task;
        bool picture = false;
    };
    Task named = formTask(TaskKind::FoldedChoice, 14);
    named.names = kavo::model::OwnNames{cp1251("Сумма «углов»"), "Sum of 'angles'"};
    Task pictured = formTask(TaskKind::SingleChoice, 2);
    pictured.picture = true;
    Task missingPicture = formTask(TaskKind::TypedAnswer, 25);
    missingPicture.picture = true;
    const Written written[] = {
        {formTask(TaskKind::MultipleChoiceFolded, 26)},
        {editsTask("PartB/Поезд")},
        {named},
        {pictured, true},
        {missingPicture},
        {formTask(TaskKind::MultipleChoice, 3)},
        {editsTask("PartB/13")},
        {editsTask("Extra/Train")},
    };
    for (const auto& w : written) {
        tree.write(w.task, tree.olympiad);
        if (w.picture)
            writeBytes(tree.file("PartA/2", "webfiles/picture.jpg"), "\xFF\xD8\xFF");
    }
    tree.write(formTask(TaskKind::SingleChoice, 15), tree.olympiad);
    fs::remove(tree.file("PartB/15", "task.out"));

    const auto rows = kavo::olympiad::overviewRows(kavo::render::TemplateSet::load(tree.system),
                                                   tree.olympiad.outputDir, Lang::English);
    struct Expected {
        const char* place;
        const char* part;
        const char* kind;
        const char* names;
        const char* answer;
        const char* picture;
        const char* readsBack; // its beginning
    };
    const Expected expected[] = {
        {"2", "A", "single choice", "TaskA2", "B", "present", "yes"},
        {"3", "A", "multiple choice", "TaskA3", "A, C", "", "yes"},
        {"13", "B", "Edits task", "Поезд «Ласточка»", "A: 3; B: 13:00", "", "yes"},
        {"14", "B", "single choice, folded", "Сумма «углов» / Sum of 'angles'", "B", "", "yes"},
        {"15", "B", "cannot be read back", "", "", "",
         "The task in PartB/15 cannot be read: the file task.out is missing"},
        {"PartB/Поезд", "B", "Edits task", "Поезд «Ласточка»", "A: 3; B: 13:00", "", "yes"},
        {"25", "C", "typed answer", "TaskC25", "4", "missing: webfiles/picture.jpg", "yes"},
        {"26", "C", "multiple choice, folded", "TaskC26", "A, C", "", "yes"},
        {"Extra/Train", "", "Edits task", "Поезд «Ласточка»", "A: 3; B: 13:00", "", "yes"},
    };
    ASSERT_EQ(rows.size(), std::size(expected));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& row = rows[i];
        const auto& want = expected[i];
        SCOPED_TRACE(want.place);
        EXPECT_EQ(row.place, want.place);
        EXPECT_EQ(row.part, want.part);
        EXPECT_EQ(row.kind, want.kind);
        EXPECT_EQ(row.names, want.names);
        EXPECT_EQ(row.answer, want.answer);
        EXPECT_EQ(row.picture, want.picture);
        EXPECT_TRUE(row.readsBack.starts_with(want.readsBack)) << row.readsBack;
    }
}

TEST(TaskState, BadInputIsShownAndNothingIsWritten) {
    Tree tree;
    const fs::path out = tree.olympiad.outputDir;
    // 500 folders: some tasks, the others holding other files, files, or empty folders.
    for (int i = 0; i < 500; ++i) {
        const fs::path folder = out / ("Folder" + std::to_string(i));
        if (i % 25 == 0)
            tree.write(editsTask(("Folder" + std::to_string(i)).c_str()), tree.olympiad);
        else if (i % 3 == 0)
            writeBytes(folder / "notes.txt", "not a task");
        else if (i % 3 == 1)
            writeBytes(folder, "a file");
        else
            fs::create_directories(folder / "deeper" / "still");
    }
    // A package file that cannot be read (a folder by its name) and a package missing a file.
    tree.write(formTask(TaskKind::SingleChoice, 1), tree.olympiad);
    fs::remove(tree.file("PartA/1", "task.asp"));
    fs::create_directories(tree.file("PartA/1", "task.asp"));
    tree.write(formTask(TaskKind::SingleChoice, 2), tree.olympiad);
    fs::remove(tree.file("PartA/2", "TASK.CFG"));
    const std::string before = listTree(out);

    const auto rows = kavo::olympiad::overviewRows(kavo::render::TemplateSet::load(tree.system),
                                                   out, Lang::Russian);
    ASSERT_EQ(rows.size(), 22u);
    for (std::size_t i = 0; i < 20; ++i)
        EXPECT_EQ(rows[i].kind, "задача Edits") << rows[i].place;
    for (std::size_t i = 20; i < 22; ++i) {
        EXPECT_EQ(rows[i].state.status, FolderStatus::Unreadable) << rows[i].place;
        EXPECT_EQ(rows[i].kind, "не читается");
    }
    EXPECT_NE(rows[20].readsBack.find("task.asp"), std::string::npos) << rows[20].readsBack;
    EXPECT_NE(rows[21].readsBack.find("TASK.CFG"), std::string::npos) << rows[21].readsBack;
    EXPECT_EQ(stateOf(tree, "PartA/1", 1).status, FolderStatus::Unreadable);
    EXPECT_EQ(listTree(out), before);
}

// The folders of a tree in the order an export lists them: numbered ones by number (not by
// name: 2 before 10), then the others by name; a folder holding any package file counts.
TEST(TaskState, TaskFoldersComeByNumberThenByName) {
    Tree tree;
    const fs::path out = tree.olympiad.outputDir;
    for (const char* folder : {"10", "Extra", "2", "PartA/3", "Alpha"})
        writeBytes(out / folder / "task.xml", "<task/>");
    fs::create_directories(out / "7" / "webfiles");
    std::vector<std::string> order;
    for (const auto& folder : kavo::render::taskFolders(out))
        order.push_back(folder.generic_string());
    EXPECT_EQ(order, (std::vector<std::string>{"2", "PartA/3", "10", "Alpha", "Extra"}));
}
