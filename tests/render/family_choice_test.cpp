// SPDX-License-Identifier: MIT
// Families whose configuration is the same are told apart by the end of their pages before
// the rest of their templates is read.
#include "core/common/error.hpp"
#include "core/common/text.hpp"
#include "core/render/families.hpp"
#include "core/render/render.hpp"
#include "core/render/template_set.hpp"
#include "tree.hpp"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using kavo::Text;
using kavo::model::Task;
using kavo::model::TaskKind;
using kavo::render::ReadStatus;
using kavo::test::Tree;

namespace {

Task choice(TaskKind kind, std::array<std::optional<Text>, 5> variants) {
    Task task;
    task.kind = kind;
    task.number = 3;
    task.condition = "Which?";
    task.variants = variants;
    if (kavo::model::isMultipleChoice(kind))
        task.answers = 0b110;
    else
        task.answer = 1;
    return task;
}

} // namespace

// A task reads back while a template that only the other family of its configuration uses is
// missing: that family is ruled out by its closing template and its removals alone.
TEST(FamilyChoice, ReadsTheRightFamilyWithoutTheOthersTemplates) {
    const std::array<std::optional<Text>, 5> removedE{"a", "b", "c", "d", std::nullopt};
    // An empty A with E removed: the multiple-choice removal reaches into the closing template.
    const std::array<std::optional<Text>, 5> emptyA{Text(), "b", "c", "d", std::nullopt};
    Task typed;
    typed.kind = TaskKind::TypedAnswer;
    typed.number = 3;
    typed.condition = "How many?";
    typed.typedAnswer = "7";
    const struct {
        Task task;
        const char* missing;
    } cases[] = {
        {choice(TaskKind::SingleChoice, removedE), "file_for_spoiler/task_part3.txt"},
        {choice(TaskKind::FoldedChoice, removedE), "file/task_part3.txt"},
        {choice(TaskKind::MultipleChoice, emptyA),
         "file_for_MultipleChoice_Spoiler/task_part3.txt"},
        {choice(TaskKind::MultipleChoiceFolded, emptyA), "file_for_MultipleChoice/task_part3.txt"},
        {typed, "file_for_edits/task1.out"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.missing);
        Tree tree;
        const auto folder = tree.write(c.task, tree.olympiad).folder;
        fs::remove(tree.system / c.missing);
        const auto read = kavo::render::readAnyTask(kavo::render::TemplateSet::load(tree.system),
                                                    tree.olympiad, folder, 3);
        ASSERT_EQ(read.status, ReadStatus::Read) << read.report(kavo::Lang::English);
        EXPECT_EQ(*read.task, c.task);
    }
}

// The closing template is read again for each operation: once the other family's pages may
// end as this one's, that family is loaded and its missing template stops the read.
TEST(FamilyChoice, AClosingTemplateEditedBetweenTwoReadsIsSeen) {
    Tree tree;
    const auto task = choice(TaskKind::SingleChoice, {"a", "b", "c", "d", "e"});
    const auto folder = tree.write(task, tree.olympiad).folder;
    fs::remove(tree.system / "file_for_spoiler/task_part3.txt");
    const auto read = [&] {
        return kavo::render::readAnyTask(kavo::render::TemplateSet::load(tree.system),
                                         tree.olympiad, folder, 3);
    };
    ASSERT_EQ(read().status, ReadStatus::Read);
    fs::copy_file(tree.system / "file/task_part4.txt",
                  tree.system / "file_for_spoiler/task_part7.txt",
                  fs::copy_options::overwrite_existing);
    try {
        read();
        ADD_FAILURE() << "the missing template was not read";
    } catch (const kavo::Error& error) {
        EXPECT_NE(std::string(error.what()).find("task_part3.txt"), std::string::npos)
            << error.what();
    }
}

// The stretch of a closing template no removal can reach into, and where a page holds it.
TEST(FamilyChoice, PageEndKeepsWhatNoRemovalReaches) {
    const auto& single = kavo::render::familyOf(TaskKind::SingleChoice);
    const struct {
        Text closing;
        std::vector<Text> removals;
        std::optional<Text> stretch; // none: the end rules nothing out
    } cases[] = {
        {"</ol>end", {}, "</ol>end"},
        {"</label>XYZ", {"<x>\r\n</label>"}, "XYZ"}, // a removal ending in the closing
        {"bbX", {"ab"}, "X"},                        // one after another
        {"XYa", {"ab"}, "XY"},                       // one that begins in it and reaches past
        {"a<x>b", {"<x>"}, std::nullopt},            // one inside it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.closing);
        const auto end = kavo::render::familyPageEnd(single, c.closing, c.removals);
        if (!c.stretch) {
            EXPECT_TRUE(end.stretches.empty());
            EXPECT_TRUE(end.mayEnd("anything"));
            continue;
        }
        ASSERT_EQ(end.stretches, std::vector<Text>{*c.stretch});
        EXPECT_TRUE(end.mayEnd("page " + *c.stretch + "\r\n\r\n\r\n"));
        EXPECT_FALSE(end.mayEnd("page\r\n"));
        EXPECT_FALSE(end.mayEnd(*c.stretch + Text(end.window, ' ')));
    }
}

// The removals of a page delete every occurrence of their text wherever it stands, in the
// condition too, each removal in the page the one before left: as eraseEvery deletes them.
TEST(RenderPage, RemovalsDeleteAsEraseEvery) {
    const auto& family = kavo::render::familyOf(TaskKind::SingleChoice);
    const std::vector<Text> parts{
        "<pic lang=\"ru\">", "<page lang=\"ru\">", "<ol>", "R", "</ol>", "cfg"};
    const Text big(1 << 20, 'w');
    const Text longBlock = "<li>" + Text(60, 'x') + "R</li>"; // longer than a quick first look
    struct Case {
        Text condition, radio1, radio2;
    };
    const Case cases[] = {
        {"aaaaa", "aa", "a"},                                  // overlapping occurrences
        {"R\r\nR\r\n", "\r\nR\r\n", "R"},                      // across the joins of the page
        {"xR\r\n", "R\r\n\r\n", "x\r\n\r\n"},                  // one a removal before made
        {big + longBlock + big + longBlock, longBlock, "wR"},  // deep in a large condition
        {big + "R" + big, "w", "R"},                           // every byte of the condition
        {"<li>" + Text(60, 'x') + "R</li", longBlock, "none"}, // the last byte missing
    };
    for (const auto& c : cases) {
        Task task =
            choice(TaskKind::SingleChoice, {"A", "B", std::nullopt, std::nullopt, std::nullopt});
        task.condition = c.condition;
        const kavo::render::RemovalTexts removals{{"Radio1.txt", c.radio1},
                                                  {"Radio2.txt", c.radio2}};
        Text expected;
        for (const std::string_view piece : {std::string_view("<page lang=\"en\">"),
                                             std::string_view(c.condition),
                                             {"<ol>"},
                                             {"A"},
                                             {"R"},
                                             {"B"},
                                             {"R"},
                                             {},
                                             {"R"},
                                             {},
                                             {"R"},
                                             {},
                                             {"</ol>"}})
            expected.append(piece).append("\r\n");
        for (const Text* block : {&c.radio1, &c.radio2, &c.radio1}) {
            kavo::eraseEvery(expected, *block);
            expected += "\r\n";
        }
        EXPECT_EQ(kavo::render::renderPage(family, parts, removals, task, false), expected)
            << c.condition.substr(0, 20);
    }
}
