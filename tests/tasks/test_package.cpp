// SPDX-License-Identifier: MIT
#include "core/tasks/package.hpp"

#include "core/common/error.hpp"
#include "core/tasks/multichoice_writer.hpp"
#include "core/tasks/writers.hpp"
#include "forms.hpp"
#include "support/test_support.hpp"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using kavo::Pieces;
using kavo::tasks::TaskLocation;
using kavo::test::readBytes;
using kavo::test::TempDir;
using kavo::test::validForm;
using kavo::test::writeBytes;

TEST(TaskFolder, FiveRules) {
    struct Case {
        std::int64_t n;
        int k;
        std::int32_t a, b, c;
        const char* folder; // nullptr: no folder
        std::optional<char> letter;
    };
    const Case cases[] = {
        {2, 2, 3, 0, 0, "2", std::nullopt},       // no parts B and C
        {1, 1, 2, 2, 1, "PartA/1", std::nullopt}, // 2, 2, 1
        {2, 2, 2, 2, 1, "PartA/2", std::nullopt},
        {3, 3, 2, 2, 1, "PartB/3", 'B'},
        {4, 4, 2, 2, 1, "PartB/4", 'B'},
        {5, 5, 2, 2, 1, "PartC/5", 'C'},
        {6, 6, 5, 2, 0, "PartB/6", 'B'}, // folder named by the whole-olympiad number
        {11, 11, 4, 8, 0, "PartB/11", 'B'},
        {1, 1, 0, 2, 0, "PartB/1", 'B'},
        {1, 1, 0, 0, 3, "PartC/1", 'C'},
        {7, 7, 0, 0, 0, "7", std::nullopt},     // rule 2 needs no number in range
        {6, 6, 2, 2, 1, nullptr, std::nullopt}, // beyond the total
        {0, 1, 2, 2, 1, nullptr, std::nullopt}, // below 1
        {-1, 1, 0, 1, 0, nullptr, std::nullopt},
    };
    const fs::path out = "/out";
    for (const auto& c : cases) {
        const auto place = kavo::tasks::placeTask(out, c.n, c.k, c.a, c.b, c.c);
        const auto folder = kavo::tasks::taskFolder(out, c.n, c.k, c.a, c.b, c.c);
        ASSERT_EQ(folder.has_value(), c.folder != nullptr) << c.n;
        if (c.folder) {
            EXPECT_EQ(*folder, out / c.folder);
            EXPECT_EQ(place->partLetter, c.letter) << c.n;
        }
    }
    // Sums beyond 32 bits do not wrap.
    EXPECT_EQ(kavo::tasks::taskFolder(out, 4294967294, 3, 2147483647, 2147483647, 0),
              out / "PartB" / "3");
}

TEST(TaskFolder, LocateReadsTheFormAfresh) {
    auto form = validForm();
    form.ListBox1.selected = 2;
    form.Edit2 = " 2";
    form.Edit3 = "$2";
    form.Edit4 = "1";
    const auto where = kavo::tasks::locateTask(form, "/out");
    EXPECT_EQ(where.n, 3);
    EXPECT_EQ(where.k, 3);
    EXPECT_EQ(where.place->folder, fs::path("/out/PartB/3"));
    for (auto field : {&kavo::tasks::TaskForm::Edit2, &kavo::tasks::TaskForm::Edit3,
                       &kavo::tasks::TaskForm::Edit4}) {
        auto bad = form;
        bad.*field = "2.5";
        EXPECT_THROW(kavo::tasks::locateTask(bad, "/out"), kavo::Error);
    }
}

