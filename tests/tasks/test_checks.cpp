// SPDX-License-Identifier: MIT
#include "core/tasks/checks.hpp"
#include "core/tasks/markup_check.hpp"

#include "forms.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using kavo::model::TaskKind;
using kavo::tasks::TaskForm;
using kavo::test::cp1251;
using kavo::test::validForm;

namespace {

// The messages of the checks in order, as the user reads them.
struct Texts {
    const char* en;
    const char* ru; // UTF-8; the program holds Windows-1251
};
const Texts texts[] = {
    {"Select the task number you want to add!",
     "Выберите № задачи которую хотите добавить (изменить)!"},
    {"\nIs there a picture in the task?", "\nУкажите есть ли в условии задачи картинка!"},
    {"\nEnter the correct answer!", "\nВведите правильный ответ!"},
    {"\nFold answers?", "\nУкажите надо ли сварачивать ответы!"},
    {"\nThe maximum number of tasks 99!", "\nМаксимальное количество задач 99!"},
    {"\nTemplateForEdit does not use the symbol ','",
     "\nВ шаблоне TemplateForEdit в ответе не должно быть символа ','"},
    {"\nThe answer must be written in latin letters only!",
     "\nОтвет должен быть записан латинской буквой!"},
    {"\nThe answer should be from 'a' to 'e'!", "\nОтвет должен быть от 'a' до 'e'!"},
    {"\nThe answer must be a single letter from 'a' to 'e', with nothing else!",
     "\nОтвет должен быть одной буквой от 'a' до 'e', без других символов!"},
    {"\nThe correct answer names a removed variant!",
     "\nПравильный ответ указывает на удаленный вариант!"},
    {"\nThe task number lies in none of the parts A, B and C: check the numbers of tasks in "
     "the parts!",
     "\nНомер задачи не входит ни в одну из частей A, B и C: проверьте количество задач в "
     "частях!"},
    {"\nEnter the Russian and English task names, or check the default names!",
     "\nВведите русское и английское названия задачи или отметьте названия по умолчанию!"},
    {"\nEnter the condition of the task!", "\nВведите условие задачи!"},
    {"\nFill in variant A!", "\nЗаполните вариант A!"},
    {"\nFill in variant B!", "\nЗаполните вариант B!"},
    {"\nFill in variant C or tick its \"remove answer\" box!",
     "\nЗаполните вариант C или отметьте под ним «Удалить вариант ответа»!"},
};

std::string expected(const std::vector<int>& failed, bool english) {
    std::string out;
    for (int check : failed)
        out += english ? texts[check - 1].en : cp1251(texts[check - 1].ru);
    return out;
}

struct Case {
    const char* name;
    std::function<void(TaskForm&)> change;
    std::vector<int> failed;
    std::int64_t taskTotal = 5;
};

const std::vector<Case> cases = {
    {"valid", [](TaskForm&) {}, {}},
    {"empty form", [](TaskForm& f) { f = kavo::tasks::makeStartForm(); }, {1, 2, 3, 4, 13}},
    {"empty condition", [](TaskForm& f) { f.Memo1.clear(); }, {13}},
    {"variants B and C left empty",
     [](TaskForm& f) { f.VariantOtveta_2 = f.VariantOtveta_3 = ""; },
     {15, 16}},
    {"variants of blanks and non-breaking spaces count as empty",
     [](TaskForm& f) {
         f.VariantOtveta_1 = "  ";
         f.VariantOtveta_2 = "\t&nbsp; \xA0";
         f.VariantOtveta_3 = "&#160;";
     },
     {14, 15, 16}},
    {"a non-breaking space beside text is a variant",
     [](TaskForm& f) { f.VariantOtveta_2 = "&nbsp;x"; },
     {}},
    {"a condition of blanks", [](TaskForm& f) { f.Memo1 = " &nbsp;\r\n\t"; }, {13}},
    {"an empty variant that is removed passes",
     [](TaskForm& f) {
         f.VariantOtveta_5.clear();
         f.CheckBox3 = true;
     },
     {}},
    {"no task number", [](TaskForm& f) { f.ListBox1.selected.reset(); }, {1}},
    {"selection past the items", [](TaskForm& f) { f.ListBox1.selected = 9; }, {1}},
    {"no picture answer", [](TaskForm& f) { f.ListBox2.selected.reset(); }, {2}},
    {"empty answer with variants", [](TaskForm& f) { f.Edit1.clear(); }, {3, 8}},
    {"no fold answer", [](TaskForm& f) { f.ListBox3.selected.reset(); }, {4}},
    {"TaskTotal over 99", [](TaskForm&) {}, {5}, 100},
    {"TaskTotal 99", [](TaskForm&) {}, {}, 99},
    {"position 99",
     [](TaskForm& f) {
         f.ListBox1.items.resize(100, "100");
         f.ListBox1.selected = 99;
         f.Edit2 = "100";
     },
     {5}},
    {"comma in a typed answer",
     [](TaskForm& f) {
         f.VariantOtveta_1.clear();
         f.Edit1 = "3,5";
     },
     {6, 14}},
    {"Cyrillic answer hides check 8", [](TaskForm& f) { f.Edit1 = "\xC1"; }, {7}},
    {"digit answer with variants", [](TaskForm& f) { f.Edit1 = "1"; }, {8}},
    {"Cyrillic typed answer passes",
     [](TaskForm& f) {
         f.VariantOtveta_1.clear();
         f.Edit1 = "\xE4\xE0";
     },
     {}},
    {"b,d passes", [](TaskForm& f) { f.Edit1 = "b,d"; }, {}},
    {"ab yields no index", [](TaskForm& f) { f.Edit1 = "ab"; }, {9}},
    {"c and a blank yields no index", [](TaskForm& f) { f.Edit1 = "c "; }, {9}},
    {"folded without variant A is an empty answer button",
     [](TaskForm& f) {
         f.VariantOtveta_1.clear();
         f.ListBox3.selected = 0;
         f.Edit1 = "5";
     },
     {14}},
    {"folded, word answer",
     [](TaskForm& f) {
         f.ListBox3.selected = 0;
         f.Edit1 = "abc";
     },
     {9}},
    {"single answer names removed E",
     [](TaskForm& f) {
         f.CheckBox3 = true;
         f.Edit1 = "E";
     },
     {10}},
    {"single answer names kept D with E removed",
     [](TaskForm& f) {
         f.CheckBox3 = true;
         f.Edit1 = "d";
     },
     {}},
    {"folded answer c names removed C",
     [](TaskForm& f) {
         f.ListBox3.selected = 0;
         f.CheckBox1 = f.CheckBox2 = f.CheckBox3 = true;
         f.Edit1 = "c";
     },
     {10}},
    {"folded answer d names removed D",
     [](TaskForm& f) {
         f.ListBox3.selected = 0;
         f.CheckBox2 = f.CheckBox3 = true;
         f.Edit1 = "d";
     },
     {10}},
    {"multiple choice names removed e",
     [](TaskForm& f) {
         f.CheckBox3 = true;
         f.Edit1 = "a,e";
     },
     {10}},
    {"folded multiple choice names removed C in capitals",
     [](TaskForm& f) {
         f.ListBox3.selected = 0;
         f.CheckBox1 = f.CheckBox2 = f.CheckBox3 = true;
         f.Edit1 = "a,C";
     },
     {10}},

    {"typed answer ignores removal flags",
     [](TaskForm& f) {
         f.VariantOtveta_1.clear();
         f.CheckBox3 = true;
         f.Edit1 = "e";
     },
     {}},
    {"task beyond the parts",
     [](TaskForm& f) {
         f.Edit2 = "2";
         f.Edit3 = "1";
         f.Edit4 = "1";
         f.ListBox1.selected = 4;
     },
     {11}},
    {"task in part C",
     [](TaskForm& f) {
         f.Edit2 = "2";
         f.Edit3 = "1";
         f.Edit4 = "2";
         f.ListBox1.selected = 4;
     },
     {}},
    {"non-integer size is left to the writer",
     [](TaskForm& f) {
         f.Edit2 = "x";
         f.Edit3 = "1";
     },
     {}},
    {"own names without a Russian name",
     [](TaskForm& f) {
         f.CheckBox4 = false;
         f.Edit8 = "Name";
     },
     {12}},
    {"own names without an English name",
     [](TaskForm& f) {
         f.CheckBox4 = false;
         f.Edit7 = "\xC8\xEC\xFF";
     },
     {12}},
    {"both own names",
     [](TaskForm& f) {
         f.CheckBox4 = false;
         f.Edit7 = "\xC8\xEC\xFF";
         f.Edit8 = "Name";
     },
     {}},
    {"default names need no names", [](TaskForm& f) { f.Edit7 = f.Edit8 = ""; }, {}},
    {"everything at once",
     [](TaskForm& f) {
         f.ListBox1.selected.reset();
         f.ListBox2.selected.reset();
         f.ListBox3.selected.reset();
         f.Edit1 = "\xC1";
     },
     {1, 2, 4, 5, 7},
     120},
};

} // namespace

