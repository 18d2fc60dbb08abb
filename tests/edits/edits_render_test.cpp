// SPDX-License-Identifier: MIT
// The Edits writer's quick join against the replacements it stands for, templates changed
// between two writes, the pattern cuts the read-back takes, and the replace question.
#include "core/common/xml.hpp"
#include "core/edits/edits_task.hpp"
#include "core/render/read_back.hpp"
#include "core/render/render.hpp"
#include "core/render/template_set.hpp"
#include "render/tree.hpp"
#include "support/sample_tasks.hpp"

#include <gtest/gtest.h>

#include <random>

namespace fs = std::filesystem;
using kavo::Text;
using kavo::model::Task;
using kavo::render::EditsTemplates;

namespace {

// The writer as the builder describes it: each placeholder replaced in turn on the text
// before, the page's language first.
kavo::render::Package replaced(const Task& task, const EditsTemplates& t) {
    const int count = static_cast<int>(task.subQuestions.size());
    const Text* pages[] = {&t.task2Asp, &t.task1Asp, &t.task3Asp};
    const Text* outs[] = {&t.task2Out, &t.task1Out, &t.task3Out};
    Text page = *pages[count - 2];
    if (!kavo::render::isRussianCondition(task.condition))
        page = kavo::replaceAll(page, "lang=\"ru\"", "lang=\"en\"");
    page = kavo::replaceAll(page, "*vs1*", task.condition);
    Text out = *outs[count - 2];
    for (int i = 0; i < count; ++i) {
        page = kavo::replaceAll(page, "*vs" + std::to_string(i + 2) + "*",
                                task.subQuestions[i].question);
        out = kavo::replaceAll(out, "*ans" + std::to_string(i + 1) + "*",
                               task.subQuestions[i].answer);
    }
    Text xml = kavo::replaceAll(t.taskXml, t.zamena,
                                kavo::replaceAll(t.zamena, "1", std::to_string(count)));
    xml = kavo::replaceAll(xml, "TaskA1", kavo::escapeXmlAttribute(task.title));
    kavo::render::Package package;
    package.page = page + "\r\n";
    package.scoring = out + "\r\n";
    package.description = xml + "\r\n";
    return package;
}

// Templates whose placeholders stand beside bytes a placeholder holds, beside each other,
// at the ends, or where a typed text completes another placeholder.
EditsTemplates trickyTemplates(int which) {
    EditsTemplates t;
    t.zamena = "n=\"1\"";
    t.taskCfg = "cfg";
    t.taskXml = "<t id=\"TaskA1\" n=\"1\" e=\"TaskA1TaskA1\"/>";
    switch (which) {
    case 0: // the shipped layout: each placeholder on a line of its own
        t.task1Asp = "<p lang=\"ru\">\r\n*vs1*\r\n</p><li>\r\n*vs2*\r\n</li><li>\r\n*vs3*\r\n"
                     "</li><li>\r\n*vs4*\r\n</li>";
        t.task1Out = "ans1=*ans1*\r\nans2=*ans2*\r\nans3=*ans3*";
        break;
    case 1: // holes side by side and at both ends
        t.task1Asp = "*vs1**vs2*|*vs3**vs4*";
        t.task1Out = "*ans1**ans2**ans3*";
        break;
    case 2: // a text between "*v" and "s3*" completes a placeholder
        t.task1Asp = "lang=\"ru\" *v*vs2*s3* *vs1* *vs4*v*vs3*";
        t.task1Out = "*an*ans1*s2* *ans3*";
        break;
    default: // a marker byte in the template itself
        t.task1Asp = "\x01"
                     "1 *vs1* *vs2* \x01 *vs3* *vs4*";
        t.task1Out = "\x01*ans1* *ans2* *ans3*";
        break;
    }
    t.task2Asp = t.task1Asp + "2";
    t.task2Out = t.task1Out + "2";
    t.task3Asp = t.task1Asp + "*vs5*";
    t.task3Out = t.task1Out + "*ans4*";
    return t;
}

Text randomText(std::mt19937& draw) {
    static const char* const pieces[] = {"",
                                         "a",
                                         "s",
                                         "v",
                                         "*",
                                         "3",
                                         "*vs2*",
                                         "*ans1*",
                                         "x*vs",
                                         "s3*",
                                         "&",
                                         "\"",
                                         "\xE0\xE1\xE2",
                                         "\r\n",
                                         "|"};
    Text text;
    for (int n = static_cast<int>(draw() % 4); n > 0; --n)
        text += pieces[draw() % std::size(pieces)];
    return text;
}

} // namespace

