// SPDX-License-Identifier: MIT
#include "core/tasks/add_task.hpp"

#include "core/common/error.hpp"
#include "core/common/files.hpp"
#include "forms.hpp"
#include "support/test_support.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <deque>
#include <optional>

namespace fs = std::filesystem;
using kavo::tasks::AddTaskResult;
using kavo::tasks::TaskForm;
using kavo::test::readBytes;
using kavo::test::validForm;
using kavo::test::writeBytes;

namespace {

const std::string CRLF = "\r\n";

// A working folder with a copy of the shipped System_folder whose author is known.
struct Workplace {
    kavo::test::TempDir dir;
    kavo::tasks::AppValues app;

    Workplace() {
        kavo::test::copySystemFolder(dir.path());
        writeBytes(system() / "Authorisation" / "save.txt", "0\r\n");
        app = {kavo::Lang::English, dir.path(), dir.path() / "Year", 5};
    }
    fs::path system() const { return dir.path() / "System_folder"; }
    std::string shipped(const std::string& name) const { return readBytes(system() / name); }
    std::string counter() const { return shipped("Authorisation/Tasks_in_view.txt"); }
    std::string tree() const { return kavo::test::listTree(app.OutputDir); }
};

std::string english(const std::string& pageTemplate) {
    return kavo::replaceAll(pageTemplate, "lang=\"ru\"", "lang=\"en\"");
}

std::string join(const std::vector<std::string>& pieces) {
    std::string out;
    for (const auto& piece : pieces)
        out += piece + CRLF;
    return out;
}

const std::array<std::string, 5> variantTexts{"Alpha <b>1</b>", "Bravo", "Charlie", "Delta",
                                              "Echo"};

// The page of a family with variants: the templates around the variants in page order,
// then every removed variant's own <li> block cut out whole, then one more line break for
// each block removal.
std::string expectedVariantPage(const Workplace& w, const std::string& family,
                                const std::vector<std::string>& order, bool picture,
                                const std::string& condition, int removed, int removalsEach) {
    // The conditions here are English, and so is the page's language.
    std::vector<std::string> pieces{
        english(w.shipped(family + (picture ? "/task_part1.txt" : "/task_part1NoPic.txt"))),
        condition};
    for (int i = 0; i < 5; ++i) {
        pieces.push_back(w.shipped(family + "/" + order[i]));
        pieces.push_back(i >= 5 - removed ? "@removed@" : variantTexts[i]);
    }
    pieces.push_back(w.shipped(family + "/" + order[5]));
    std::string page = join(pieces);
    for (auto at = page.find("@removed@"); at != std::string::npos; at = page.find("@removed@")) {
        const auto start = page.rfind("<li", at);
        const auto end = page.find("</li>\r\n", at) + 7;
        page.erase(start, end - start);
    }
    for (int i = 0; i < removed * removalsEach; ++i)
        page += CRLF;
    return page;
}

TaskForm formWith(int removed, bool picture) {
    auto form = validForm();
    form.VariantOtveta_1 = variantTexts[0];
    form.ListBox2.selected = picture ? 0 : 1;
    form.CheckBox3 = removed >= 1;
    form.CheckBox2 = removed >= 2;
    form.CheckBox1 = removed >= 3;
    return form;
}

// task.xml of task 1 without part folders: the identifiers lose their part letter, and the
// rewrite adds a line break.
std::string expectedRootDescription(const Workplace& w, const std::string& cost = "1") {
    auto text = kavo::replaceAll(w.shipped("file/task_xml.txt"), "TaskA1", "Task1");
    text = kavo::replaceAll(text, "cost=\"1\"", "cost=\"" + cost + "\"");
    return text + CRLF + CRLF;
}

void expectPackage(const Workplace& w, const AddTaskResult& result, const std::string& family,
                   const std::string& page, const std::vector<std::string>& scoring,
                   const std::string& description, const char* what) {
    SCOPED_TRACE(what);
    EXPECT_EQ(result.message, "");
    EXPECT_TRUE(result.written);
    EXPECT_FALSE(result.showAuthorDialog);
    const auto folder = w.app.OutputDir / "1";
    EXPECT_EQ(w.tree(), "1/\n1/TASK.CFG\n1/task.asp\n1/task.out\n1/task.xml\n1/webfiles/\n");
    EXPECT_EQ(readBytes(folder / "task.asp"), page);
    EXPECT_EQ(readBytes(folder / "TASK.CFG"), w.shipped(family + "/TASK.txt") + CRLF);
    EXPECT_EQ(readBytes(folder / "task.out"), join(scoring));
    EXPECT_EQ(readBytes(folder / "task.xml"), description);
    EXPECT_EQ(w.counter(), "1\r\n");
}

const std::vector<std::string> radioOrder{"task_part2.txt", "task_part3.txt", "task_part3.txt",
                                          "task_part3.txt", "task_part3.txt", "task_part4.txt"};
const std::vector<std::string> foldedOrder{"task_part5.txt", "task_part2.txt", "task_part3.txt",
                                           "task_part4.txt", "task_part6.txt", "task_part7.txt"};

} // namespace

