// SPDX-License-Identifier: MIT
// Ok over the three size fields, the task folder of a number, and Save's guard.
#include "core/common/error.hpp"
#include "core/render/render.hpp"
#include "core/review/task_review.hpp"
#include "support/sample_tasks.hpp"
#include "support/test_support.hpp"

#include <gtest/gtest.h>

using namespace kavo::review;

namespace {

struct OkCase {
    const char *a, *b, *c;
    std::int64_t numbers;
    std::vector<std::string> messages;
    bool emptyEdit2;
};

} // namespace

TEST(PartSizes, OkFillsTheListsOrSaysWhy) {
    const OkCase cases[] = {
        {"3", "2", "1", 6, {}, false},
        {"5", "0", "0", 5, {}, false},
        {"0", "2", "3", 0, {"\n The number of tasks in PartA does not equal 0!"}, true},
        {"50", "50", "0", 0, {"\nMax number of tasks is 99!"}, false},
        {"99", "0", "0", 99, {}, false},
        {" $A", "  1", "0", 11, {}, false},
        {"2147483647", "2147483647", "4", 0, {"\nMax number of tasks is 99!"}, false},
    };
    for (const OkCase& c : cases) {
        PartSizes sizes;
        const OkResult result = confirmPartSizes(sizes, c.a, c.b, c.c, kavo::Lang::English);
        EXPECT_EQ(result.numbers, c.numbers) << c.a << " " << c.b << " " << c.c;
        EXPECT_EQ(result.messages, c.messages) << c.a;
        EXPECT_EQ(result.emptyEdit2, c.emptyEdit2) << c.a;
        EXPECT_FALSE(result.refused);
    }
}

TEST(PartSizes, ANonNumberKeepsTheFirstSizeAndANegativeOneChangesNothing) {
    PartSizes sizes{1, 1, 1, 3};
    EXPECT_THROW(confirmPartSizes(sizes, "4", "x", "0", kavo::Lang::English), kavo::Error);
    EXPECT_EQ(sizes.PartASize, 4);
    EXPECT_EQ(sizes.TaskTotal, 3);

    PartSizes kept{2, 0, 0, 2};
    const OkResult result = confirmPartSizes(kept, "5", "-1", "0", kavo::Lang::English);
    EXPECT_TRUE(result.refused);
    EXPECT_EQ(result.messages.size(), 1u);
    EXPECT_EQ(kept.PartASize, 2);
    EXPECT_EQ(kept.TaskTotal, 2);
}

TEST(PartSizes, TaskFolderFollowsTheStoredSizes) {
    const std::filesystem::path out = "/o";
    const PartSizes parts{3, 2, 1, 6};
    EXPECT_EQ(taskFolder(parts, out, 2), out / "PartA" / "2");
    EXPECT_EQ(taskFolder(parts, out, 4), out / "PartB" / "4");
    EXPECT_EQ(taskFolder(parts, out, 6), out / "PartC" / "6");
    EXPECT_EQ(taskFolder(parts, out, 7), std::nullopt);
    EXPECT_EQ(taskFolder(parts, out, 0), std::nullopt);
    EXPECT_EQ(taskFolder(PartSizes{5, 0, 0, 5}, out, 2), out / "2");
}

