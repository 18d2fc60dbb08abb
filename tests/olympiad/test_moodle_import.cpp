// SPDX-License-Identifier: MIT
// Moodle XML read into tasks: each question type, what is left out, and files that are
// broken or hostile.
#include "core/common/messages.hpp"
#include "core/olympiad/gift_import.hpp"
#include "olympiad/import_helpers.hpp"
#include "support/test_support.hpp"

#include <gtest/gtest.h>

using namespace kavo;
using namespace kavo::olympiad;
using kavo::model::TaskKind;
using kavo::test::cp1251;
using kavo::test::en;
using kavo::test::errors;
using kavo::test::Row;
using kavo::test::rows;
using kavo::test::warnings;
namespace o = kavo::msg::olympiad;

namespace {

// A quiz of the questions given, one a line after the declaration: line 3 is the first.
std::string quiz(const std::vector<std::string>& questions) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n";
    for (const auto& q : questions)
        xml += q + "\n";
    return xml + "</quiz>\n";
}

std::string answer(const std::string& fraction, const std::string& text,
                   const std::string& extra = "") {
    return "<answer fraction=\"" + fraction + "\" format=\"html\"><text>" + text + "</text>" +
           extra + "</answer>";
}

std::string question(const std::string& type, const std::string& text,
                     const std::string& body = "") {
    return "<question type=\"" + type + "\"><name><text>N</text></name>" +
           "<questiontext format=\"html\"><text>" + text + "</text></questiontext>" + body +
           "</question>";
}

struct KindCase {
    std::string xml; // one question
    TaskKind kind;
    std::vector<std::string> variants;
    int answer;
    unsigned answers;
    std::string typed;
    std::vector<std::string> warnings;
};