// Each kept variant stands in the page once, and no removed one leaves its block.
void expectVariants(const Workplace& w, int removed, const char* mark) {
    const auto page = readBytes(w.app.OutputDir / "1" / "task.asp");
    for (int i = 1; i < 5; ++i)
        EXPECT_EQ(page.find(variantTexts[i]) != std::string::npos, i < 5 - removed) << i;
    std::size_t blocks = 0;
    for (auto at = page.find("<li"); at != std::string::npos; at = page.find("<li", at + 1))
        ++blocks;
    EXPECT_EQ(blocks, 5u - removed);
    std::size_t marks = 0;
    for (auto at = page.find(mark); at != std::string::npos; at = page.find(mark, at + 1))
        ++marks;
    EXPECT_EQ(marks, 5u - removed);
}

TEST(AddTask, SingleChoicePackageForEveryRemoval) {
    for (bool picture : {true, false}) {
        for (int removed = 0; removed <= 3; ++removed) {
            Workplace w;
            auto form = formWith(removed, picture);
            form.Edit1 = "b";
            const auto condition = form.Memo1;
            const auto result = kavo::tasks::addTask(form, w.app);
            const auto what = std::to_string(removed) + (picture ? " picture" : "");
            expectPackage(
                w, result, "file",
                expectedVariantPage(w, "file", radioOrder, picture, condition, removed, 1),
                {"countby=test", "[1]", "ans1=1", "score[1]=1"}, expectedRootDescription(w),
                what.c_str());
            expectVariants(w, removed, "<%radio()%>");
        }
    }
}

TEST(AddTask, FoldedPackageForEveryRemoval) {
    for (int removed = 0; removed <= 3; ++removed) {
        Workplace w;
        auto form = formWith(removed, true);
        form.ListBox3.selected = 0;
        form.Edit1 = "B";
        const auto condition = form.Memo1;
        const auto result = kavo::tasks::addTask(form, w.app);
        const auto what = std::to_string(removed);
        expectPackage(
            w, result, "file_for_spoiler",
            expectedVariantPage(w, "file_for_spoiler", foldedOrder, true, condition, removed, 1),
            {"countby=test", "[1]", "ans1=1", "score[1]=1"}, expectedRootDescription(w),
            what.c_str());
        expectVariants(w, removed, "<%radio()%>");
    }
}

TEST(AddTask, MultipleChoicePackagesFoldedAndNotForEveryRemoval) {
    const char* sections[] = {"[1]",        "ans1=1",     "score[1]=1", "[2]",        "ans2=1",
                              "score[2]=1", "[3]",        "ans3=",      "score[3]=1", "[4]",
                              "ans4=",      "score[4]=1", "[5]",        "ans5=",      "score[5]=1"};
    for (bool folded : {false, true}) {
        const std::string family =
            folded ? "file_for_MultipleChoice_Spoiler" : "file_for_MultipleChoice";
        for (int removed = 0; removed <= 3; ++removed) {
            Workplace w;
            auto form = formWith(removed, false);
            form.ListBox3.selected = folded ? 0 : 1;
            form.Edit1 = "a,B";
            const auto condition = form.Memo1;
            const auto result = kavo::tasks::addTask(form, w.app);
            std::vector<std::string> scoring{"countby=test"};
            std::string total = "total=score[1]";
            for (int i = 0; i < 15; ++i)
                scoring.push_back(i / 3 >= 5 - removed ? "" : sections[i]);
            for (int i = 2; i <= 5 - removed; ++i)
                total += "+score[" + std::to_string(i) + "]";
            scoring.push_back(total);
            const auto what = family + " " + std::to_string(removed);
            expectPackage(w, result, family,
                          expectedVariantPage(w, family, foldedOrder, false, condition, removed, 2),
                          scoring, expectedRootDescription(w, std::to_string(5 - removed)),
                          what.c_str());
            expectVariants(w, removed, "<%check()%>");
        }
    }
}