TEST(TaskReview, SaveWritesOnlyToTheTaskLastOpened) {
    kavo::test::TempDir dir;
    const PartSizes sizes{3, 0, 0, 3};
    for (const char* n : {"1", "2"})
        for (const char* file : ReviewFiles)
            kavo::test::writeBytes(dir.path() / n / file, std::string(file) + "\r\n");
    ReviewState state;
    std::array<kavo::Text, 3> shown;
    openTask(
        state, sizes, dir.path(), 0, [&](int i, const kavo::Text& t) { shown[i] = t; },
        kavo::Lang::English);
    EXPECT_EQ(shown[1], "task.out\r\n");

    auto saved = saveTask(state, sizes, dir.path(), 0, shown, kavo::Lang::English);
    EXPECT_EQ(saved.message, "\nSaved successfully");
    EXPECT_EQ(saved.select, 1);
    EXPECT_EQ(kavo::test::readBytes(dir.path() / "1" / "task.asp"), "task.asp\r\n\r\n");

    // The selection moved on: a second press must not write task 1's text over task 2.
    saved = saveTask(state, sizes, dir.path(), 1, shown, kavo::Lang::English);
    EXPECT_NE(saved.message.find("Nothing was saved"), std::string::npos);
    EXPECT_EQ(kavo::test::readBytes(dir.path() / "2" / "task.asp"), "task.asp\r\n");

    saved = saveTask(state, sizes, dir.path(), std::nullopt, {"", "", ""}, kavo::Lang::English);
    EXPECT_EQ(saved.message, "\nCheck the entered data");
    EXPECT_EQ(saved.select, 0);
}

// Save asks before writing over files that changed on disk since Open task: No writes
// nothing and keeps the selection, Yes writes, and what Save wrote is no change.
TEST(TaskReview, SaveAsksWhenTheFilesChangedOnDisk) {
    kavo::test::TempDir dir;
    const PartSizes sizes{3, 0, 0, 3};
    const auto asp = dir.path() / "1" / "task.asp";
    for (const char* file : ReviewFiles)
        kavo::test::writeBytes(dir.path() / "1" / file, std::string(file) + "\r\n");
    ReviewState state;
    std::array<kavo::Text, 3> shown;
    openTask(
        state, sizes, dir.path(), 0, [&](int i, const kavo::Text& t) { shown[i] = t; },
        kavo::Lang::English);

    struct Step {
        const char* outside; // what another program writes into task.out first, or nullptr
        bool answer, asks, writes;
    };
    const Step steps[] = {
        {nullptr, false, false, true},     // unchanged since Open: no question
        {"changed\n", false, true, false}, // No: nothing written, the selection stays
        {nullptr, true, true, true},       // still changed; Yes writes
        {nullptr, false, false, true},     // what Save wrote is what it remembers
    };
    for (const Step& step : steps) {
        if (step.outside)
            kavo::test::writeBytes(dir.path() / "1" / "task.out", step.outside);
        int asked = 0;
        const auto ask = [&](const kavo::Text&) { return ++asked, step.answer; };
        const auto before = kavo::test::readBytes(asp);
        shown[0] += "!";
        const auto saved = saveTask(state, sizes, dir.path(), 0, shown, kavo::Lang::English, ask);
        EXPECT_EQ(asked, step.asks ? 1 : 0);
        EXPECT_EQ(saved.declined, !step.writes);
        EXPECT_EQ(saved.select, step.writes ? 1 : 0);
        EXPECT_EQ(kavo::test::readBytes(asp), step.writes ? shown[0] + "\r\n" : before);
    }
}

// Save changes reads the task back as the marks do: a save that breaks it says so after
// "Saved successfully", with the reason; one that keeps it whole says nothing more.
TEST(TaskReview, SaveSaysWhenTheTaskNoLongerReadsBack) {
    kavo::test::TempDir dir;
    kavo::test::copySystemFolder(dir.path());
    const auto systemDir = dir.path() / "System_folder";
    const auto out = dir.path() / "Year";
    const PartSizes sizes{3, 0, 0, 3};
    kavo::render::writePackage(
        out, kavo::render::renderTask(kavo::test::formTask(kavo::model::TaskKind::SingleChoice, 2),
                                      olympiadOf(sizes, out), systemDir, kavo::Lang::English));
    ReviewState state;
    std::array<kavo::Text, 3> shown;
    openTask(
        state, sizes, out, 1, [&](int i, const kavo::Text& t) { shown[i] = t; },
        kavo::Lang::English);

    auto saved = saveTask(state, sizes, out, 1, shown, kavo::Lang::English, {}, systemDir);
    EXPECT_EQ(saved.message, "\nSaved successfully");
    EXPECT_TRUE(saved.saved);
    EXPECT_FALSE(saved.unreadable);

    shown[1] = "ans1=3\r\n";
    saved = saveTask(state, sizes, out, 1, shown, kavo::Lang::English, {}, systemDir);
    EXPECT_TRUE(saved.unreadable);
    EXPECT_TRUE(saved.message.starts_with("\nSaved successfully\nThe saved files do not read "
                                          "back as a task; its number is marked red:\nThe task "
                                          "in 2 cannot be read: task.out"))
        << saved.message;

    // Templates that cannot be read: the files are saved, and the box says why no check.
    std::filesystem::remove_all(systemDir / "file");
    saved = saveTask(state, sizes, out, 1, shown, kavo::Lang::Russian, {}, systemDir);
    EXPECT_TRUE(saved.saved);
    EXPECT_NE(saved.message.find(kavo::test::cp1251("Не удаётся открыть файл")), std::string::npos)
        << saved.message;
}