// The join, the piecewise proof and the replacements give the same bytes for any texts,
// and templates changed between two writes (in place, same size) write as a fresh program.
TEST(EditsRender, JoinWritesWhatTheReplacementsWrite) {
    std::mt19937 draw(2024);
    for (int which = 0; which < 4; ++which) {
        for (int round = 0; round < 400; ++round) {
            auto t = trickyTemplates(which);
            if (round % 2) { // an edit of one byte, the sizes unchanged
                t.task1Asp.back() = static_cast<char>('a' + round % 26);
                t.taskXml[1] = static_cast<char>('a' + round % 26);
            }
            Task task;
            task.kind = kavo::model::TaskKind::Edits;
            task.condition = randomText(draw);
            task.title = randomText(draw);
            const int count = 2 + static_cast<int>(draw() % 3);
            for (int i = 0; i < count; ++i)
                task.subQuestions.push_back({randomText(draw), randomText(draw)});
            SCOPED_TRACE(testing::Message() << "templates " << which << " round " << round);
            const auto expected = replaced(task, t);
            const auto package = kavo::render::renderEdits(task, t, "7");
            ASSERT_EQ(package.page, expected.page);
            ASSERT_EQ(package.scoring, expected.scoring);
            ASSERT_EQ(package.description, expected.description);
            EXPECT_EQ(package.config, "cfg\r\n");
            EXPECT_TRUE(kavo::render::editsPageIs(task, t, expected.page));
            EXPECT_TRUE(kavo::render::editsScoringIs(task, t, expected.scoring));
            EXPECT_TRUE(
                kavo::render::editsDescriptionIs(task.title, count, t, expected.description));
            // One byte more or one byte other is another file.
            auto longer = expected.page + "x";
            auto other = expected.scoring;
            other[draw() % other.size()] ^= 0x20;
            auto shorter = expected.description.substr(0, expected.description.size() - 1);
            EXPECT_FALSE(kavo::render::editsPageIs(task, t, longer));
            EXPECT_FALSE(kavo::render::editsScoringIs(task, t, other));
            EXPECT_FALSE(kavo::render::editsDescriptionIs(task.title, count, t, shorter));
        }
    }
}

// Cutting a chosen set of patterns one at a time finds the cuts, in the order, that the
// walk of the whole tree finds for them.
TEST(EditsRender, ChosenPatternsCutAsTheWholeTree) {
    const auto t = trickyTemplates(2);
    std::mt19937 draw(7);
    kavo::render::PatternTree tree;
    const char* const pieces[] = {"lang=\"ru\" *v", "s3*", " ", "*", "v", "a", "*vs4*"};
    for (const char* layout :
         {"lang=\"ru\" *v\x01s3* \x01 \x01v\x01", "*\x01 *\x01", "lang=\"ru\" *v\x01", "\x01"}) {
        kavo::render::Pattern pattern;
        std::string_view rest = layout;
        for (auto at = rest.find('\x01'); at != std::string_view::npos; at = rest.find('\x01')) {
            pattern.literals.emplace_back(rest.substr(0, at));
            pattern.minLengths.push_back(0);
            rest.remove_prefix(at + 1);
        }
        pattern.literals.emplace_back(rest);
        tree.add(pattern);
    }
    const std::vector<bool> all(4, true);
    for (int round = 0; round < 2000; ++round) {
        Text text;
        for (int n = static_cast<int>(draw() % 9); n > 0; --n)
            text += pieces[draw() % std::size(pieces)];
        const auto whole = tree.match(text);
        const auto chosen = tree.match(text, all);
        ASSERT_EQ(whole.size(), chosen.size()) << text;
        for (std::size_t i = 0; i < whole.size(); ++i) {
            EXPECT_EQ(whole[i].pattern, chosen[i].pattern) << text;
            EXPECT_EQ(whole[i].holes, chosen[i].holes) << text;
        }
        // Leaving a pattern out leaves out its cuts only.
        std::vector<bool> some = all;
        some[round % 4] = false;
        std::vector<kavo::render::PatternTree::Match> kept;
        for (const auto& m : whole)
            if (m.pattern != round % 4)
                kept.push_back(m);
        const auto fewer = tree.match(text, some);
        ASSERT_EQ(fewer.size(), kept.size()) << text;
        for (std::size_t i = 0; i < kept.size(); ++i)
            EXPECT_EQ(fewer[i].holes, kept[i].holes) << text;
    }
}