TEST(Checks, EveryCheckAloneAndTogetherInBothLanguages) {
    for (const auto& c : cases) {
        for (const bool english : {true, false}) {
            auto form = validForm();
            c.change(form);
            const auto lang = english ? kavo::Lang::English : kavo::Lang::Russian;
            EXPECT_EQ(kavo::tasks::checkForm(form, lang, c.taskTotal), expected(c.failed, english))
                << c.name << " / English " << english;
        }
    }
}

// With variant A filled the answer is one letter a to e, or letters separated by commas.
// The message of each fault comes after those of checks 7 and 8 and names what it found.
TEST(Checks, AnswerFieldOfATaskWithVariants) {
    const std::string characters =
        "\nThe correct answer cannot hold %1: write a letter from 'a' to 'e', or letters "
        "separated by commas!";
    const auto cannotHold = [&](const char* c) {
        std::string text = characters;
        return text.replace(text.find("%1"), 2, c);
    };
    const std::string notLatin = "\nThe answer must be written in latin letters only!";
    const std::string notAtoE = "\nThe answer should be from 'a' to 'e'!";
    struct Row {
        const char* answer; // Windows-1251
        std::string message;
    };
    const Row rows[] = {
        {"b", ""},
        {"E", ""},
        {"a,c", ""},
        {"A , c ,E", ""},
        {"b,", ""}, // the multiple choice of one right variant, as a reopened task shows it
        {"a,b, ", ""},
        {"a,c,f", cannotHold("'f'")},
        {"a,4,5", cannotHold("'4'")},
        {"a;c", cannotHold("';'")},
        {"a,\tc", cannotHold("U+0009")},
        {"cf", cannotHold("'f'")},
        {"1", notAtoE},
        {"1,a", notAtoE},
        {"b,\xF1", "\n'\xF1' is a Cyrillic letter: type the Latin c"},
        {"\xF1", notLatin + "\n'\xF1' is a Cyrillic letter: type the Latin c"},
        {"a,\xC2", "\n'\xC2' is a Cyrillic letter: type the Latin B"},
        {"\xC1,a", notLatin},
        {"a,\xE6", cannotHold("'\xE6'")},
        {"a,a", "\nThe correct answer names variant A twice!"},
        {"e,d,c,b,a,E", "\nThe correct answer names variant E twice!"},
        {"a,,b", "\nThe correct answer has two commas with no letter between them!"},
        {"a, ,b", "\nThe correct answer has two commas with no letter between them!"},
        {"a,bc", "\nThe correct answer needs a comma before 'c'!"},
        {"a,b d", "\nThe correct answer needs a comma before 'd'!"},
        {"ab", "\nThe answer must be a single letter from 'a' to 'e', with nothing else!"},
    };
    for (const Row& row : rows) {
        auto form = validForm();
        form.Edit1 = row.answer;
        EXPECT_EQ(kavo::tasks::checkForm(form, kavo::Lang::English, 5), row.message) << row.answer;
    }
    // A typed answer keeps its own rule: anything but a comma.
    auto typed = validForm();
    typed.VariantOtveta_1.clear();
    typed.ListBox3.selected = 1;
    typed.Edit1 = "\xF1 f;1";
    EXPECT_EQ(kavo::tasks::checkForm(typed, kavo::Lang::English, 5), "");

    const std::pair<const char*, const char*> russian[] = {
        {"b,\xF1", "\n'с' — кириллическая буква: наберите латинскую c"},
        {"a,f", "\nВ правильном ответе не может быть 'f': напишите букву от 'a' до 'e' или буквы "
                "через запятую!"},
        {"a,A", "\nПравильный ответ называет вариант A дважды!"},
        {"a,,b", "\nВ правильном ответе две запятые без буквы между ними!"},
        {"ac,b", "\nВ правильном ответе нужна запятая перед 'c'!"},
    };
    for (const auto& [answer, message] : russian) {
        auto form = validForm();
        form.Edit1 = answer;
        EXPECT_EQ(kavo::tasks::checkForm(form, kavo::Lang::Russian, 5), cp1251(message)) << answer;
    }
}

