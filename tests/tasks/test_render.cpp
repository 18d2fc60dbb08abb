// SPDX-License-Identifier: MIT
// The pieces of a package: the folder rule, the form's reading, the description, the
// counter and the scoring lines.
#include "core/common/error.hpp"
#include "core/render/render.hpp"
#include "core/tasks/add_task.hpp"
#include "forms.hpp"
#include "support/test_support.hpp"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using kavo::Lang;
using kavo::Pieces;
using kavo::model::Olympiad;
using kavo::model::Task;
using kavo::test::readBytes;
using kavo::test::TempDir;
using kavo::test::validForm;
using kavo::test::writeBytes;

TEST(TaskFolder, FiveRules) {
    struct Case {
        std::int64_t n;
        int k; // the old position argument, now the number itself
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
    for (const auto& c : cases) {
        const auto place = Olympiad{"/out", {c.a, c.b, c.c}}.place(c.n);
        ASSERT_EQ(place.has_value(), c.folder != nullptr) << c.n;
        if (c.folder) {
            EXPECT_EQ(place->folder, fs::path(c.folder));
            EXPECT_EQ(place->partLetter, c.letter) << c.n;
        }
    }
    // Sums beyond 32 bits do not wrap.
    EXPECT_EQ(Olympiad({"/out", {2147483647, 2147483647, 0}}).place(4294967294)->folder,
              fs::path("PartB/4294967294"));
}

TEST(TaskFolder, LocateReadsTheFormAfresh) {
    auto form = validForm();
    form.ListBox1.selected = 2;
    form.Edit2 = " 2";
    form.Edit3 = "$2";
    form.Edit4 = "1";
    const auto reading = kavo::tasks::readTaskForm(form, "/out", 5);
    EXPECT_EQ(reading.task.number, 3);
    EXPECT_EQ(reading.olympiad->place(3)->folder, fs::path("PartB/3"));
    EXPECT_FALSE(reading.olympiad->identifiersWithoutPart);
    for (auto field : {&kavo::tasks::TaskForm::Edit2, &kavo::tasks::TaskForm::Edit3,
                       &kavo::tasks::TaskForm::Edit4}) {
        auto bad = form;
        bad.*field = "2.5";
        const auto failed = kavo::tasks::readTaskForm(bad, "/out", 5);
        EXPECT_FALSE(failed.olympiad);
        ASSERT_TRUE(failed.sizeError);
        EXPECT_STREQ(failed.sizeError->what(), "'2.5' is not a valid integer value");
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
        EXPECT_EQ(kavo::tasks::answerIndex(c.answer), c.index) << c.answer;
}

namespace {
const char* header1 = "<task name=\"TaskA1\" ename=\"TaskA1\" cost=\"1\">\r\n</task>\r\n";
const char* header2 = "<task name=\"TaskA1 \" ename=\"TaskA1 \" cost=\"1\">\r\n</task>\r\n";

// A System_folder with the single-choice family only, its headers as given.
struct TinySystem {
    TempDir dir;
    TinySystem(const std::string& h1 = header1, const std::string& h2 = header2) {
        for (const char* name : {"task_part1.txt", "task_part1NoPic.txt", "task_part2.txt",
                                 "task_part3.txt", "task_part4.txt", "TASK.txt"})
            writeBytes(dir.path() / "file" / name, name);
        writeBytes(dir.path() / "file" / "task_xml.txt", h1);
        writeBytes(dir.path() / "file" / "task_xml_2.txt", h2);
    }
    // task.xml of task n with the part sizes a, b, c, less the final break of its piece.
    std::string describe(const Task& task, std::int32_t a, std::int32_t b, std::int32_t c,
                         Lang lang = Lang::English) const {
        const auto xml =
            kavo::render::renderTask(task, Olympiad{"/o", {a, b, c}}, dir.path(), lang).description;
        return xml.substr(0, xml.size() - 2);
    }
};

Task numbered(int n) {
    Task task;
    task.variants = {"a", "b", "c", "d", "e"};
    task.number = n;
    return task;
}
} // namespace

TEST(TaskXml, DefaultNamesOverwriteTheIdentifiers) {
    struct Case {
        int n;
        std::int32_t a, b, c;
        const char* name;
    };
    const Case cases[] = {
        {1, 2, 2, 1, "TaskA1"},   {3, 2, 2, 1, "TaskB3"},    {5, 2, 2, 1, "TaskC5"},
        {9, 9, 0, 0, "TaskA9"},   {9, 5, 5, 0, "TaskB9"},    {10, 4, 8, 0, "TaskB10"},
        {11, 4, 8, 0, "TaskB11"}, {11, 20, 0, 0, "TaskA11"}, {12, 2, 2, 8, "TaskC12"},
    };
    const TinySystem system;
    for (const auto& c : cases) {
        const std::string name = c.name;
        const auto expected =
            "<task name=\"" + name + "\" ename=\"" + name + "\" cost=\"1\">\r\n</task>\r\n";
        EXPECT_EQ(system.describe(numbered(c.n), c.a, c.b, c.c), expected) << c.name;
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
    const TinySystem system;
    for (int n : {9, 10, 11}) {
        for (const auto& c : cases) {
            auto task = numbered(n);
            task.names = kavo::model::OwnNames{c.ru, c.en};
            const auto expected = std::string("<task name=\"") + c.name + "\" ename=\"" + c.ename +
                                  "\" cost=\"1\">\r\n</task>\r\n";
            EXPECT_EQ(system.describe(task, 5, 6, 0), expected) << c.ru << " " << n;
        }
    }
}

TEST(TaskXml, ShortHeaderIsReportedByName) {
    const TinySystem shortHeaders(std::string(32, 'x'), std::string(34, 'x'));
    struct Case {
        int n;
        Lang lang;
        std::string report;
    };
    const Case cases[] = {
        {9, Lang::English,
         "The description template System_folder/file/task_xml.txt is too short: it must hold "
         "at least 33 characters."},
        {10, Lang::English,
         "The description template System_folder/file/task_xml_2.txt is too short: it must "
         "hold at least 35 characters."},
        {9, Lang::Russian,
         "Шаблон описания System_folder/file/task_xml.txt слишком короткий: в нем должно быть "
         "не меньше 33 символов."},
    };
    for (const auto& c : cases) {
        try {
            shortHeaders.describe(numbered(c.n), 20, 0, 0, c.lang);
            ADD_FAILURE() << c.n;
        } catch (const kavo::Error& e) {
            EXPECT_EQ(std::string(e.what()), c.report);
        }
    }
    // Own names need no overwrite, and exactly long enough headers are fine.
    auto own = numbered(9);
    own.names = kavo::model::OwnNames{"r", "e"};
    EXPECT_NO_THROW(shortHeaders.describe(own, 20, 0, 0));
    const TinySystem exact(std::string(33, 'x'), std::string(35, 'x'));
    EXPECT_NO_THROW(exact.describe(numbered(9), 20, 0, 0));
    EXPECT_NO_THROW(exact.describe(numbered(10), 20, 0, 0));
}

// The counter is read before the package is written and raised after it; it stops at the
// largest value its reader accepts, and one it cannot read leaves the tree untouched.
TEST(Counter, RaisedByOneAfterThePackage) {
    const TinySystem system;
    const auto path = system.dir.path() / "Authorisation" / "Tasks_in_view.txt";
    TempDir out;
    const Olympiad olympiad{out.path(), {5, 0, 0}};
    struct Case {
        const char *before, *after;
    };
    for (const Case c : {Case{"41\r\nignored\n", "42\r\n"}, Case{"2147483646", "2147483647\r\n"},
                         Case{"2147483647", "2147483647\r\n"}}) {
        writeBytes(path, c.before);
        kavo::tasks::writeTask(numbered(1), olympiad, system.dir.path(), Lang::English);
        EXPECT_EQ(readBytes(path), c.after) << c.before;
    }
    fs::remove_all(out.path() / "1");
    for (const char* bad : {"", "x1\r\n", "1.0"}) {
        writeBytes(path, bad);
        EXPECT_THROW(
            kavo::tasks::writeTask(numbered(1), olympiad, system.dir.path(), Lang::English),
            kavo::Error)
            << bad;
        EXPECT_EQ(readBytes(path), bad);
        EXPECT_FALSE(fs::exists(out.path() / "1")) << bad;
    }
}

TEST(IdentifierRewrite, DropsThePartLetterAndAddsALineBreak) {
    const TinySystem system("<task name=\"TaskA1\" ename=\"TaskA1\">TaskAx");
    Olympiad olympiad{"/o", {5, 0, 0}};
    olympiad.identifiersWithoutPart = true;
    EXPECT_EQ(kavo::render::renderTask(numbered(3), olympiad, system.dir.path(), Lang::English)
                  .description,
              "<task name=\"Task3\" ename=\"Task3\">Taskx\r\n\r\n");
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
        EXPECT_EQ(kavo::render::isRussianCondition(c.condition), c.russian) << c.condition;
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
        auto form = validForm();
        form.Edit1 = c.answer;
        const auto bits = kavo::tasks::readTaskForm(form, "/o", 5).task.answers;
        const auto lines = kavo::render::multipleChoiceScoring(bits, c.removed);
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
