// SPDX-License-Identifier: MIT
// Ok and Add task through the real main window: typed sizes, clicked numbers, the package
// on disk, the form after the run, and text the code page cannot hold.
#include "core/tasks/add_task.hpp"
#include "ui/auth/tform2.hpp"
#include "ui/common/text_bridge.hpp"
#include "ui/support/ui_fixture.hpp"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <map>

namespace fs = std::filesystem;
using namespace kavo::test;
using namespace Qt::Literals::StringLiterals;
using kavo::app::selectedRow;

namespace {

struct PartSizesWindow : UiFixture {
    QStringList numbers(const char* list) const {
        QStringList items;
        for (int i = 0; i < find<QListWidget>(list)->count(); ++i)
            items << find<QListWidget>(list)->item(i)->text();
        return items;
    }
    static QStringList oneTo(int n) {
        QStringList items;
        for (int i = 1; i <= n; ++i)
            items << QString::number(i);
        return items;
    }
};

struct OkCase {
    const char *a, *b, *c;
    int numbers;        // both lists hold "1" .. numbers
    QStringList boxes;  // information boxes, in order
    const char* edit2;  // Edit2 afterwards
    std::int64_t total; // TaskTotal afterwards
};

} // namespace

TEST_F(PartSizesWindow, OkFillsBothListsOrShowsItsMessagesInOrder) {
    const QString partA = u"\n The number of tasks in PartA does not equal 0!"_s;
    const QString max99 = u"\nMax number of tasks is 99!"_s;
    // The sizes rule is the logic's (PartSizes.OkFillsTheListsOrSaysWhy): here a good Ok, an
    // Ok that empties Edit2, and two messages in one press.
    const OkCase cases[] = {
        {"3", "2", "1", 6, {}, "3", 6},
        {"0", "2", "3", 0, {partA}, "", 5},
        {"0", "60", "40", 0, {max99, partA}, "", 100},
    };
    started("En\r\n");
    for (const OkCase& c : cases) {
        SCOPED_TRACE(std::string(c.a) + "," + c.b + "," + c.c);
        platform.clear();
        if (find<QListWidget>("ListBox1")->count() > 0)
            clickRow("ListBox1", 0); // Ok must not keep a selection
        enterSizes(c.a, c.b, c.c);
        EXPECT_EQ(platform.informations(), c.boxes);
        EXPECT_TRUE(platform.errors().isEmpty());
        EXPECT_EQ(numbers("ListBox1"), oneTo(c.numbers));
        EXPECT_EQ(numbers("ListBox4"), oneTo(c.numbers));
        EXPECT_FALSE(selectedRow(find<QListWidget>("ListBox1")));
        EXPECT_EQ(find<QLineEdit>("Edit2")->text(), QString::fromUtf8(c.edit2));
        EXPECT_EQ(form1()->partSizes().TaskTotal, c.total);
    }
}

TEST_F(PartSizesWindow, RefusedSizesKeepWhatOkSetBefore) {
    struct Case {
        const char *a, *b, *c;
        QString error;       // error box, or empty
        QString information; // information box, or empty
        int partA;           // PartASize afterwards; TaskTotal keeps the 3 of the Ok before
        bool listsKept;      // the lists of the last good Ok stay
    };
    // A size that is no number reaches the guard and empties the lists; a negative one is
    // refused and keeps them (the sizes kept: the logic's PartSizes tests).
    const Case cases[] = {
        {"6", "два", "0", u("'два' is not a valid integer value"), u""_s, 6, false},
        {"5", "-1", "0", u""_s, u"\nThe number of tasks in a part cannot be negative!"_s, 2, true},
    };
    started("En\r\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.a) + "," + c.b + "," + c.c);
        enterSizes("2", "1", "0");
        ASSERT_EQ(numbers("ListBox1"), oneTo(3));
        platform.clear();

        enterSizes(c.a, c.b, c.c);
        EXPECT_EQ(platform.errors(), c.error.isEmpty() ? QStringList() : QStringList{c.error});
        EXPECT_EQ(platform.informations(),
                  c.information.isEmpty() ? QStringList() : QStringList{c.information});
        EXPECT_EQ(form1()->partSizes().PartASize, c.partA);
        EXPECT_EQ(form1()->partSizes().TaskTotal, 3);
        EXPECT_EQ(numbers("ListBox1"), c.listsKept ? oneTo(3) : QStringList());
        EXPECT_EQ(numbers("ListBox4"), c.listsKept ? oneTo(3) : QStringList());
        EXPECT_EQ(find<QLineEdit>("Edit2")->text(), u(c.a));
    }
}