TEST(AddTask, TypedAnswerPackageInBothLanguages) {
    // Russian: "Сколько будет два плюс два?"
    const std::string russian = kavo::test::cp1251("Сколько будет два плюс два?");
    for (bool picture : {true, false}) {
        for (bool isRussian : {true, false}) {
            Workplace w;
            auto form = validForm();
            form.VariantOtveta_1.clear();
            form.ListBox2.selected = picture ? 0 : 1;
            form.Memo1 = isRussian ? russian : "How much is two plus two?";
            form.Edit1 = " 4 or four ";
            const auto condition = form.Memo1;
            const auto result = kavo::tasks::addTask(form, w.app);
            const auto opening = w.shipped(picture ? "file_for_edit/task_part1.txt"
                                                   : "file_for_edit/task_part1NoPic.txt");
            std::vector<std::string> pieces{isRussian ? opening : english(opening), condition,
                                            w.shipped("file_for_edit/task_part2.txt")};
            pieces.resize(13);
            auto page = join(pieces);
            ASSERT_NE(page.find("Enter the correct answer"), std::string::npos);
            if (isRussian)
                page = kavo::replaceAll(page, "Enter the correct answer",
                                        kavo::test::cp1251("Введите корректный ответ"));
            const auto what = std::string(isRussian ? "ru" : "en") + (picture ? " picture" : "");
            expectPackage(
                w, result, "file_for_edit", page,
                {"countby=test", "[1]", "ans1= 4 or four ", "score[1]=1", "total=score[1]"},
                expectedRootDescription(w), what.c_str());
            EXPECT_EQ(form.RadioButton1, isRussian);
            EXPECT_EQ(form.RadioButton2, !isRussian);
        }
    }
}

TEST(AddTask, PartsNamesAndTheRewrite) {
    struct Case {
        const char *a, *b, *c;
        int position;
        bool ownNames;
        const char* folder;
        std::string name, ename;
    };
    const Case cases[] = {
        {"2", "2", "1", 2, false, "PartB/3", "TaskB3", "TaskB3"},
        {"2", "2", "1", 4, false, "PartC/5", "TaskC5", "TaskC5"},
        {"5", "0", "0", 1, true, "2", "TaskAlpha &amp; &#171;1&#187;", "Alpha"},
        {"5", "00", "0", 1, false, "2", "TaskA2", "TaskA2"}, // "00" is not the text "0"
    };
    for (const auto& c : cases) {
        Workplace w;
        auto form = validForm();
        form.Edit2 = c.a;
        form.Edit3 = c.b;
        form.Edit4 = c.c;
        form.ListBox1.selected = c.position;
        form.Edit1 = "a";
        form.ListBox3.selected = 0;
        form.CheckBox4 = !c.ownNames;
        form.Edit7 = "TaskAlpha & &#171;1&#187;";
        form.Edit8 = "Alpha";
        const auto result = kavo::tasks::addTask(form, w.app);
        ASSERT_TRUE(result.written) << c.folder;
        const auto header = w.shipped("file/task_xml.txt");
        auto expected = kavo::replaceAll(header, "name=\"TaskA1\"", "name=\"" + c.name + "\"");
        expected =
            kavo::replaceAll(expected, "ename=\"" + c.name + "\"", "ename=\"" + c.ename + "\"");
        EXPECT_EQ(readBytes(w.app.OutputDir / c.folder / "task.xml"), expected + CRLF) << c.folder;
        EXPECT_EQ(form.ListBox1.selected,
                  c.position + 1 < 5 ? std::optional(c.position + 1) : std::nullopt);
    }
}

