// SPDX-License-Identifier: MIT
#include "core/edits/edits_task.hpp"

#include "core/common/codepage.hpp"
#include "core/common/error.hpp"
#include "core/render/read_back.hpp"
#include "core/tasks/task_form.hpp"
#include "support/test_support.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace fs = std::filesystem;
using kavo::edits::EditsForm;
using kavo::edits::EditsTemplates;
using kavo::edits::saveEditsTask;
using kavo::test::cp1251;
using kavo::test::listTree;
using kavo::test::readBytes;
using kavo::test::TempDir;
using kavo::test::writeBytes;

namespace {

// Each variant's templates name themselves, so the chosen variant shows in the output.
EditsTemplates smallTemplates() {
    EditsTemplates t;
    t.zamena = "cost=\"1\" of=\"10\"";
    t.task3Asp = "P4 *vs1*|*vs2*|*vs3*|*vs4*|*vs5*";
    t.task3Out = "O4 *ans1*|*ans2*|*ans3*|*ans4*";
    t.task1Asp = "P3 *vs1*|*vs2*|*vs3*|*vs4*|*vs5*";
    t.task1Out = "O3 *ans1*|*ans2*|*ans3*|*ans4*";
    t.task2Asp = "P2 *vs1*|*vs2*|*vs3*|*vs4*|*vs5*";
    t.task2Out = "O2 *ans1*|*ans2*|*ans3*|*ans4*";
    t.taskCfg = "cfg\r\n";
    t.taskXml = "<task id=\"TaskA1\" ename=\"TaskA1\" cost=\"1\" of=\"10\"/>\r\n";
    return t;
}

EditsForm filledForm(const char* number = "7") {
    EditsForm f;
    f.Memo1 = "main";
    f.Memo2 = "a";
    f.Memo3 = "b";
    f.Memo4 = "c";
    f.Memo5 = "d";
    f.Edit1 = "1";
    f.Edit2 = "2";
    f.Edit3 = "3";
    f.Edit4 = "4";
    f.Edit5 = number;
    f.Edit6 = "Name";
    return f;
}

bool sameForm(const EditsForm& a, const EditsForm& b) {
    return a.Memo1 == b.Memo1 && a.Memo2 == b.Memo2 && a.Memo3 == b.Memo3 && a.Memo4 == b.Memo4 &&
           a.Memo5 == b.Memo5 && a.Edit1 == b.Edit1 && a.Edit2 == b.Edit2 && a.Edit3 == b.Edit3 &&
           a.Edit4 == b.Edit4 && a.Edit5 == b.Edit5 && a.Edit6 == b.Edit6 &&
           a.CheckBox1 == b.CheckBox1 && a.CheckBox2 == b.CheckBox2;
}

} // namespace