TEST(TaskOut, AnswerIndexForEveryInput) {
    struct Case {
        const char *answer, *index;
    };
    const Case cases[] = {{"a", "0"}, {"A", "0"}, {"1", "0"}, {"b", "1"}, {"B", "1"}, {"2", "1"},
                          {"c", "2"}, {"C", "2"}, {"3", "2"}, {"d", "3"}, {"D", "3"}, {"4", "3"},
                          {"e", "4"}, {"E", "4"}, {"5", "4"}, {"ab", ""}, {"c ", ""}, {" c", ""},
                          {"f", ""},  {"6", ""},  {"", ""},   {"0", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(kavo::tasks::singleAnswerScoring(c.answer),
                  (Pieces{"countby=test", "[1]", std::string("ans1=") + c.index, "score[1]=1"}))
            << c.answer;
}

namespace {
const char* header1 = "<task name=\"TaskA1\" ename=\"TaskA1\" cost=\"1\">\r\n</task>\r\n";
const char* header2 = "<task name=\"TaskA1 \" ename=\"TaskA1 \" cost=\"1\">\r\n</task>\r\n";

TaskLocation at(std::int32_t n, std::int32_t a, std::int32_t b, std::int32_t c) {
    TaskLocation where{n, n, a, b, c, kavo::tasks::placeTask("/o", n, n, a, b, c)};
    return where;
}
} // namespace

TEST(TaskXml, DefaultNamesOverwriteTheIdentifiers) {
    struct Case {
        TaskLocation where;
        const char* name;
    };
    const Case cases[] = {
        {at(1, 2, 2, 1), "TaskA1"},   {at(3, 2, 2, 1), "TaskB3"},    {at(5, 2, 2, 1), "TaskC5"},
        {at(9, 9, 0, 0), "TaskA9"},   {at(9, 5, 5, 0), "TaskB9"},    {at(10, 4, 8, 0), "TaskB10"},
        {at(11, 4, 8, 0), "TaskB11"}, {at(11, 20, 0, 0), "TaskA11"}, {at(12, 2, 2, 8), "TaskC12"},
    };
    const kavo::tasks::Descriptions headers{header1, header2};
    auto form = validForm();
    for (const auto& c : cases) {
        const std::string name = c.name;
        const auto expected =
            "<task name=\"" + name + "\" ename=\"" + name + "\" cost=\"1\">\r\n</task>\r\n";
        EXPECT_EQ(kavo::tasks::shapeDescription(headers, form, c.where, "En"), (Pieces{expected}))
            << c.name;
    }
}

TEST(TaskXml, OwnNamesAreEscapedAndTheEnglishNameAlwaysLands) {
    struct Case {
        const char *ru, *en, *name, *ename;
    };
    const Case cases[] = {
        {"\xC7\xE0\xE4\xE0\xF7\xE0", "Task", "\xC7\xE0\xE4\xE0\xF7\xE0", "Task"},
        {"Say \"1\" & <go>", "A \"quote\"", "Say &quot;1&quot; &amp; &lt;go>",
         "A &quot;quote&quot;"},
        {"&#171;Name&#187;", "&#171;N&#187;", "&#171;Name&#187;", "&#171;N&#187;"},
        {"TaskAlpha", "Alpha", "TaskAlpha", "Alpha"},
    };
    auto form = validForm();
    form.CheckBox4 = false;
    const kavo::tasks::Descriptions headers{header1, header2};
    for (std::int32_t n : {9, 10, 11}) {
        for (const auto& c : cases) {
            form.Edit7 = c.ru;
            form.Edit8 = c.en;
            const auto expected = std::string("<task name=\"") + c.name + "\" ename=\"" + c.ename +
                                  "\" cost=\"1\">\r\n</task>\r\n";
            EXPECT_EQ(kavo::tasks::shapeDescription(headers, form, at(n, 5, 6, 0), "En"),
                      (Pieces{expected}))
                << c.ru << " " << n;
        }
    }
}

TEST(TaskXml, ShortHeaderIsReportedByName) {
    auto form = validForm();
    const kavo::tasks::Descriptions headers{std::string(32, 'x'), std::string(34, 'x')};
    struct Case {
        std::int32_t n;
        const char* lang;
        std::string report;
    };
    const Case cases[] = {
        {9, "En",
         "The description template System_folder/file/task_xml.txt is too short: it must hold "
         "at least 33 characters."},
        {10, "En",
         "The description template System_folder/file/task_xml_2.txt is too short: it must "
         "hold at least 35 characters."},
        {9, "",
         "Шаблон описания System_folder/file/task_xml.txt слишком короткий: в нем должно быть "
         "не меньше 33 символов."},
    };
    for (const auto& c : cases) {
        try {
            kavo::tasks::shapeDescription(headers, form, at(c.n, 20, 0, 0), c.lang);
            ADD_FAILURE() << c.n;
        } catch (const kavo::Error& e) {
            EXPECT_EQ(std::string(e.what()), c.report);
        }
    }
    // Own names need no overwrite, and exactly long enough headers are fine.
    form.CheckBox4 = false;
    EXPECT_NO_THROW(kavo::tasks::shapeDescription(headers, form, at(9, 20, 0, 0), "En"));
    form.CheckBox4 = true;
    const kavo::tasks::Descriptions exact{std::string(33, 'x'), std::string(35, 'x')};
    EXPECT_NO_THROW(kavo::tasks::shapeDescription(exact, form, at(9, 20, 0, 0), "En"));
    EXPECT_NO_THROW(kavo::tasks::shapeDescription(exact, form, at(10, 20, 0, 0), "En"));
}

TEST(Counter, RaisedByOneAsASingleLine) {
    TempDir dir;
    const auto path = dir.path() / "Authorisation" / "Tasks_in_view.txt";
    writeBytes(path, "41\r\nignored\n");
    kavo::tasks::raiseTaskCounter(dir.path());
    EXPECT_EQ(readBytes(path), "42\r\n");
    for (const char* bad : {"", "x1\r\n", "1.0"}) {
        writeBytes(path, bad);
        EXPECT_THROW(kavo::tasks::raiseTaskCounter(dir.path()), kavo::Error) << bad;
        EXPECT_EQ(readBytes(path), bad);
    }
    fs::remove(path);
    EXPECT_THROW(kavo::tasks::raiseTaskCounter(dir.path()), kavo::Error);
}

TEST(IdentifierRewrite, DropsThePartLetterAndAddsALineBreak) {
    TempDir dir;
    const auto path = dir.path() / "3" / "task.xml";
    writeBytes(path, "<task name=\"TaskA3\" ename=\"TaskA3\">\r\n");
    kavo::tasks::rewriteIdentifiers(dir.path(), 3);
    EXPECT_EQ(readBytes(path), "<task name=\"Task3\" ename=\"Task3\">\r\n\r\n");
}

TEST(FormReset, ExactlyTheListedFields) {
    auto form = validForm();
    form.ListBox1.selected = 3;
    form.CheckBox1 = form.CheckBox2 = form.CheckBox3 = true;
    form.CheckBox4 = false;
    form.Edit7 = "r";
    form.Edit8 = "e";
    form.Edit3 = "2";
    form.RadioButton1 = true;
    form.RadioButton2 = false;
    auto expected = form;
    kavo::tasks::resetForm(form);
    expected.ListBox1.selected = 4;
    expected.ListBox2.selected = 1;
    expected.ListBox3.selected = 1;
    expected.CheckBox1 = expected.CheckBox2 = expected.CheckBox3 = false;
    for (auto* text :
         {&expected.Memo1, &expected.VariantOtveta_1, &expected.VariantOtveta_2,
          &expected.VariantOtveta_3, &expected.VariantOtveta_4, &expected.VariantOtveta_5,
          &expected.Edit7, &expected.Edit8, &expected.Edit1})
        text->clear();
    EXPECT_EQ(form.ListBox1.selected, expected.ListBox1.selected);
    EXPECT_EQ(form.ListBox2.selected, expected.ListBox2.selected);
    EXPECT_EQ(form.ListBox3.selected, expected.ListBox3.selected);
    EXPECT_EQ(std::tie(form.Memo1, form.VariantOtveta_1, form.VariantOtveta_2, form.VariantOtveta_3,
                       form.VariantOtveta_4, form.VariantOtveta_5, form.Edit1, form.Edit7,
                       form.Edit8, form.Edit2, form.Edit3, form.Edit4),
              std::tie(expected.Memo1, expected.VariantOtveta_1, expected.VariantOtveta_2,
                       expected.VariantOtveta_3, expected.VariantOtveta_4, expected.VariantOtveta_5,
                       expected.Edit1, expected.Edit7, expected.Edit8, expected.Edit2,
                       expected.Edit3, expected.Edit4));
    EXPECT_EQ(std::tie(form.CheckBox1, form.CheckBox2, form.CheckBox3, form.CheckBox4,
                       form.RadioButton1, form.RadioButton2),
              std::tie(expected.CheckBox1, expected.CheckBox2, expected.CheckBox3,
                       expected.CheckBox4, expected.RadioButton1, expected.RadioButton2));
    // Past the last number no selection remains.
    kavo::tasks::resetForm(form);
    EXPECT_EQ(form.ListBox1.selected, std::nullopt);
}

TEST(TypedAnswer, LanguageByLowercaseCyrillicCount) {
    struct Case {
        const char* condition;
        bool russian;
    };
    const Case cases[] = {
        {"\xE0\xE1", false},             // two lowercase letters
        {"\xE0\xE1\xFF", true},          // three
        {"\xC0\xC1\xC2\xC3\xDF", false}, // capitals only
        {"\xB8\xB8\xB8", false},         // ё does not count
        {"\xDF\xDF\xDF", false},         // just below the range
        {"x\xE0y\xE0z\xE0", true},       // the lower end counts
        {"Plain English", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(kavo::tasks::isRussianCondition(c.condition), c.russian) << c.condition;
}

TEST(MultipleChoice, SeventeenScoringLines) {
    struct Case {
        const char* answer;
        int removed;
        const char* rights; // which of a to e are "1"
    };
    const Case cases[] = {
        {"a,b", 0, "11000"},     {"A, C", 0, "10100"},      {"a,3", 0, "10000"},
        {"a,a,b,B", 0, "11000"}, {"e,d,c,b,a", 0, "11111"}, {"a,c", 1, "10100"},
        {"a,b", 2, "11000"},     {"a,b", 3, "11000"},
    };
    for (const auto& c : cases) {
        const auto lines = kavo::tasks::multipleChoiceScoring(c.answer, c.removed);
        ASSERT_EQ(lines.size(), 17u) << c.answer;
        Pieces expected{"countby=test"};
        std::string total = "total=score[1]";
        for (int i = 1; i <= 5; ++i) {
            const auto n = std::to_string(i);
            if (i > 5 - c.removed) {
                expected.insert(expected.end(), {"", "", ""});
                continue;
            }
            expected.push_back("[" + n + "]");
            expected.push_back("ans" + n + "=" + (c.rights[i - 1] == '1' ? "1" : ""));
            expected.push_back("score[" + n + "]=1");
            if (i > 1)
                total += "+score[" + n + "]";
        }
        expected.push_back(total);
        EXPECT_EQ(lines, expected) << c.answer << " " << c.removed;
    }
}