TEST(AddTask, NumbersTenAndUpUseTheSecondHeader) {
    Workplace w;
    w.app.TaskTotal = 12;
    auto form = validForm();
    form.ListBox1.items = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"};
    form.ListBox1.selected = 10;
    form.Edit2 = "4";
    form.Edit3 = "8";
    ASSERT_TRUE(kavo::tasks::addTask(form, w.app).written);
    EXPECT_EQ(readBytes(w.app.OutputDir / "PartB" / "11" / "task.xml"),
              kavo::replaceAll(w.shipped("file/task_xml_2.txt"), "TaskA1 ", "TaskB11") + CRLF);
    // The last number written leaves no selection.
    form = validForm();
    form.ListBox1.items = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"};
    form.ListBox1.selected = 11;
    form.Edit2 = "4";
    form.Edit3 = "8";
    ASSERT_TRUE(kavo::tasks::addTask(form, w.app).written);
    EXPECT_EQ(form.ListBox1.selected, std::nullopt);
    EXPECT_EQ(w.counter(), "2\r\n");
}

TEST(AddTask, AuthorMissing) {
    Workplace w;
    writeBytes(w.system() / "Authorisation" / "save.txt", "0\r\n1\r\n");
    auto form = validForm();
    const auto before = form;
    auto result = kavo::tasks::addTask(form, w.app);
    EXPECT_EQ(result.message, "");
    EXPECT_TRUE(result.showAuthorDialog);
    EXPECT_FALSE(result.written);
    EXPECT_EQ(kavo::tasks::statusLine(result, kavo::Lang::English),
              "Not written: the author's details are needed first; press Save task again after "
              "saving them");
    EXPECT_EQ(kavo::tasks::statusLine(result, kavo::Lang::Russian),
              "Не записано: сначала нужны данные автора; после их сохранения нажмите «Добавить "
              "задачу» ещё раз");
    EXPECT_EQ(form.VariantOtveta_5, before.VariantOtveta_5);
    EXPECT_EQ(form.ListBox1.selected, before.ListBox1.selected);
    form.Edit1.clear();
    result = kavo::tasks::addTask(form, w.app);
    EXPECT_EQ(result.message, "\nEnter the correct answer!\nThe answer should be from 'a' to 'e'!");
    EXPECT_TRUE(result.showAuthorDialog);
    EXPECT_EQ(w.tree(), "");
    EXPECT_EQ(w.counter(), "0\r\n");

    // Without the flag file a valid form stops at the report; failed checks keep their box.
    std::filesystem::remove(w.system() / "Authorisation" / "save.txt");
    result = kavo::tasks::addTask(form, w.app);
    EXPECT_EQ(result.message, "\nEnter the correct answer!\nThe answer should be from 'a' to 'e'!");
    EXPECT_NE(result.failure.find("Cannot open file"), std::string::npos);
    EXPECT_NE(result.failure.find("save.txt"), std::string::npos);
    // In the run's language, with the reason line.
    w.app.lang = kavo::Lang::Russian;
    result = kavo::tasks::addTask(form, w.app);
    EXPECT_EQ(result.failure, "Не удаётся открыть файл " +
                                  (w.system() / "Authorisation" / "save.txt").string() +
                                  "\nНет такого файла или папки");
    w.app.lang = kavo::Lang::English;
    form.Edit1 = "a";
    EXPECT_THROW(kavo::tasks::addTask(form, w.app), kavo::Error);
    EXPECT_EQ(w.tree(), "");
}

// Forms that must write nothing: the form, the counter and the tree stay as they were.
TEST(AddTask, RefusalsWriteNothing) {
    struct Case {
        const char* name;
        std::function<void(TaskForm&)> change;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"removed variant named",
         [](TaskForm& f) {
             f.CheckBox3 = true;
             f.Edit1 = "e";
         },
         "\nThe correct answer names a removed variant!"},
        {"removed variant named in a multiple choice",
         [](TaskForm& f) {
             f.CheckBox3 = f.CheckBox2 = true;
             f.Edit1 = "a,D";
         },
         "\nThe correct answer names a removed variant!"},
        {"no answer index", [](TaskForm& f) { f.Edit1 = "ab"; },
         "\nThe answer must be a single letter from 'a' to 'e', with nothing else!"},
        {"outside the parts",
         [](TaskForm& f) {
             f.Edit2 = "1";
             f.Edit3 = "1";
             f.ListBox1.selected = 3;
         },
         "\nThe task number lies in none of the parts A, B and C: check the numbers of tasks in "
         "the parts!"},
    };
    for (const auto& c : cases) {
        Workplace w;
        auto form = validForm();
        c.change(form);
        const auto before = form;
        const auto result = kavo::tasks::addTask(form, w.app);
        EXPECT_EQ(result.message, c.message) << c.name;
        EXPECT_FALSE(result.written);
        EXPECT_EQ(w.tree(), "") << c.name;
        EXPECT_EQ(w.counter(), "0\r\n");
        EXPECT_EQ(form.VariantOtveta_5, before.VariantOtveta_5);
        EXPECT_EQ(form.Edit1, before.Edit1);
        EXPECT_EQ(form.ListBox1.selected, before.ListBox1.selected);
    }
}

