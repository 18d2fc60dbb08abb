// SPDX-License-Identifier: MIT
// Ok over the three size fields, the task folder of a number, and Save's guard.
#include "core/common/error.hpp"
#include "core/review/task_review.hpp"
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