namespace {

// A task tree holding a package file in each folder given ("PartB/4", "7").
struct Tree {
    kavo::test::TempDir dir;
    explicit Tree(const std::vector<const char*>& folders) {
        for (const char* folder : folders)
            kavo::test::writeBytes(dir.path() / folder / "task.asp", "page\r\n");
    }
    const std::filesystem::path& path() const { return dir.path(); }
};

using Sizes = kavo::model::PartSizes;

} // namespace

// Which written tasks a layout would place in another folder or in none.
TEST(PartSizes, MovedTasksOfATree) {
    struct Row {
        std::vector<const char*> tree;
        Sizes sizes;
        std::vector<std::pair<int, std::string>> moved; // number, "from -> to" ("" for no part)
    };
    const std::vector<const char*> written332 = {"PartA/1", "PartA/3", "PartB/4",
                                                 "PartB/6", "PartC/7", "PartC/8"};
    const std::vector<Row> rows = {
        {written332, {3, 3, 2}, {}},
        {written332,
         {4, 4, 2},
         {{4, "PartB/4 -> PartA/4"}, {7, "PartC/7 -> PartB/7"}, {8, "PartC/8 -> PartB/8"}}},
        {written332, {3, 3, 1}, {{8, "PartC/8 -> "}}},
        {written332,
         {8, 0, 0},
         {{1, "PartA/1 -> 1"},
          {3, "PartA/3 -> 3"},
          {4, "PartB/4 -> 4"},
          {6, "PartB/6 -> 6"},
          {7, "PartC/7 -> 7"},
          {8, "PartC/8 -> 8"}}},
        {{"1", "2", "5"}, {5, 0, 0}, {}},
        {{"1", "2", "5"},
         {2, 3, 0},
         {{1, "1 -> PartA/1"}, {2, "2 -> PartA/2"}, {5, "5 -> PartB/5"}}},
        // Folders no number places: Edits folders, leading zeros, other parents, no package.
        {{"PartB/Train", "04", "PartD/3", "Old/PartA/2"}, {1, 1, 0}, {}},
        // Both PartA/4 and PartB/4: whatever the sizes, one of them lies elsewhere.
        {{"PartA/4", "PartB/4"}, {4, 1, 0}, {{4, "PartB/4 -> PartA/4"}}},
    };
    for (const Row& row : rows) {
        const Tree tree(row.tree);
        std::filesystem::create_directories(tree.path() / "PartA" / "9"); // no package: no task
        std::vector<std::pair<int, std::string>> moved;
        for (const auto& task : movedTasks(tree.path(), row.sizes))
            moved.push_back({task.number, task.folder.generic_string() + " -> " +
                                              (task.place ? task.place->generic_string() : "")});
        EXPECT_EQ(moved, row.moved) << row.sizes.a << "," << row.sizes.b << "," << row.sizes.c
                                    << " over " << row.tree.size() << " folders";
    }
}