TEST(MoodleImport, EachQuestionTypeBecomesItsTask) {
    const std::vector<KindCase> cases = {
        {question("multichoice", "Q?",
                  "<single>true</single>" + answer("0", "a") + answer("100", "b")),
         TaskKind::SingleChoice,
         {"a", "b"},
         1,
         0,
         "",
         {}},
        {question("multichoice", "Q?",
                  "<single>true</single>" + answer("100", "a") + answer("50", "b") +
                      answer("0", "c")),
         TaskKind::SingleChoice,
         {"a", "b", "c"},
         0,
         0,
         "",
         {en(o::partialDropped)}},
        {question("multichoice", "Q?",
                  "<single>false</single>" + answer("50", "a") + answer("-100", "b") +
                      answer("50", "c")),
         TaskKind::MultipleChoice,
         {"a", "b", "c"},
         0,
         0b101,
         "",
         {}},
        {question("truefalse", "The Earth is round.", answer("0", "false") + answer("100", "true")),
         TaskKind::SingleChoice,
         {"True", "False"},
         0,
         0,
         "",
         {}},
        {question("shortanswer", "Q?",
                  "<usecase>1</usecase>" + answer("100", "a\\*b") + answer("0", "c")),
         TaskKind::TypedAnswer,
         {},
         0,
         0,
         "a*b",
         {en(o::partialDropped)}},
        {question("shortanswer", "Q?", "<usecase>0</usecase>" + answer("100", "Paris")),
         TaskKind::TypedAnswer,
         {},
         0,
         0,
         "Paris",
         {en(o::caseSensitive)}},
        {question("numerical", "Q?", answer("100", "42", "<tolerance>0</tolerance>")),
         TaskKind::TypedAnswer,
         {},
         0,
         0,
         "42",
         {en(o::numericTyped, {"42"})}},
        {question("multichoice", "Q?",
                  "<single>true</single>" +
                      answer("100", "a", "<feedback><text>Yes</text></feedback>") +
                      answer("0", "b")),
         TaskKind::SingleChoice,
         {"a", "b"},
         0,
         0,
         "",
         {en(o::feedbackXmlDropped)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.xml);
        const auto imported = importOlympiad(quiz({c.xml}));
        EXPECT_EQ(imported.format, OlympiadFormat::MoodleXml);
        ASSERT_EQ(errors(imported), std::vector<Row>{});
        ASSERT_EQ(imported.tasks.size(), 1u);
        const auto& t = imported.tasks[0].task;
        EXPECT_EQ(imported.tasks[0].pos, (SourcePos{3, 1}));
        EXPECT_EQ(t.kind, c.kind);
        for (std::size_t i = 0; i < c.variants.size(); ++i)
            EXPECT_EQ(t.variants[i], c.variants[i]);
        EXPECT_EQ(t.answer, c.answer);
        EXPECT_EQ(t.answers, c.answers);
        EXPECT_EQ(t.typedAnswer, c.typed);
        std::vector<std::string> texts;
        for (const auto& w : warnings(imported))
            texts.push_back(std::get<2>(w));
        EXPECT_EQ(texts, c.warnings);
    }
}

TEST(MoodleImport, ClozeOfTypedGapsBecomesAnEditsTask) {
    const auto cloze = [](const std::string& text) {
        return question("cloze", "<![CDATA[" + text + "]]>");
    };
    const auto imported = importOlympiad(quiz({
        cloze("Main\n<p>A) One {1:SHORTANSWER_C:=3}</p>\n<p>B) Two {1:SAC:=a\\}b#good}</p>"),
        cloze("Intro\nFirst {1:SA:=x~%50%y} then {1:SHORTANSWER:=Z}."),
        cloze("Only {1:SAC:=one}"),
        cloze("A {1:MULTICHOICE:=a~b} B {1:SAC:=c}"),
        cloze("A {1:SAC:=a} B {1:SAC:=c*}"),
        cloze("A {1:SAC:=a~=b} B {1:SAC:=c}"),
    }));
    ASSERT_EQ(errors(imported), std::vector<Row>{});
    ASSERT_EQ(imported.tasks.size(), 2u);
    const auto& own = imported.tasks[0].task;
    EXPECT_EQ(own.kind, TaskKind::Edits);
    EXPECT_EQ(own.condition, "Main");
    ASSERT_EQ(own.subQuestions.size(), 2u);
    EXPECT_EQ(own.subQuestions[0].question, "One");
    EXPECT_EQ(own.subQuestions[0].answer, "3");
    EXPECT_EQ(own.subQuestions[1].answer, "a}b");
    EXPECT_EQ(own.folder, "1");
    EXPECT_EQ(own.title, "N");
    const auto& other = imported.tasks[1].task;
    EXPECT_EQ(other.condition, "Intro");
    ASSERT_EQ(other.subQuestions.size(), 2u);
    EXPECT_EQ(other.subQuestions[0].question, "First _____");
    EXPECT_EQ(other.subQuestions[1].question, "then _____ .");
    EXPECT_EQ(other.subQuestions[1].answer, "Z");
    // The texts hold line breaks: the second cloze starts at line 6.
    EXPECT_EQ(warnings(imported), (std::vector<Row>{{6, 1, en(o::caseSensitive)}}));
    EXPECT_EQ(rows(imported, Severity::LeftOut),
              (std::vector<Row>{{8, 1, en(o::clozeGaps, {"1"})},
                                {9, 1, en(o::clozeGapKind, {"MULTICHOICE"})},
                                {10, 1, en(o::wildcard, {"c*"})},
                                {11, 1, en(o::twoTyped, {"2"})}}));
}

TEST(MoodleImport, CategoriesDescriptionsAndOtherTypes) {
    const auto imported = importOlympiad(quiz({
        "<question type=\"category\"><category><text>$course$/top/kavo/parts/2,1,0</text>"
        "</category></question>",
        question("description", "Read this."),
        question("essay", "Why?"),
        question("matching", "Match."),
        question("ddwtos", "Drag."),
        question("multichoice", "Q",
                 "<single>true</single>" + answer("50", "a") + answer("0", "b")),
        question("multichoice", "Q",
                 "<single>true</single>" + answer("100", "a") + answer("0", "b")),
        question("shortanswer", "Q", "<usecase>1</usecase>" + answer("100", "a*")),
    }));
    ASSERT_EQ(errors(imported), std::vector<Row>{});
    EXPECT_TRUE(imported.sizesGiven);
    EXPECT_EQ(imported.sizes, (model::PartSizes{2, 1, 0}));
    ASSERT_EQ(imported.tasks.size(), 1u);
    EXPECT_EQ(imported.tasks[0].number, 1);
    EXPECT_EQ(warnings(imported), (std::vector<Row>{{4, 1, en(o::description)}}));
    EXPECT_EQ(rows(imported, Severity::LeftOut),
              (std::vector<Row>{{5, 1, en(o::essay)},
                                {6, 1, en(o::matching)},
                                {7, 1, en(o::unfitType, {"ddwtos"})},
                                {8, 1, en(o::singleNoRight)},
                                {10, 1, en(o::wildcard, {"a*"})}}));
}

TEST(MoodleImport, BrokenOrHostileFilesGiveOneErrorWithALine) {
    const std::string laughs =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE quiz [\n<!ENTITY a \"aaaaaaaaaa\">\n"
        "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">\n"
        "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">\n]>\n<quiz>&c;</quiz>\n";
    const std::string external = "<?xml version=\"1.0\"?>\n\n<!DOCTYPE quiz SYSTEM "
                                 "\"http://example.invalid/quiz.dtd\">\n<quiz/>\n";
    const std::string file = "<?xml version=\"1.0\"?>\n<!DOCTYPE quiz [<!ENTITY x SYSTEM "
                             "\"file:///etc/passwd\">]>\n<quiz>&x;</quiz>\n";
    struct Case {
        std::string xml;
        int line;
        std::string text; // the start of the message
    };
    const std::vector<Case> cases = {
        {quiz({"<question type=\"essay\">", "</quiz>"}), 4, "The XML is not well-formed: "},
        {"<?xml version=\"1.0\"?>\n<quiz>\n<question>\n", 3, "The XML is not well-formed: "},
        {"<?xml version=\"1.0\"?>\n<!-- x -->\n<!DOCTYPE quiz>\n<quiz/>\n", 3, en(o::xmlDoctype)},
        {laughs, 2, en(o::xmlDoctype)},
        {external, 3, en(o::xmlDoctype)},
        {file, 2, en(o::xmlDoctype)},
        {"<?xml version=\"1.0\"?>\n<html/>\n", 2, en(o::xmlNotQuiz, {"html"})},
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n" +
             question("essay", "\xC2\xEE\xEF\xF0\xEE\xF1") + "\n</quiz>\n",
         3, en(o::xmlNotUtf8)},
        {"<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n<quiz>\n\n" +
             question("essay", "Вопрос") + "\n</quiz>\n",
         4, en(o::xmlIsUtf8, {"windows-1251"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.xml);
        const auto imported = importOlympiad(c.xml);
        const auto e = errors(imported);
        ASSERT_EQ(e.size(), 1u);
        EXPECT_EQ(std::get<0>(e[0]), c.line);
        EXPECT_TRUE(std::get<2>(e[0]).starts_with(c.text)) << std::get<2>(e[0]);
        EXPECT_TRUE(imported.tasks.empty());
    }
}

TEST(MoodleImport, CodePagesAndCdataAreReadAsDeclared) {
    const auto windows =
        importOlympiad("<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n<quiz>\n" +
                       question("shortanswer", "\xC2\xEE\xEF\xF0\xEE\xF1?",
                                "<usecase>1</usecase>" + answer("100", "\xE4\xE0")) +
                       "\n</quiz>\n");
    ASSERT_TRUE(windows.ok());
    ASSERT_EQ(windows.tasks.size(), 1u);
    EXPECT_EQ(windows.tasks[0].task.condition, cp1251("Вопрос?"));
    EXPECT_EQ(windows.tasks[0].task.typedAnswer, cp1251("да"));

    // "]]>" inside a text is written as two sections.
    const auto cdata = importOlympiad(quiz({question(
        "shortanswer", "<![CDATA[<b>a]]]]><![CDATA[>b</b>]]>",
        "<usecase>1</usecase><answer fraction=\"100\"><text><![CDATA[x]]]]><![CDATA[>y]]></text>"
        "</answer>")}));
    ASSERT_TRUE(cdata.ok());
    ASSERT_EQ(cdata.tasks.size(), 1u);
    EXPECT_EQ(cdata.tasks[0].task.condition, "<b>a]]>b</b>");
    EXPECT_EQ(cdata.tasks[0].task.typedAnswer, "x]]>y");
}

TEST(MoodleImport, TenThousandQuestionsAreMoreThan99Tasks) {
    std::vector<std::string> questions;
    for (int i = 0; i < 10000; ++i)
        questions.push_back(question("truefalse", "Q" + std::to_string(i),
                                     answer("100", "true") + answer("0", "false")));
    const auto imported = importOlympiad(quiz(questions));
    EXPECT_EQ(errors(imported), (std::vector<Row>{{102, 1, en(o::tooManyTasks)}}));
}

TEST(MoodleImport, TheFormatIsChosenByTheContent) {
    EXPECT_EQ(formatOf("\xEF\xBB\xBF  <?xml version=\"1.0\"?><quiz/>"), OlympiadFormat::MoodleXml);
    EXPECT_EQ(formatOf("\n<quiz></quiz>"), OlympiadFormat::MoodleXml);
    EXPECT_EQ(formatOf("<b>Bold</b> question {=a ~b}"), OlympiadFormat::Gift);
    EXPECT_EQ(formatOf("// <?xml\nQ {=a ~b}"), OlympiadFormat::Gift);
    kavo::test::TempDir dir;
    kavo::test::writeBytes(dir.path() / "bank.gift",
                           quiz({question("essay", "Why?"), question("essay", "How?")}));
    const auto imported = importOlympiadFile(dir.path() / "bank.gift");
    EXPECT_EQ(imported.format, OlympiadFormat::MoodleXml);
    EXPECT_EQ(imported.leftOut(), 2u);
}

} // namespace