TEST_F(PartSizesWindow, OkClosesTheAuthorDialogAndSpeaksRussian) {
    started();
    trigger("Authorisation1");
    ASSERT_TRUE(program->form2()->isVisible());
    enterSizes("0", "50", "50");
    EXPECT_FALSE(program->form2()->isVisible());
    EXPECT_EQ(platform.informations(),
              QStringList({u("\nМаксимальное число задач 99!"),
                           u("Количество задач в части PartA не равно нулю!")}));
}

namespace {

// A teacher at the window: the author details given, sizes entered, the form filled by key.
struct TeacherPath : PartSizesWindow {
    fs::path out() const { return dir.path() / "Year"; }

    void startReady(const std::string& language = "Rus\r\n") {
        prepare(language);
        writeBytes(systemFolder() / "Authorisation" / "save.txt", "0\r\n");
        ASSERT_TRUE(start());
    }

    void fillSingleChoice() {
        clickRow("ListBox2", 1);
        clickRow("ListBox3", 1);
        type("Memo1", u("Сколько будет\n  2 + 2?"));
        const char* variants[] = {"3", "4", "пять", "6", "22"};
        for (int i = 0; i < 5; ++i)
            type(("VariantOtveta_" + std::to_string(i + 1)).c_str(), u(variants[i]));
        type("Edit1", "b");
    }

    // What Add task writes for the same form when handed it directly, in a second working
    // folder: the window must add nothing and lose nothing on the way.
    std::map<std::string, std::string> direct(kavo::tasks::TaskForm form, const TempDir& other) {
        copySystemFolder(other.path());
        writeBytes(other.path() / "System_folder" / "Authorisation" / "save.txt", "0\r\n");
        kavo::tasks::addTask(form, {kavo::Lang::Russian, other.path(), other.path() / "Year", 6});
        std::map<std::string, std::string> files;
        for (const char* name : {"task.asp", "TASK.CFG", "task.out", "task.xml"})
            files[name] = readBytes(other.path() / "Year" / "PartA" / "2" / name);
        return files;
    }
};

} // namespace

TEST_F(TeacherPath, AddTaskWritesThePackageResetsTheFormAndSelectsTheNextNumber) {
    startReady();
    enterSizes("3", "2", "1");
    clickRow("ListBox1", 1);
    fillSingleChoice();
    writeBytes(systemFolder() / "Authorisation" / "Tasks_in_view.txt", "4\r\n");
    click("Button1");

    EXPECT_TRUE(platform.boxes.empty()) << platform.boxes.front().text.toStdString();
    EXPECT_EQ(listTree(out()), "PartA/\nPartA/2/\nPartA/2/TASK.CFG\nPartA/2/task.asp\n"
                               "PartA/2/task.out\nPartA/2/task.xml\nPartA/2/webfiles/\n");
    EXPECT_EQ(readBytes(systemFolder() / "Authorisation" / "Tasks_in_view.txt"), "5\r\n");

    // The bytes are those of the same form handed to Add task directly, in the code page.
    auto form = kavo::tasks::makeStartForm();
    form.ListBox1.items = {"1", "2", "3", "4", "5", "6"};
    form.ListBox1.selected = 1;
    form.ListBox2.selected = 1;
    form.ListBox3.selected = 1;
    form.Memo1 = cp1251("Сколько будет\r\n  2 + 2?");
    form.VariantOtveta_1 = "3";
    form.VariantOtveta_2 = "4";
    form.VariantOtveta_3 = cp1251("пять");
    form.VariantOtveta_4 = "6";
    form.VariantOtveta_5 = "22";
    form.Edit1 = "b";
    form.Edit2 = "3";
    form.Edit3 = "2";
    form.Edit4 = "1";
    TempDir other;
    for (const auto& [name, bytes] : direct(form, other))
        EXPECT_EQ(readBytes(out() / "PartA" / "2" / name), bytes) << name;
    EXPECT_NE(
        readBytes(out() / "PartA" / "2" / "task.asp").find(cp1251("Сколько будет\r\n  2 + 2?")),
        std::string::npos);

    // The form is ready for task 3.
    EXPECT_EQ(selectedRow(find<QListWidget>("ListBox1")), 2);
    EXPECT_EQ(selectedRow(find<QListWidget>("ListBox2")), 1);
    EXPECT_EQ(selectedRow(find<QListWidget>("ListBox3")), 1);
    EXPECT_EQ(find<QPlainTextEdit>("Memo1")->toPlainText(), u""_s);
    for (const char* name : {"VariantOtveta_1", "VariantOtveta_3", "VariantOtveta_5", "Edit1"})
        EXPECT_EQ(find<QLineEdit>(name)->text(), u""_s) << name;
    EXPECT_EQ(find<QLineEdit>("Edit2")->text(), u"3"_s);
}