// Ok asks before it keeps sizes that move written tasks (No keeps everything as it was);
// sizes that fill no lists ask nothing.
TEST(PartSizes, OkAsksBeforeSizesThatMoveWrittenTasks) {
    const Tree tree({"PartA/1", "PartB/4", "PartC/7"});
    struct Row {
        const char *a, *b, *c;
        bool answer;
        bool asks, kept;
    };
    const Row rows[] = {
        {"3", "3", "1", false, false, true},   {"4", "4", "2", false, true, false},
        {"4", "4", "2", true, true, true},     {"0", "4", "2", false, false, true},
        {"60", "40", "0", false, false, true},
    };
    for (const Row& row : rows) {
        kavo::review::PartSizes sizes{3, 3, 1, 7};
        std::vector<kavo::Text> questions;
        const auto confirm = [&](const kavo::Text& q) {
            return questions.push_back(q), row.answer;
        };
        const OkResult result =
            confirmPartSizes(sizes, row.a, row.b, row.c, kavo::Lang::English, tree.path(), confirm);
        EXPECT_EQ(questions.size(), row.asks ? 1u : 0u) << row.a << row.b << row.c;
        EXPECT_EQ(result.refused, !row.kept);
        EXPECT_EQ(sizes.PartASize, row.kept ? std::stoi(row.a) : 3) << row.a;
        if (row.asks) {
            EXPECT_EQ(questions.front(),
                      "\nWith these sizes, tasks already written would belong in other folders:"
                      "\nTask 4 lies in PartB/4; these sizes put it in PartA/4"
                      "\nTask 7 lies in PartC/7; these sizes put it in PartB/7"
                      "\n\nKeep these sizes? The tasks stay where they are, and the number lists "
                      "will not show them.");
        }
    }

    // Many moves: the first ten lines and how many more; Russian wording of a task in no part.
    const Tree roots({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"});
    const auto question = movedQuestion(movedTasks(roots.path(), {6, 3, 0}), kavo::Lang::Russian);
    EXPECT_NE(question.find(kavo::test::cp1251(
                  "\nЗадача 9 лежит в 9, а по этим размерам её место — PartB/9"
                  "\nЗадача 10 лежит в 10, а по этим размерам она не входит ни в одну часть"
                  "\n... и ещё 2\n\nОставить эти размеры?")),
              std::string::npos);
}

// The sizes a folder change shows: those of the last Ok while they fit the tree, else those
// the tree shows, with the lists waiting for Ok.
TEST(PartSizes, SizesForATreeAfterAFolderChange) {
    struct Row {
        std::vector<const char*> tree;
        std::optional<Sizes> lastOk;
        std::optional<Sizes> fields;
        bool keepLists, found;
    };
    const std::vector<const char*> written442 = {"PartA/1", "PartA/4", "PartB/5",
                                                 "PartB/8", "PartC/9", "PartC/10"};
    const Row rows[] = {
        {written442, Sizes{3, 3, 1}, Sizes{4, 4, 2}, false, true},
        {written442, std::nullopt, Sizes{4, 4, 2}, false, true},
        {written442, Sizes{4, 4, 2}, Sizes{4, 4, 2}, true, false},
        // Tasks written so far fit the sizes in use: they stay, though the tree alone shows less.
        {{"PartA/1", "PartB/5"}, Sizes{4, 4, 2}, Sizes{4, 4, 2}, true, false},
        {{}, Sizes{3, 3, 1}, Sizes{3, 3, 1}, true, false},
        {{}, std::nullopt, std::nullopt, false, false},
        {{"PartB/Train"}, std::nullopt, std::nullopt, false, false},
        {{"1", "5"}, Sizes{3, 3, 1}, Sizes{5, 0, 0}, false, true},
    };
    for (const Row& row : rows) {
        const Tree tree(row.tree);
        const auto result = sizesForTree(tree.path(), row.lastOk);
        EXPECT_EQ(result.fields, row.fields) << row.tree.size();
        EXPECT_EQ(result.keepLists, row.keepLists) << row.tree.size();
        EXPECT_EQ(result.found, row.found) << row.tree.size();
    }
}
