// SPDX-License-Identifier: MIT
// The olympiad in the main window: the marks of both number lists after Add task, Ok, a
// folder change and activation; the part sizes a tree offers; the overview's rows and its
// commands. What each folder state is, is the logic's (TaskState tests).
#include "core/render/render.hpp"
#include "support/sample_tasks.hpp"
#include "ui/common/text_bridge.hpp"
#include "ui/main/overview.hpp"
#include "ui/support/ui_fixture.hpp"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>

namespace fs = std::filesystem;
using namespace kavo::test;
using namespace Qt::Literals::StringLiterals;
using kavo::model::Task;
using kavo::model::TaskKind;

namespace {

struct Marks : UiFixture {
    fs::path out() const { return dir.path() / "Year"; }

    // A working folder with the author details given.
    void ready(const std::string& language = "En\r\n") {
        prepare(language);
        writeBytes(systemFolder() / "Authorisation" / "save.txt", "0\r\n");
    }
    // A task written as the program writes it, into the tree under root.
    void write(const Task& task, kavo::model::PartSizes sizes, const fs::path& root) const {
        const kavo::model::Olympiad olympiad{root, sizes, sizes.b == 0 && sizes.c == 0};
        kavo::render::writePackage(
            root,
            task.kind == TaskKind::Edits
                ? kavo::render::renderEdits(task, kavo::render::readEditsTemplates(systemFolder()),
                                            fs::path(task.folder))
                : kavo::render::renderTask(task, olympiad, systemFolder(), kavo::Lang::English));
    }

    // What each row of a number list says of its number.
    QStringList marks(const char* list) const {
        QStringList out;
        auto* box = find<QListWidget>(list);
        for (int i = 0; i < box->count(); ++i) {
            const QListWidgetItem* item = box->item(i);
            EXPECT_EQ(item->text(), QString::number(i + 1));
            EXPECT_FALSE(item->icon().isNull()) << list << " " << i;
            out << item->data(Qt::AccessibleDescriptionRole).toString();
        }
        return out;
    }
    void changeFolder(const fs::path& folder) {
        platform.folderAnswers.push_back(kavo::app::fromPath(folder));
        QTest::mouseClick(find<QWidget>("Label19"), Qt::LeftButton);
    }
    QString status() const { return form1()->statusBar()->currentMessage(); }
    TOverview* overview() const { return form1()->findChild<TOverview*>(u"Overview"_s); }
    QStringList column(int c) const {
        QStringList out;
        auto* table = overview()->Table1;
        for (int r = 0; r < table->rowCount(); ++r)
            out << table->item(r, c)->text();
        return out;
    }
    void selectOverviewRow(const QString& place) const {
        const int row = column(0).indexOf(place);
        ASSERT_GE(row, 0) << place.toStdString();
        overview()->Table1->selectRow(row);
    }
};

} // namespace

TEST_F(Marks, ListsFollowAddTaskOkActivationAndAFolderChange) {
    ready();
    ASSERT_TRUE(start());
    enterSizes("3", "0", "0");
    const QStringList empty(3, u"no task yet"_s);
    EXPECT_EQ(marks("ListBox1"), empty);
    EXPECT_EQ(marks("ListBox4"), empty);

    // Add task on number 2: the window that writes refreshes the marks.
    clickRow("ListBox1", 1);
    type("Memo1", "How much is 2 + 2?");
    clickRow("ListBox2", 1);
    clickRow("ListBox3", 1);
    for (const char* field : {"VariantOtveta_1", "VariantOtveta_2", "VariantOtveta_3",
                              "VariantOtveta_4", "VariantOtveta_5"})
        type(field, field + 14);
    type("Edit1", "b");
    click("Button1");
    ASSERT_TRUE(fs::exists(out() / "2" / "task.asp"));
    form1()->refreshMarks();
    const QStringList afterAdd = {u"no task yet"_s, u"single choice"_s, u"no task yet"_s};
    EXPECT_EQ(marks("ListBox1"), afterAdd);
    EXPECT_EQ(marks("ListBox4"), afterAdd);
    EXPECT_EQ(find<QListWidget>("ListBox1")->item(1)->toolTip(), u"Task 2: single choice"_s);
    EXPECT_EQ(form1()->nextUnwrittenRow(0), 2);
    EXPECT_EQ(form1()->nextUnwrittenRow(2), std::nullopt);

    // A package edited by hand elsewhere shows when the window is active again.
    writeBytes(out() / "2" / "task.out", "edited\r\n");
    writeBytes(out() / "3" / "task.xml", "<task/>\r\n");
    form1()->showOverview();
    ASSERT_TRUE(QTest::qWaitForWindowActive(overview()));
    form1()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form1()));
    const QStringList edited = {u"no task yet"_s, u"cannot be read back"_s,
                                u"cannot be read back"_s};
    EXPECT_EQ(marks("ListBox1"), edited);
    EXPECT_TRUE(find<QListWidget>("ListBox1")->item(1)->toolTip().contains(u"task.out"_s));
    EXPECT_EQ(form1()->nextUnwrittenRow(-1), 0);
    EXPECT_EQ(form1()->nextUnwrittenRow(0), std::nullopt);

    // Another folder: its tasks, and the sizes stay the teacher's while the lists are set.
    const fs::path other = dir.path() / "Other";
    write(formTask(TaskKind::TypedAnswer, 1), {3, 0, 0}, other);
    writeBytes(other / "2.kavo-new" / "task.asp", "half"); // a write cut short there
    changeFolder(other);
    EXPECT_FALSE(fs::exists(other / "2.kavo-new"));
    const QStringList moved = {u"typed answer"_s, u"no task yet"_s, u"no task yet"_s};
    EXPECT_EQ(marks("ListBox1"), moved);
    EXPECT_EQ(marks("ListBox4"), moved);
    EXPECT_EQ(column(2), QStringList{u"typed answer"_s}); // the open overview follows
    EXPECT_EQ(find<QLineEdit>("Edit2")->text(), u"3"_s);
    EXPECT_TRUE(status().isEmpty()) << status().toStdString();
    EXPECT_TRUE(platform.errors().isEmpty());
    // A cancelled chooser keeps the folder.
    platform.folderAnswers.push_back(std::nullopt);
    QTest::mouseClick(find<QWidget>("Label19"), Qt::LeftButton);
    EXPECT_EQ(form1()->OutputDir(), other);
    EXPECT_EQ(marks("ListBox1"), moved);
}