TEST(AddTask, MissingTemplatesWriteNothing) {
    struct Case {
        const char* missing;
        std::function<void(TaskForm&)> change;
    };
    auto removing = [](int removed, const char* answer, int fold) {
        return [=](TaskForm& f) {
            f.CheckBox3 = removed >= 1;
            f.CheckBox2 = removed >= 2;
            f.CheckBox1 = removed >= 3;
            f.Edit1 = answer;
            f.ListBox3.selected = fold;
        };
    };
    auto typed = [](TaskForm& f) { f.VariantOtveta_1.clear(); };
    const std::vector<Case> cases = {
        {"file/task_part4.txt", removing(0, "a", 1)},
        {"file/task_xml_2.txt", removing(0, "a", 1)},
        {"Del/Radio1.txt", removing(1, "a", 1)},
        {"Del/Radio2.txt", removing(2, "a", 1)},
        {"file_for_edit/TASK.txt", typed},
        {"file_for_spoiler/task_part7.txt", removing(0, "a", 0)},
        {"Del/Spoiler3.txt", removing(1, "a", 0)},
        {"Del/Spoiler1.txt", removing(3, "a", 0)},
        {"file_for_MultipleChoice/task_part6.txt", removing(0, "a,b", 1)},
        {"file_for_MultipleChoice_Spoiler/TASK.txt", removing(0, "a,b", 0)},
        {"Del/Choice.txt", removing(1, "a,b", 1)},
        {"Del/MultiChoice2.txt", removing(2, "a,b", 0)},
        {"Del/cost.txt", removing(1, "a,b", 1)},
        {"Del/cost3.txt", removing(3, "a,b", 0)},
    };
    for (const auto& c : cases) {
        Workplace w;
        // An earlier package of the same task stays whole.
        writeBytes(w.app.OutputDir / "1" / "task.asp", "old");
        fs::remove(w.system() / c.missing);
        auto form = validForm();
        c.change(form);
        const auto before = form;
        try {
            kavo::tasks::addTask(form, w.app);
            ADD_FAILURE() << c.missing;
        } catch (const kavo::Error& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot open file " +
                                                 (w.system() / c.missing).string() +
                                                 "\nNo such file or folder");
        }
        EXPECT_EQ(w.tree(), "1/\n1/task.asp\n") << c.missing;
        EXPECT_EQ(w.counter(), "0\r\n");
        EXPECT_EQ(form.Memo1, before.Memo1);
    }
}