TEST(Checks, ChoiceOfTemplate) {
    struct Row {
        const char *variantA, *fold, *answer;
        std::optional<TaskKind> kind;
    };
    const Row rows[] = {
        {"x", "No", "b", TaskKind::SingleChoice},
        {"x", "no", "b", TaskKind::SingleChoice},
        {"", "NO", "3.14", TaskKind::TypedAnswer},
        {"x", "Yes", "b", TaskKind::FoldedChoice},
        {"", "yes", "2", TaskKind::FoldedChoice},
        {"x", "No", "a,b", TaskKind::MultipleChoice},
        {"x", "YES", "a,b", TaskKind::MultipleChoiceFolded},
        {"x", "Maybe", "b", std::nullopt},
    };
    for (const auto& row : rows) {
        auto form = validForm();
        form.VariantOtveta_1 = row.variantA;
        form.ListBox3.items = {row.fold};
        form.ListBox3.selected = 0;
        form.Edit1 = row.answer;
        const auto reading = kavo::tasks::readTaskForm(form, "/o", 5);
        const auto kind = reading.kindChosen ? std::optional(reading.task.kind) : std::nullopt;
        EXPECT_EQ(kind, row.kind) << row.fold << " " << row.answer;
    }
}

// The "<" are gathered in chunks: one on either side of a chunk's edge, or at the text's
// very end, is judged as anywhere else.
TEST(Checks, StrayLessThanAtTheEdgesOfChunks) {
    for (const std::size_t at : {0u, 30u, 31u, 32u, 1022u, 1023u, 1024u, 1025u, 2047u, 2048u}) {
        std::string text(at, 'x');
        text += "<zz";
        text += std::string(3000 - text.size() % 1000, 'y') + "<b>k</b>";
        EXPECT_EQ(kavo::tasks::strayLessThan(text), std::vector<std::size_t>{at}) << at;
        EXPECT_EQ(kavo::tasks::strayLessThan(text.substr(0, at + 2)), std::vector<std::size_t>{at})
            << at;
    }
    // Tags of one letter are passed over many at a time: only the known letters, closed at
    // once, in either case.
    std::string tags;
    std::vector<std::size_t> stray;
    while (tags.size() < 5000) {
        tags += "<b>x</B><P>y</p><i>z</u> ";
        for (const char* bad : {"<z>", "</c>", "<bz>", "</>"}) {
            stray.push_back(tags.size());
            tags += bad;
            tags += ' ';
        }
    }
    tags += ">";
    EXPECT_EQ(kavo::tasks::strayLessThan(tags), stray);
}