// The question before a rewrite names the old task: an Edits task as written, or with
// another author line, or one that cannot be read back when a file was changed by hand.
TEST(EditsRender, ReplaceQuestionNamesTheOldTaskTruly) {
    struct Case {
        const char* name;
        std::function<void(const kavo::test::Tree&)> change;
        const char* named;
    };
    const auto replace = [](const fs::path& file, std::string_view what, std::string_view with) {
        const auto bytes = kavo::test::readBytes(file);
        kavo::test::writeBytes(file, kavo::replaceAll(bytes, what, with));
    };
    const Case cases[] = {
        {"as written", [](const kavo::test::Tree&) {}, "(Edits task)"},
        {"another author line",
         [&](const kavo::test::Tree& tree) {
             const auto xml = tree.file("7", "task.xml");
             const auto bytes = kavo::test::readBytes(xml);
             const auto at = bytes.find("</author>");
             kavo::test::writeBytes(xml, bytes.substr(0, at) + "Someone else" + bytes.substr(at));
         },
         "(Edits task)"},
        {"template part of the page changed by hand",
         [&](const kavo::test::Tree& tree) {
             replace(tree.file("7", "task.asp"), "<table", "<div");
         },
         "(cannot be read back)"},
        {"score line changed by hand",
         [&](const kavo::test::Tree& tree) {
             replace(tree.file("7", "task.out"), "score[1]=1", "score[1]=2");
         },
         "(cannot be read back)"},
        {"author frame changed since",
         [&](const kavo::test::Tree& tree) {
             replace(tree.system / "Authorisation" / "Author_end.txt", "</author>", "</writer>");
         },
         "(cannot be read back)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        kavo::test::Tree tree;
        const kavo::model::Olympiad olympiad{tree.olympiad.outputDir, {}};
        const auto held = kavo::render::readEditsTemplates(tree.system);
        auto first = kavo::edits::editsFormOf(kavo::test::editsTask("7"));
        ASSERT_TRUE(kavo::edits::saveEditsTask(first, held, olympiad, kavo::Lang::English).written);
        c.change(tree);
        if (std::string(c.name) == "another author line") {
            const auto read = kavo::render::readEditsTask(
                kavo::render::TemplateSet::load(tree.system), olympiad, "7");
            ASSERT_EQ(read.status, kavo::render::ReadStatus::Read);
            EXPECT_TRUE(read.written.authorLineDiffers);
            EXPECT_NE(read.report(kavo::Lang::English).find("Someone else"), std::string::npos);
        }
        std::vector<std::string> asked;
        kavo::edits::EditsQuestions ask;
        ask.systemDir = tree.system;
        ask.replace = [&](const std::string& question) {
            asked.push_back(question);
            return false;
        };
        auto again = kavo::edits::editsFormOf(kavo::test::editsTask("7"));
        EXPECT_FALSE(
            kavo::edits::saveEditsTask(again, held, olympiad, kavo::Lang::English, ask).written);
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_NE(asked[0].find(c.named), std::string::npos) << asked[0];
    }
}