TEST(AddTask, FailuresStopAtTheirStep) {
    {
        Workplace w;
        const auto save = w.system() / "Authorisation" / "save.txt";
        fs::remove(save);
        auto form = validForm();
        try {
            kavo::tasks::addTask(form, w.app);
            ADD_FAILURE();
        } catch (const kavo::Error& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Cannot open file " + save.string() + "\nNo such file or folder");
        }
        EXPECT_EQ(w.tree(), "");
    }
    {
        // A file where the task tree should be: the task folder cannot be created.
        Workplace w;
        writeBytes(w.app.OutputDir, "not a folder");
        auto form = validForm();
        try {
            kavo::tasks::addTask(form, w.app);
            ADD_FAILURE();
        } catch (const kavo::Error& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot create file " + w.app.OutputDir.string() +
                                                 "\nA part of the path is not a folder");
        }
        EXPECT_EQ(w.counter(), "0\r\n");
    }
    {
        Workplace w;
        auto form = validForm();
        form.Edit4 = "one";
        try {
            kavo::tasks::addTask(form, w.app);
            ADD_FAILURE();
        } catch (const kavo::Error& e) {
            EXPECT_EQ(std::string(e.what()), "'one' is not a valid integer value");
        }
        EXPECT_EQ(w.tree(), "");
    }
    {
        // A folder where task.out goes: nothing is written.
        Workplace w;
        fs::create_directories(w.app.OutputDir / "1" / "task.out");
        auto form = validForm();
        try {
            kavo::tasks::addTask(form, w.app);
            ADD_FAILURE();
        } catch (const kavo::Error& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot create file " +
                                                 (w.app.OutputDir / "1" / "task.out").string() +
                                                 "\nIt is a folder");
        }
        EXPECT_EQ(w.tree(), "1/\n1/task.out/\n");
        EXPECT_EQ(w.counter(), "0\r\n");
    }
    {
        // A bad counter is found before anything is written: no package, no reset.
        Workplace w;
        writeBytes(w.system() / "Authorisation" / "Tasks_in_view.txt", "many\r\n");
        auto form = validForm();
        try {
            kavo::tasks::addTask(form, w.app);
            ADD_FAILURE();
        } catch (const kavo::Error& e) {
            EXPECT_EQ(std::string(e.what()), "'many' is not a valid integer value");
        }
        EXPECT_EQ(w.tree(), "");
        EXPECT_EQ(form.Edit1, "a");
        EXPECT_EQ(form.ListBox1.selected, 0);
    }
    {
        // A header too short for the overwrite is reported before anything is written.
        Workplace w;
        writeBytes(w.system() / "file" / "task_xml.txt", "<task name=\"TaskA1\"/>\r\n");
        auto form = validForm();
        EXPECT_THROW(kavo::tasks::addTask(form, w.app), kavo::Error);
        EXPECT_EQ(w.tree(), "");
    }
    {
        // Two failures at once: the one the run meets first is reported. The size fields are
        // read with the form, before any template, and D's removal reads Radio2 before E's
        // reads Radio1.
        auto reportOf = [](Workplace& w, TaskForm form) {
            try {
                kavo::tasks::addTask(form, w.app);
            } catch (const kavo::Error& e) {
                return std::string(e.what());
            }
            return std::string("no error");
        };
        Workplace w;
        fs::remove(w.system() / "Del" / "Radio1.txt");
        fs::remove(w.system() / "Del" / "Radio2.txt");
        auto form = validForm();
        form.CheckBox2 = form.CheckBox3 = true;
        EXPECT_EQ(reportOf(w, form), "Cannot open file " +
                                         (w.system() / "Del/Radio2.txt").string() +
                                         "\nNo such file or folder");
        form.Edit4 = "one";
        EXPECT_EQ(reportOf(w, form), "'one' is not a valid integer value");
        for (const char* removal : {"Del/Spoiler3.txt", "Del/Choice.txt"}) {
            fs::remove(w.system() / removal);
            form.ListBox3.selected = 0;
            form.Edit1 = removal[4] == 'S' ? "a" : "a,b";
            EXPECT_EQ(reportOf(w, form), "'one' is not a valid integer value") << removal;
        }
        EXPECT_EQ(w.tree(), "");
    }
}

TEST(AddTask, OlympiadLanguageIsSetBeforeTheTemplatesLoad) {
    Workplace w;
    fs::remove(w.system() / "file_for_edit" / "task_part2.txt");
    auto form = validForm();
    form.VariantOtveta_1.clear();
    form.Memo1 = kavo::test::cp1251("Сколько?");
    EXPECT_THROW(kavo::tasks::addTask(form, w.app), kavo::Error);
    EXPECT_TRUE(form.RadioButton1);
    EXPECT_FALSE(form.RadioButton2);
    EXPECT_EQ(w.tree(), "");
}