// A "<" that the browser would take for a tag is found; one that shows as typed is not.
TEST(Checks, StrayLessThanInPageText) {
    struct Case {
        const char* text;
        std::vector<std::size_t> stray;
    };
    const Case cases[] = {
        {"x <y", {2}},
        {"a<b and c</d", {1, 9}},
        {"<b>bold</b> <i>it</i> <br> <BR/> <img src=x>", {}},
        {"<!-- note --> <%radio()%> <% x", {}},
        {"x < y, 2<3, <=, <-", {}},
        {"<b unclosed", {0}},
        {"<!-- never closed", {0}},
        {"<bold>", {0}},
        {"</", {0}},
        {"<sup2>", {0}},
        {"<p\r\nclass=a>", {}},
        {"<math>x</math> <sub>1</sub>", {}},
        {"a <!b> c", {2}},
        {"<!DOCTYPE html><p>x</p>", {0}},
        // A tag met again is judged by more than the bytes it shares with the one before: a
        // longer name, a ">" no longer ahead.
        {"<abbr>x</abbr> <abbrx> z", {15}},
        {"<blockquote>a</blockquote><blockquotex> z", {26}},
        {"<p xy>1 <p xyz", {8}},
        {"<b>x<b>y<bx> z", {8}},
        {"<!-- a --> <!-- b", {11}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(kavo::tasks::strayLessThan(c.text), c.stray) << c.text;
}

// Deep in a large text a stray "<" is still found, and the end of a tag or comment still
// counts however far after its start it stands.
TEST(Checks, StrayLessThanDeepInALargeText) {
    std::string tags;
    while (tags.size() < (1u << 20))
        tags += "<p>A line with <b>bold</b> &amp; <I>it</I>.</p>\r\n";
    const std::size_t n = tags.size();
    struct Case {
        std::string text;
        std::vector<std::size_t> stray;
    };
    const Case cases[] = {
        {tags + "<bold>" + tags, {n}}, {tags + "x <y", {n + 2}},
        {tags + "<b unclosed", {n}},   {"<!--" + tags + "-->", {}},
        {"<!--" + tags, {0}},          {"<b" + std::string(1 << 20, ' ') + ">", {}},
        {tags + "<!-- " + tags, {n}},  {"<BLOCKQUOTE>" + tags + "</blockquote>", {}},
        {"<blockquotes>" + tags, {0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(kavo::tasks::strayLessThan(c.text), c.stray) << c.text.size();
}

TEST(Checks, MarkupWarningsNameTheFieldInOneQuestion) {
    kavo::model::Task task;
    task.condition = "if x <y then";
    task.variants = {"a", "<z>", std::nullopt, std::nullopt, "e"};
    const auto warnings = kavo::tasks::markupWarnings(task, kavo::Lang::English);
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_EQ(warnings[0].field, "Condition");
    EXPECT_EQ(warnings[0].text, "if x <y then");
    EXPECT_EQ(warnings[1].field, "Variant B");
    const auto question = kavo::tasks::markupQuestion(
        kavo::tasks::markupWarnings(task, kavo::Lang::Russian), kavo::Lang::Russian);
    EXPECT_NE(question.find(cp1251("Вариант B: «<z>»")), std::string::npos);
    EXPECT_NE(question.find("&lt;"), std::string::npos);
}