TEST_F(Marks, SizesFoundInTheTreeAreOfferedAtStartAndAfterAFolderChange) {
    prepare("Rus\r\n");
    write(formTask(TaskKind::SingleChoice, 3), {3, 2, 1}, out());
    write(formTask(TaskKind::MultipleChoice, 6), {3, 2, 1}, out());
    ASSERT_TRUE(start());
    const auto sizes = [this] {
        return QStringList{find<QLineEdit>("Edit2")->text(), find<QLineEdit>("Edit3")->text(),
                           find<QLineEdit>("Edit4")->text()};
    };
    // Found, said, not confirmed: the lists wait for Ok.
    EXPECT_EQ(sizes(), QStringList({u"3"_s, u"2"_s, u"1"_s}));
    EXPECT_EQ(status(), u("В папке задач найдены задачи частей A 3, B 2, C 1: нажмите Ok, чтобы "
                          "взять эти размеры."));
    EXPECT_EQ(find<QListWidget>("ListBox1")->count(), 0);

    const fs::path other = dir.path() / "Other";
    write(formTask(TaskKind::TypedAnswer, 4), {4, 0, 0}, other);
    changeFolder(other);
    EXPECT_EQ(sizes(), QStringList({u"4"_s, u"0"_s, u"0"_s}));
    click("Button2");
    EXPECT_TRUE(status().isEmpty());
    EXPECT_EQ(marks("ListBox1"), QStringList({u("задачи ещё нет"), u("задачи ещё нет"),
                                              u("задачи ещё нет"), u("ответ вводится")}));
}

TEST_F(Marks, OverviewRowsAndTheirCommands) {
    const kavo::model::PartSizes sizes{2, 2, 1};
    ready();
    write(formTask(TaskKind::SingleChoice, 1), sizes, out());
    write(formTask(TaskKind::FoldedChoice, 2), sizes, out());
    write(formTask(TaskKind::MultipleChoiceFolded, 3), sizes, out());
    write(editsTask("PartB/4"), sizes, out());
    write(editsTask("PartB/Train"), sizes, out());
    write(formTask(TaskKind::TypedAnswer, 5), sizes, out());
    fs::remove(out() / "PartC" / "5" / "TASK.CFG");
    ASSERT_TRUE(start());
    trigger("Overview1");
    ASSERT_NE(overview(), nullptr);
    EXPECT_TRUE(overview()->isVisible());
    EXPECT_EQ(column(0), QStringList({u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"PartB/Train"_s, u"5"_s}));
    EXPECT_TRUE(column(6).last().contains(u"TASK.CFG"_s));
    EXPECT_TRUE(overview()->Label2->text().endsWith(u": 6 tasks, 1 of them cannot be read back"_s));

    // The review opens numbers by the sizes confirmed with Ok: none yet.
    selectOverviewRow(u"3"_s);
    QTest::mouseClick(overview()->ButtonReview, Qt::LeftButton);
    ASSERT_EQ(platform.informations().size(), 1);
    EXPECT_TRUE(platform.informations().front().startsWith(u"Task 3 lies in PartB/3"_s));
    EXPECT_TRUE(find<QPlainTextEdit>("Memo2")->isHidden());

    // With the sizes the tree offers confirmed it opens task 3 in the review layout.
    click("Button2");
    platform.clear();
    QTest::mouseClick(overview()->ButtonReview, Qt::LeftButton);
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_FALSE(find<QPlainTextEdit>("Memo2")->isHidden());
    EXPECT_EQ(kavo::app::selectedRow(find<QListWidget>("ListBox4")), 2);
    EXPECT_EQ(kavo::app::toPageText(find<QPlainTextEdit>("Memo2")->toPlainText()),
              readBytes(out() / "PartB" / "3" / "task.asp"));

    // A folder not named by a number: the review cannot open it, the preview can.
    selectOverviewRow(u"PartB/Train"_s);
    EXPECT_FALSE(overview()->ButtonReview->isEnabled());
    QTest::mouseClick(overview()->ButtonPreview, Qt::LeftButton);
    ASSERT_EQ(platform.openedUrls.size(), 1);
    EXPECT_TRUE(platform.openedUrls.front().endsWith(u"/buf.html"_s));
    EXPECT_NE(readBytes(dir.path() / "buf.html").find("A train covers 300 km"), std::string::npos);

    // Refresh keeps the selected folder and reads what changed.
    fs::remove_all(out() / "PartA" / "1");
    QTest::mouseClick(overview()->ButtonRefresh, Qt::LeftButton);
    EXPECT_EQ(column(0).size(), 5);
    EXPECT_EQ(overview()->Table1->currentRow(), column(0).indexOf(u"PartB/Train"_s));
    EXPECT_TRUE(platform.errors().isEmpty());
}