namespace {

// Whether another descriptor, as another program's, could take the tree's lock now.
bool treeLockable(const std::filesystem::path& tree) {
    const int fd = ::open(tree.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool free = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (fd >= 0)
        ::close(fd);
    return free;
}

} // namespace

// The questions before a write: which are asked, in which order, and what an answer does.
// A No writes nothing and leaves the form as the teacher left it.
// The replace question is asked with the tree locked, so that the task it names is the one
// replaced; the lock goes with the run.
TEST(AddTask, QuestionsBeforeAWrite) {
    using kavo::tasks::AddQuestion;
    const char* const plain = "Condition";
    const char* const stray = "x <y";
    const std::string replace = "Task 1 (single choice) is already written. Replace it?";
    using Q = AddQuestion;
    struct Case {
        const char* name;
        int written; // task 1 is written before the run: 1 single choice, 2 typed answer
        const char* condition;
        std::vector<bool> answers;
        std::vector<AddQuestion> asked;
        bool writes;
    };
    const std::vector<Case> cases = {
        {"an empty folder asks nothing", 0, plain, {}, {}, true},
        {"replace: No", 1, plain, {false}, {Q::Replace}, false},
        {"replace of another kind: No", 2, plain, {false}, {Q::Replace}, false},
        {"stray <: No asks no replace", 1, stray, {false}, {Q::Markup}, false},
        {"stray < and replace: Yes, No", 1, stray, {true, false}, {Q::Markup, Q::Replace}, false},
        {"stray < and replace: Yes, Yes", 1, stray, {true, true}, {Q::Markup, Q::Replace}, true},
        {"another kind replaced: Yes", 2, plain, {true}, {Q::Replace}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Workplace w;
        const auto folder = w.app.OutputDir / "1";
        if (c.written != 0) {
            auto first = validForm();
            first.Memo1 = "The first task";
            if (c.written == 2)
                first.VariantOtveta_1.clear();
            ASSERT_TRUE(kavo::tasks::addTask(first, w.app).written);
        }
        const auto page = std::filesystem::exists(folder) ? readBytes(folder / "task.asp") : "";
        const auto counter = w.counter();

        auto form = validForm();
        form.Memo1 = c.condition;
        form.CheckBox3 = true; // a removal the run would apply to the form
        const auto before = form;
        std::vector<AddQuestion> asked;
        std::deque<bool> answers(c.answers.begin(), c.answers.end());
        const auto result =
            kavo::tasks::addTask(form, w.app, [&](AddQuestion question, const kavo::Text& text) {
                asked.push_back(question);
                EXPECT_EQ(treeLockable(w.app.OutputDir), question != AddQuestion::Replace);
                if (question == AddQuestion::Replace && c.written == 2)
                    EXPECT_EQ(text, "Task 1 (typed answer) is already written. Replace it?");
                else if (question == AddQuestion::Replace)
                    EXPECT_EQ(text, replace);
                else
                    EXPECT_NE(text.find("Condition: \"x <y\""), std::string::npos) << text;
                const bool answer = !answers.empty() && answers.front();
                if (!answers.empty())
                    answers.pop_front();
                return answer;
            });
        EXPECT_EQ(asked, c.asked);
        EXPECT_TRUE(treeLockable(w.app.OutputDir));
        EXPECT_EQ(result.written, c.writes);
        EXPECT_EQ(result.declined, !c.writes);
        if (c.writes) {
            EXPECT_NE(readBytes(folder / "task.asp").find(c.condition), std::string::npos);
            EXPECT_NE(w.counter(), counter);
            EXPECT_EQ(kavo::tasks::writtenLine(result, kavo::Lang::English),
                      "Task 1 (single choice) written to 1");
            continue;
        }
        EXPECT_EQ(std::filesystem::exists(folder) ? readBytes(folder / "task.asp") : "", page);
        EXPECT_EQ(w.counter(), counter);
        EXPECT_EQ(form.Memo1, before.Memo1);
        EXPECT_EQ(form.VariantOtveta_5, before.VariantOtveta_5);
        EXPECT_EQ(form.Edit1, before.Edit1);
        EXPECT_EQ(form.CheckBox3, before.CheckBox3);
        EXPECT_EQ(form.ListBox1.selected, before.ListBox1.selected);
        EXPECT_EQ(form.ListBox2.selected, before.ListBox2.selected);
    }
}

// A refused form or missing author details ask nothing: the box or the dialog comes alone.
TEST(AddTask, NoQuestionBeforeARefusal) {
    Workplace w;
    auto form = validForm();
    ASSERT_TRUE(kavo::tasks::addTask(form, w.app).written);
    const auto ask = [](kavo::tasks::AddQuestion, const kavo::Text& text) -> bool {
        ADD_FAILURE() << text;
        return true;
    };
    form = validForm();
    form.Memo1 = "x <y";
    form.Edit1.clear();
    EXPECT_NE(kavo::tasks::addTask(form, w.app, ask).message, "");
    writeBytes(w.system() / "Authorisation" / "save.txt", "1\r\n");
    form.Edit1 = "a";
    EXPECT_TRUE(kavo::tasks::addTask(form, w.app, ask).showAuthorDialog);
}

// The chosen picture goes into the task folder with the package; a rewrite without a choice,
// or with picture No, keeps the picture that is there (the teacher may still need it); a
// page with a picture and none in the folder is reported.
TEST(AddTask, PictureWrittenKeptAndReportedMissing) {
    const std::string jpegA = "\xFF\xD8\xFF\xE0 first", jpegB = "\xFF\xD8\xFF\xE1 second";
    struct Case {
        const char* name;
        bool picture;                      // ListBox2 "Yes"
        std::optional<std::string> chosen; // the bytes chosen with the button
        std::optional<std::string> onDisk; // webfiles/picture.jpg after the write
        bool missing;
    };
    const Case cases[] = {
        {"first write, no choice", true, std::nullopt, std::nullopt, true},
        {"chosen", true, jpegA, jpegA, false},
        {"rewrite without a choice", true, std::nullopt, jpegA, false},
        {"another chosen", true, jpegB, jpegB, false},
        {"picture No keeps it", false, std::nullopt, jpegB, false},
        {"picture No writes no choice", false, jpegA, jpegB, false},
    };
    Workplace w;
    const fs::path picture = w.app.OutputDir / "1" / "webfiles" / "picture.jpg";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto form = validForm();
        form.ListBox2.selected = c.picture ? 0 : 1;
        form.picture = c.chosen;
        const auto result = kavo::tasks::addTask(form, w.app);
        ASSERT_TRUE(result.written);
        EXPECT_EQ(result.pictureMissing, c.missing);
        EXPECT_EQ(kavo::tasks::writtenLine(result, kavo::Lang::English)
                      .ends_with(". The picture webfiles/picture.jpg is missing: choose it and "
                                 "save the task again"),
                  c.missing);
        EXPECT_EQ(form.picture, std::nullopt); // the reset forgets the choice
        EXPECT_TRUE(fs::is_directory(picture.parent_path()));
        EXPECT_EQ(fs::exists(picture) ? std::optional(readBytes(picture)) : std::nullopt, c.onDisk);
    }
}

// What is not a JPEG is refused before anything is written; a write that fails at any later
// step leaves the old page with its old picture, never a new page with the old picture.
TEST(AddTask, PictureFailuresLeaveTheFolderWhole) {
    Workplace w;
    auto form = validForm();
    form.ListBox2.selected = 0;
    form.picture = "\xFF\xD8\xFF old";
    ASSERT_TRUE(kavo::tasks::addTask(form, w.app).written);
    const std::string tree = w.tree(), counter = w.counter();
    const std::string page = readBytes(w.app.OutputDir / "1" / "task.asp");

    for (const char* bytes : {"\x89PNG\r\n\x1A\n", "\xFF\xD8"}) {
        form = validForm();
        form.ListBox2.selected = 0;
        form.Memo1 = "Changed condition";
        form.picture = bytes;
        EXPECT_THROW(kavo::tasks::addTask(form, w.app), kavo::Error);
        EXPECT_EQ(form.picture, bytes); // the form keeps its input
    }
    for (const auto step : {kavo::FileStep::Write, kavo::FileStep::Exchange}) {
        // The picture's write (the last file's), or the swap itself.
        int left = step == kavo::FileStep::Exchange ? 1 : 5;
        kavo::setFileStepHook(
            [&](kavo::FileStep s) { return s == step && --left == 0 ? ENOSPC : 0; });
        form = validForm();
        form.ListBox2.selected = 0;
        form.Memo1 = "Changed condition";
        form.picture = "\xFF\xD8\xFF new";
        EXPECT_THROW(kavo::tasks::addTask(form, w.app), kavo::Error) << int(step);
        kavo::setFileStepHook({});
        EXPECT_EQ(left, 0) << int(step);
    }
    EXPECT_EQ(w.tree(), tree);
    EXPECT_EQ(w.counter(), counter);
    EXPECT_EQ(readBytes(w.app.OutputDir / "1" / "task.asp"), page);
    EXPECT_EQ(readBytes(w.app.OutputDir / "1" / "webfiles" / "picture.jpg"), "\xFF\xD8\xFF old");
}