TEST_F(TeacherPath, TextTheCodePageCannotHold) {
    startReady("En\r\n");
    enterSizes("3", "0", "0");

    // In a condition it becomes a character reference in the page.
    clickRow("ListBox1", 0);
    fillSingleChoice();
    find<QPlainTextEdit>("Memo1")->clear();
    type("Memo1", u("x ≤ 2 ≠ y"));
    click("Button1");
    ASSERT_TRUE(platform.boxes.empty());
    const std::string page = readBytes(out() / "1" / "task.asp");
    EXPECT_NE(page.find("x &#8804; 2 &#8800; y"), std::string::npos);

    // In a typed answer it is refused before anything is written, and the form stays.
    fillSingleChoice();
    find<QLineEdit>("VariantOtveta_1")->clear();
    find<QLineEdit>("Edit1")->clear();
    type("Edit1", u("x≤2"));
    const std::string counter = readBytes(systemFolder() / "Authorisation" / "Tasks_in_view.txt");
    click("Button1");
    EXPECT_EQ(platform.informations(),
              QStringList{u("\nThe correct answer contains characters that cannot be written to "
                            "task.out: ≤\nNothing was written.")});
    EXPECT_FALSE(fs::exists(out() / "2"));
    EXPECT_EQ(readBytes(systemFolder() / "Authorisation" / "Tasks_in_view.txt"), counter);
    EXPECT_EQ(find<QLineEdit>("Edit1")->text(), u("x≤2"));
    EXPECT_EQ(find<QPlainTextEdit>("Memo1")->toPlainText(), u("Сколько будет\n  2 + 2?"));
    EXPECT_EQ(selectedRow(find<QListWidget>("ListBox1")), 1);
}

// The first Save task without the author's details opens the dialog, writes nothing, keeps
// the form and says so in the status line; a flag file that is missing is reported in the
// run's language with its reason, after the checks' box.
TEST_F(TeacherPath, FirstSaveWithoutTheAuthorSaysNothingWasWritten) {
    prepare("Rus\r\n");
    writeBytes(systemFolder() / "Authorisation" / "save.txt", "1\r\n");
    ASSERT_TRUE(start());
    enterSizes("3", "0", "0");
    clickRow("ListBox1", 0);
    fillSingleChoice();
    click("Button1");
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_TRUE(program->form2()->isVisible());
    EXPECT_EQ(form1()->statusBar()->currentMessage(),
              u("Не записано: сначала нужны данные автора; после их сохранения нажмите «Добавить "
                "задачу» ещё раз"));
    EXPECT_FALSE(fs::exists(out()));
    EXPECT_EQ(find<QPlainTextEdit>("Memo1")->toPlainText(), u("Сколько будет\n  2 + 2?"));
    EXPECT_EQ(find<QLineEdit>("Edit1")->text(), u"b"_s);

    fs::remove(systemFolder() / "Authorisation" / "save.txt");
    find<QLineEdit>("Edit1")->clear();
    click("Button1");
    EXPECT_EQ(platform.informations(),
              QStringList{u("\nВведите правильный ответ!\nОтвет должен быть от 'a' до 'e'!")});
    EXPECT_EQ(platform.errors(),
              QStringList{u("Не удаётся открыть файл ") +
                          kavo::app::fromPath(systemFolder() / "Authorisation" / "save.txt") +
                          u("\nНет такого файла или папки")});
}