// The sizes follow the tree: a folder whose tasks the last Ok's sizes would misplace puts
// its own sizes in the fields and empties the lists until Ok; a tree those sizes fit brings
// them and their lists back.
TEST_F(Marks, AFolderChangeTakesTheSizesOfTheTree) {
    ready();
    ASSERT_TRUE(start());
    enterSizes("3", "3", "1");
    const fs::path other = dir.path() / "Other";
    for (int n : {4, 8, 9, 10})
        write(formTask(TaskKind::SingleChoice, n), {4, 4, 2}, other);
    const auto sizes = [this] {
        return QStringList{find<QLineEdit>("Edit2")->text(), find<QLineEdit>("Edit3")->text(),
                           find<QLineEdit>("Edit4")->text()};
    };

    changeFolder(other);
    EXPECT_EQ(sizes(), QStringList({u"4"_s, u"4"_s, u"2"_s}));
    EXPECT_EQ(find<QListWidget>("ListBox1")->count(), 0);
    EXPECT_EQ(find<QListWidget>("ListBox4")->count(), 0);
    EXPECT_EQ(status(),
              u"The task tree holds tasks of parts A 4, B 4, C 2: press Ok to use these sizes."_s);

    fs::create_directories(out());
    changeFolder(out());
    EXPECT_EQ(sizes(), QStringList({u"3"_s, u"3"_s, u"1"_s}));
    EXPECT_EQ(marks("ListBox1"), QStringList(7, u"no task yet"_s));
    EXPECT_TRUE(status().isEmpty()) << status().toStdString();
    EXPECT_TRUE(platform.boxes.empty());
}

// Ok with sizes that would place a written task elsewhere asks first, naming the folders;
// No (the default) keeps everything as it was.
TEST_F(Marks, OkThatWouldMoveAWrittenTaskAsksFirst) {
    ready();
    for (int n : {1, 4, 8})
        write(formTask(TaskKind::SingleChoice, n), {3, 3, 2}, out());
    ASSERT_TRUE(start());
    enterSizes("4", "4", "2");
    ASSERT_EQ(platform.questions().size(), 1);
    EXPECT_FALSE(platform.boxes.front().defaultYes);
    EXPECT_TRUE(platform.questions().front().contains(
        u"\nTask 4 lies in PartB/4; these sizes put it in PartA/4"
        u"\nTask 8 lies in PartC/8; these sizes put it in PartB/8\n"_s))
        << platform.questions().front().toStdString();
    EXPECT_EQ(find<QListWidget>("ListBox1")->count(), 0);
    EXPECT_EQ(form1()->partSizes().TaskTotal, 0);

    platform.clear();
    platform.questionAnswers = {true};
    click("Button2");
    EXPECT_EQ(platform.questions().size(), 1);
    EXPECT_EQ(form1()->partSizes().TaskTotal, 10);
    EXPECT_EQ(marks("ListBox1")[3], u"no task yet"_s); // PartA/4 holds nothing
}

// A hand edit that breaks the task: the box after "Saved successfully" says why, and its
// number is red at once.
TEST_F(Marks, SaveChangesThatBreakATaskSaySoAndMarkItAtOnce) {
    ready();
    write(formTask(TaskKind::SingleChoice, 2), {3, 0, 0}, out());
    ASSERT_TRUE(start());
    enterSizes("3", "0", "0");
    trigger("N1");
    clickRow("ListBox4", 1);
    click("Button8");
    auto* answers = find<QPlainTextEdit>("Memo3");
    answers->selectAll();
    type("Memo3", "ans1=4");
    platform.clear();
    click("Button6");
    ASSERT_EQ(platform.informations().size(), 1);
    const QString box = platform.informations().front();
    EXPECT_TRUE(box.startsWith(
        u"\nSaved successfully\nThe saved files do not read back as a task; its number is "
        u"marked red:\nThe task in 2 cannot be read: "_s))
        << box.toStdString();
    EXPECT_TRUE(box.contains(u"task.out"_s)) << box.toStdString();
    EXPECT_EQ(marks("ListBox4")[1], u"cannot be read back"_s);
}