TEST(EditsSave, EachVariantFillsItsTemplates) {
    struct Case {
        bool removeC, removeD;
        const char* page;
        const char* scoring;
        const char* description;
    };
    const Case cases[] = {
        {false, false, "P4 main|a|b|c|d", "O4 1|2|3|4",
         "<task id=\"Name\" ename=\"Name\" cost=\"4\" of=\"40\"/>"},
        {false, true, "P3 main|a|b|c|*vs5*", "O3 1|2|3|*ans4*",
         "<task id=\"Name\" ename=\"Name\" cost=\"3\" of=\"30\"/>"},
        {true, true, "P2 main|a|b|*vs4*|*vs5*", "O2 1|2|*ans3*|*ans4*",
         "<task id=\"Name\" ename=\"Name\" cost=\"2\" of=\"20\"/>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.page);
        TempDir out;
        auto form = filledForm();
        form.CheckBox1 = c.removeC;
        form.CheckBox2 = c.removeD;
        const auto result = saveEditsTask(
            form, smallTemplates(), kavo::model::Olympiad{out.path(), {}}, kavo::Lang::English);
        ASSERT_TRUE(result.written) << result.message;
        EXPECT_EQ(result.message, "");
        EXPECT_EQ(listTree(out.path()), "7/\n7/TASK.CFG\n7/task.asp\n7/task.out\n7/task.xml\n"
                                        "7/webfiles/\n");
        EXPECT_EQ(readBytes(out.path() / "7/task.asp"), std::string(c.page) + "\r\n");
        EXPECT_EQ(readBytes(out.path() / "7/task.out"), std::string(c.scoring) + "\r\n");
        EXPECT_EQ(readBytes(out.path() / "7/TASK.CFG"), "cfg\r\n\r\n");
        EXPECT_EQ(readBytes(out.path() / "7/task.xml"), std::string(c.description) + "\r\n\r\n");
        EXPECT_TRUE(sameForm(form, EditsForm{})) << "the form is emptied";
    }
}

// Every refusal shows its message, writes nothing and keeps the form.
TEST(EditsSave, RefusalsWriteNothing) {
    const std::string specify = "\nSpecify the number of the task";
    const std::string badNumber =
        "\nThe task number must name a folder inside the output folder, for example 7 or "
        "PartB\\7";
    struct Case {
        const char* name;
        void (*change)(EditsForm&);
        kavo::Lang lang;
        std::string message;
    };
    const Case cases[] = {
        {"empty number", [](EditsForm& f) { f.Edit5 = ""; }, kavo::Lang::English, specify},
        {"empty number, Russian", [](EditsForm& f) { f.Edit5 = ""; }, kavo::Lang::Russian,
         cp1251("\nУкажите номер задачи")},
        {"remove C keeps D", [](EditsForm& f) { f.CheckBox1 = true; }, kavo::Lang::English,
         specify},
        {"absolute", [](EditsForm& f) { f.Edit5 = "/7"; }, kavo::Lang::English, badNumber},
        {"root backslash", [](EditsForm& f) { f.Edit5 = "\\7"; }, kavo::Lang::English, badNumber},
        {"drive", [](EditsForm& f) { f.Edit5 = "C:\\Tasks\\7"; }, kavo::Lang::English, badNumber},
        {"parent", [](EditsForm& f) { f.Edit5 = ".."; }, kavo::Lang::English, badNumber},
        {"parent inside", [](EditsForm& f) { f.Edit5 = "PartB\\..\\..\\7"; }, kavo::Lang::English,
         badNumber},
        {"dot", [](EditsForm& f) { f.Edit5 = "./7"; }, kavo::Lang::English, badNumber},
        {"separators only", [](EditsForm& f) { f.Edit5 = "\\/\\"; }, kavo::Lang::English,
         badNumber},
        {"bad number, Russian", [](EditsForm& f) { f.Edit5 = "."; }, kavo::Lang::Russian,
         cp1251("\nНомер задачи должен указывать папку внутри папки задач, например 7 или "
                "PartB\\7")},
        {"number outside the code page", [](EditsForm& f) { f.Edit5 = std::nullopt; },
         kavo::Lang::English, badNumber},
        {"answers outside the code page",
         [](EditsForm& f) {
             f.Edit2 = std::nullopt;
             f.Edit4 = std::nullopt;
         },
         kavo::Lang::English,
         "\nThe answer to B holds a character that task.out cannot store (Windows-1251 code "
         "page)\nThe answer to D holds a character that task.out cannot store (Windows-1251 "
         "code page)"},
        {"nothing left empty",
         [](EditsForm& f) {
             f.Memo1 = f.Edit6 = f.Memo3 = f.Memo4 = "";
             f.Edit1 = "";
         },
         kavo::Lang::English,
         "\nEnter the main condition of the task\nEnter the name of the task\nEnter the answer "
         "to sub-question A\nFill in sub-question B\nFill in sub-question C or tick its "
         "\"Remove\" box"},
        {"an empty sub-question, Russian", [](EditsForm& f) { f.Memo5 = ""; }, kavo::Lang::Russian,
         cp1251("\nЗаполните подвопрос D или отметьте «Удалить» под ним")},
        {"answer outside the code page, Russian", [](EditsForm& f) { f.Edit1 = std::nullopt; },
         kavo::Lang::Russian,
         cp1251("\nОтвет к подвопросу A содержит символ, который нельзя записать в task.out "
                "(кодовая страница Windows-1251)")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir out;
        auto form = filledForm();
        c.change(form);
        const auto before = form;
        const auto result = saveEditsTask(form, smallTemplates(),
                                          kavo::model::Olympiad{out.path() / "Year", {}}, c.lang);
        EXPECT_FALSE(result.written);
        EXPECT_EQ(result.message, c.message);
        EXPECT_EQ(listTree(out.path()), "");
        EXPECT_TRUE(sameForm(form, before));
    }
}

TEST(EditsSave, AnAnswerOfARemovedSubQuestionIsNotChecked) {
    TempDir out;
    auto form = filledForm();
    form.CheckBox2 = true;
    form.Edit4 = std::nullopt;
    EXPECT_TRUE(saveEditsTask(form, smallTemplates(), kavo::model::Olympiad{out.path(), {}},
                              kavo::Lang::English)
                    .written);
}

TEST(TaskFolderFragment, AcceptsBothSeparators) {
    const std::pair<const char*, const char*> cases[] = {
        {"7", "7"},
        {"PartB\\7", "PartB/7"},
        {"PartB/7", "PartB/7"},
        {"PartB//7\\", "PartB/7"},
        {"a.b\\..c", "a.b/..c"},
    };
    for (const auto& [number, folder] : cases)
        EXPECT_EQ(kavo::model::Olympiad{}.editsFolder(number), fs::path(folder)) << number;
    const std::string cyrillic = cp1251("Задача 7");
    EXPECT_EQ(kavo::model::Olympiad{}.editsFolder(cyrillic)->string(), "Задача 7");
}

TEST(EditsSave, SubFoldersAndSavingTwice) {
    TempDir out;
    auto form = filledForm("PartB\\7");
    ASSERT_TRUE(saveEditsTask(form, smallTemplates(), kavo::model::Olympiad{out.path(), {}},
                              kavo::Lang::English)
                    .written);
    writeBytes(out.path() / "PartB/7/webfiles/picture.png", "png");
    form = filledForm("PartB/7");
    form.Memo1 = "second";
    const auto result = saveEditsTask(form, smallTemplates(), kavo::model::Olympiad{out.path(), {}},
                                      kavo::Lang::English);
    ASSERT_TRUE(result.written);
    EXPECT_EQ(result.taskFolder, out.path() / "PartB" / "7");
    EXPECT_EQ(readBytes(out.path() / "PartB/7/task.asp"), "P4 second|a|b|c|d\r\n");
    EXPECT_EQ(listTree(out.path()), "PartB/\nPartB/7/\nPartB/7/TASK.CFG\nPartB/7/task.asp\n"
                                    "PartB/7/task.out\nPartB/7/task.xml\nPartB/7/webfiles/\n"
                                    "PartB/7/webfiles/picture.png\n");
}

TEST(EditsSave, ReplacementsRunInOrderOnTheResultBefore) {
    TempDir out;
    auto form = filledForm();
    form.Memo1 = "[*vs3*]";  // replaced later by the condition of B
    form.Memo2 = "[*vs1*]";  // its placeholder was already replaced: stays
    form.Edit1 = "*ans2*";   // likewise for answers
    form.Edit2 = "x*ans1*";  // stays as typed
    form.Edit6 = "x TaskA1"; // the name is not scanned again
    ASSERT_TRUE(saveEditsTask(form, smallTemplates(), kavo::model::Olympiad{out.path(), {}},
                              kavo::Lang::English)
                    .written);
    EXPECT_EQ(readBytes(out.path() / "7/task.asp"), "P4 [b]|[*vs1*]|b|c|d\r\n");
    EXPECT_EQ(readBytes(out.path() / "7/task.out"), "O4 x*ans1*|x*ans1*|3|4\r\n");
    EXPECT_EQ(readBytes(out.path() / "7/task.xml"),
              "<task id=\"x TaskA1\" ename=\"x TaskA1\" cost=\"4\" of=\"40\"/>\r\n\r\n");
}

TEST(EditsSave, DescriptionSnippetAndName) {
    struct Case {
        const char* name;
        const char* zamena;
        const char* xml;
        const char* edit6;
        const char* written;
    };
    const Case cases[] = {
        {"only the description escapes the name", "", "<t n=\"TaskA1\"/>", "a\"b<c>&d &#171;&amp;",
         "<t n=\"a&quot;b&lt;c>&amp;d &#171;&amp;\"/>"},
        {"snippet missing from the description", "k=\"1\"", "<t n=\"TaskA1\" k=\"5\"/>", "N",
         "<t n=\"N\" k=\"5\"/>"},
        {"marker inside the snippet keeps the digit", "id=\"TaskA1\"",
         "<t id=\"TaskA1\" e=\"TaskA1\"/>", "N", "<t id=\"TaskA4\" e=\"N\"/>"},
        {"snippet spanning lines", "a=\"1\"\r\nb=\"11\"", "<t\r\na=\"1\"\r\nb=\"11\"/>", "N",
         "<t\r\na=\"4\"\r\nb=\"44\"/>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir out;
        auto templates = smallTemplates();
        templates.zamena = c.zamena;
        templates.taskXml = c.xml;
        auto form = filledForm();
        form.Edit6 = c.edit6;
        form.Memo1 = "<b>&amp; & \"</b>";
        ASSERT_TRUE(saveEditsTask(form, templates, kavo::model::Olympiad{out.path(), {}},
                                  kavo::Lang::English)
                        .written);
        EXPECT_EQ(readBytes(out.path() / "7/task.xml"), std::string(c.written) + "\r\n");
        EXPECT_EQ(readBytes(out.path() / "7/task.asp"), "P4 <b>&amp; & \"</b>|a|b|c|d\r\n");
    }
}

// A file that cannot be written stops the save before any file is written; the form stays.
TEST(EditsSave, AFailedWriteLeavesTheFolderAndTheForm) {
    for (const char* blocked : {"task.asp", "task.out", "TASK.CFG", "task.xml"}) {
        SCOPED_TRACE(blocked);
        TempDir out;
        fs::create_directories(out.path() / "7" / blocked);
        auto form = filledForm();
        const auto before = form;
        EXPECT_THROW(saveEditsTask(form, smallTemplates(), kavo::model::Olympiad{out.path(), {}},
                                   kavo::Lang::English),
                     kavo::Error);
        EXPECT_EQ(listTree(out.path()), "7/\n7/" + std::string(blocked) + "/\n");
        EXPECT_TRUE(sameForm(form, before));
    }
    TempDir out;
    writeBytes(out.path() / "Year", "a file where the output folder should be");
    auto form = filledForm();
    try {
        saveEditsTask(form, smallTemplates(), kavo::model::Olympiad{out.path() / "Year", {}},
                      kavo::Lang::English);
        ADD_FAILURE() << "no error";
    } catch (const kavo::Error& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file " + (out.path() / "Year").string() +
                                             "\nA part of the path is not a folder");
    }
    EXPECT_EQ(form.Memo1, "main");
}

TEST(EditsTemplatesRead, AMissingTemplateIsNamed) {
    const char* files[] = {
        "file_for_edits/zamena.txt", "file_for_edits/task1.asp", "file_for_edits/task1.out",
        "file_for_edits/task.cfg",   "file/task_xml.txt",        "file_for_edits/task2.asp",
        "file_for_edits/task2.out",  "file_for_edits/task3.asp", "file_for_edits/task3.out"};
    TempDir dir;
    for (const char* file : files)
        writeBytes(dir.path() / "System_folder" / file, std::string(file) + "\n");
    const auto t = kavo::edits::readEditsTemplates(dir.path());
    EXPECT_EQ(t.zamena, "file_for_edits/zamena.txt\r\n");
    EXPECT_EQ(t.taskXml, "file/task_xml.txt\r\n");
    EXPECT_EQ(t.task3Out, "file_for_edits/task3.out\r\n");
    for (const char* file : files) {
        SCOPED_TRACE(file);
        const auto path = dir.path() / "System_folder" / file;
        fs::rename(path, path.string() + ".away");
        try {
            kavo::edits::readEditsTemplates(dir.path());
            ADD_FAILURE() << "no error";
        } catch (const kavo::Error& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Cannot open file " + path.string() + "\nNo such file or folder");
        }
        fs::rename(path.string() + ".away", path);
    }
}

// Every variant of the shipped templates gives a page with each sub-question and its
// answer field, a scoring section per answer, and the count in the description.
TEST(EditsSave, ShippedTemplatesAssembleEveryVariant) {
    TempDir dir;
    kavo::test::copySystemFolder(dir.path());
    const auto templates = kavo::edits::readEditsTemplates(dir.path());
    const std::string field = readBytes(dir.path() / "System_folder/browser/input_str.txt");
    const std::pair<bool, bool> boxes[] = {{false, false}, {false, true}, {true, true}};
    for (const auto& [removeC, removeD] : boxes) {
        const int count = kavo::edits::subQuestionCount(removeC, removeD);
        SCOPED_TRACE(count);
        auto form = filledForm();
        form.Memo1 = "Main condition\r\nsecond line";
        form.Memo2 = "Condition A";
        form.Memo3 = "Condition B";
        form.Memo4 = "Condition C";
        form.Memo5 = "Condition D";
        form.Edit1 = "11";
        form.Edit2 = "22";
        form.Edit3 = "33";
        form.Edit4 = "44";
        form.CheckBox1 = removeC;
        form.CheckBox2 = removeD;
        ASSERT_TRUE(saveEditsTask(form, templates, kavo::model::Olympiad{dir.path() / "Year", {}},
                                  kavo::Lang::Russian)
                        .written);
        const auto folder = dir.path() / "Year" / "7";
        const auto page = readBytes(folder / "task.asp");
        const auto scoring = readBytes(folder / "task.out");
        const auto description = readBytes(folder / "task.xml");
        EXPECT_NE(page.find("Main condition\r\nsecond line"), std::string::npos);
        std::size_t fields = 0;
        for (auto at = page.find(field); at != std::string::npos; at = page.find(field, at + 1))
            ++fields;
        EXPECT_EQ(fields, static_cast<std::size_t>(count));
        std::string total = "total=score[1]";
        for (int i = 1; i <= 4; ++i) {
            const std::string letter(1, static_cast<char>('A' + i - 1));
            const std::string answer = "ans" + std::to_string(i) + "=" + std::to_string(11 * i);
            EXPECT_EQ(page.find("Condition " + letter) != std::string::npos, i <= count);
            EXPECT_EQ(scoring.find(answer + "\r\nscore[" + std::to_string(i) + "]=1\r\n") !=
                          std::string::npos,
                      i <= count);
            if (i > 1 && i <= count)
                total += "+score[" + std::to_string(i) + "]";
        }
        EXPECT_EQ(scoring.rfind("countby=test\r\n[1]\r\n", 0), 0u);
        EXPECT_NE(scoring.find("\r\n" + total + "\r\n"), std::string::npos);
        for (const auto& text : {page, scoring, description})
            EXPECT_EQ(text.find("*vs"), std::string::npos) << text;
        EXPECT_EQ(scoring.find("*ans"), std::string::npos);
        EXPECT_NE(description.find("cost=\"" + std::to_string(count) + "\""), std::string::npos);
        EXPECT_NE(description.find("ename=\"Name\""), std::string::npos);
        EXPECT_EQ(description.find("TaskA1"), std::string::npos);
        EXPECT_EQ(readBytes(folder / "TASK.CFG"), templates.taskCfg + "\r\n");
    }
}

// An Edits task read back into the form and saved again gives the same bytes.
TEST(EditsReopen, ReadBackAndSavedAgainGivesTheSameBytes) {
    struct Case {
        const char* typed; // the number as first typed
        bool removeC, removeD;
        std::string title;
    };
    const Case cases[] = {
        {"PartC\\5", false, false, "Train"},
        {"5", false, true, cp1251("Поезд \"Ласточка\" & <co>")},
        {"Edits 7", true, true, "N"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        TempDir dir;
        kavo::test::copySystemFolder(dir.path());
        const auto templates = kavo::edits::readEditsTemplates(dir.path());
        const kavo::model::Olympiad olympiad{dir.path() / "Year", {3, 2, 1}};
        auto form = filledForm(c.typed);
        form.Memo1 = cp1251("Решите систему\r\n  <i>x</i> &lt; y");
        form.Edit6 = c.title;
        form.CheckBox1 = c.removeC;
        form.CheckBox2 = c.removeD;
        const auto first = saveEditsTask(form, templates, olympiad, kavo::Lang::English);
        ASSERT_TRUE(first.written) << first.message;
        const char* files[] = {"task.asp", "TASK.CFG", "task.out", "task.xml"};
        std::vector<std::string> written;
        for (const char* file : files)
            written.push_back(readBytes(first.taskFolder / file));

        const auto read = kavo::render::readEditsTask(
            kavo::render::TemplateSet::load(dir.path() / "System_folder"), olympiad,
            first.taskFolder.lexically_relative(olympiad.outputDir));
        const auto task = kavo::render::taskToReopen(read);
        ASSERT_TRUE(task) << read.report(kavo::Lang::English);
        EXPECT_EQ(task->title, c.title) << "typed as characters, not as references";
        form = kavo::edits::editsFormOf(*task);
        const auto again = saveEditsTask(form, templates, olympiad, kavo::Lang::English);
        ASSERT_TRUE(again.written) << again.message;
        EXPECT_EQ(again.taskFolder, first.taskFolder);
        for (std::size_t i = 0; i < written.size(); ++i)
            EXPECT_EQ(readBytes(again.taskFolder / files[i]), written[i]) << files[i];
    }
}

// The "<" warnings of a run come in one question, whose No writes nothing; a folder
// without a package is not asked about.
TEST(EditsSave, QuestionsBeforeWriting) {
    TempDir out;
    std::vector<std::string> asked;
    bool answer = false;
    kavo::edits::EditsQuestions questions;
    questions.markup = [&](const kavo::Text& q) {
        asked.push_back(q);
        return answer;
    };
    questions.replace = [&](const std::string& q) {
        asked.push_back(q);
        return answer;
    };
    auto form = filledForm();
    form.Memo1 = "if x <y then";
    form.Memo3 = "1 < 2 and <q";
    for (const bool yes : {false, true}) {
        asked.clear();
        answer = yes;
        const auto result =
            saveEditsTask(form, smallTemplates(), kavo::model::Olympiad{out.path(), {}},
                          kavo::Lang::English, questions);
        EXPECT_EQ(result.written, yes);
        EXPECT_EQ(listTree(out.path()).empty(), !yes);
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_NE(asked[0].find("Condition: \"if x <y then\""), std::string::npos) << asked[0];
        EXPECT_NE(asked[0].find("Sub-question B: \"1 < 2 and <q\""), std::string::npos);
    }
}

// The replace question is asked with the tree locked: another program cannot write the folder
// between the answer and the write. The lock goes with the answer, Yes or No.
TEST(EditsSave, ReplaceQuestionHoldsTheTree) {
    TempDir out;
    const kavo::model::Olympiad olympiad{out.path(), {}};
    // Whether another descriptor, as another program's, could take the tree's lock now.
    const auto lockable = [&] {
        const int fd = ::open(out.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        const bool free = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        if (fd >= 0)
            ::close(fd);
        return free;
    };
    auto form = filledForm();
    ASSERT_TRUE(saveEditsTask(form, smallTemplates(), olympiad, kavo::Lang::English).written);
    for (const bool yes : {false, true}) {
        int asked = 0;
        kavo::edits::EditsQuestions questions;
        questions.replace = [&](const std::string&) {
            ++asked;
            EXPECT_FALSE(lockable());
            return yes;
        };
        form = filledForm();
        const auto result =
            saveEditsTask(form, smallTemplates(), olympiad, kavo::Lang::English, questions);
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(result.written, yes);
        EXPECT_TRUE(lockable());
    }
}
