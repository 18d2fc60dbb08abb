// SPDX-License-Identifier: MIT
// The small commands of the main window driven through its real widgets: About,
// Information, Reset settings, the folder chooser, the links, the timer, fixed sizes, the
// browser preview, and the author line reaching the Edits builder. The rules behind them are
// the logic's (test_commands.cpp, test_preview.cpp).
#include "core/review/preview.hpp"
#include "core/shell/commands.hpp"
#include "ui/auth/tform2.hpp"
#include "ui/edits/tform3.hpp"
#include "ui/support/ui_fixture.hpp"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QTest>
#include <QTimer>

namespace fs = std::filesystem;
using namespace kavo::test;
using namespace Qt::Literals::StringLiterals;

namespace {

QString utf8(const std::string& s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}
struct Commands : UiFixture {
    RecordingPlatform& p = platform;
    void trigger(const char* action) { find<QAction>(action)->trigger(); }
    QString lastInformation() const {
        const auto texts = platform.informations();
        return texts.isEmpty() ? QString() : texts.back();
    }
    fs::path auth() const { return systemFolder() / "Authorisation"; }
    void clickLabel(const char* name) { QTest::mouseClick(find<QLabel>(name), Qt::LeftButton); }
    QString label19() const { return find<QLabel>("Label19")->text(); }
};

} // namespace

// The texts in both languages are the logic's (About, Information tests); the window shows them.
TEST_F(Commands, AboutAndInformation) {
    started("En\r\n");
    trigger("k1");
    EXPECT_EQ(lastInformation(),
              u"Programe for task templates: TemplateForRadio, TemplateForEdit,\n"
              u"                 TemplateForSpoiler, TemplateForMultipleChoice\n\n"
              u"                                                   Version 1.0.0"_s);
    writeBytes(auth() / "Tasks_in_view.txt", "17\r\n");
    trigger("information1");
    EXPECT_EQ(lastInformation(), u"Number of added tasks:   17\n"_s);
    EXPECT_TRUE(platform.errors().isEmpty());
}

TEST_F(Commands, ResetSettingsAsksThenInformationShowsZero) {
    started("En\r\n");
    writeBytes(auth() / "Tasks_in_view.txt", "9\r\n");
    writeBytes(auth() / "save.txt", "0\r\n");
    // No leaves both files.
    trigger("N3");
    EXPECT_EQ(platform.texts(RecordingPlatform::Kind::Question).size(), 1);
    EXPECT_TRUE(platform.informations().isEmpty());
    EXPECT_EQ(readBytes(auth() / "Tasks_in_view.txt"), "9\r\n");
    EXPECT_EQ(readBytes(auth() / "save.txt"), "0\r\n");
    platform.questionAnswers = {true};
    trigger("N3");
    EXPECT_EQ(lastInformation(), u"Settings has been reseted"_s);
    EXPECT_EQ(readBytes(auth() / "Tasks_in_view.txt"), "0\r\n");
    EXPECT_EQ(readBytes(auth() / "save.txt"), "1\r\n");
    trigger("information1");
    EXPECT_EQ(lastInformation(), u"Number of added tasks:   0\n"_s);
}

TEST_F(Commands, TimerKeepsDefaultNamesInStepWithTheNameFields) {
    started();
    auto* timer = form1()->findChild<QTimer*>(u"Timer1"_s);
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 1000);
    EXPECT_TRUE(timer->isActive());
    auto* box = find<QCheckBox>("CheckBox4");
    auto* ru = find<QLineEdit>("Edit7");
    auto* en = find<QLineEdit>("Edit8");
    auto tick = [&] { QMetaObject::invokeMethod(timer, "timeout"); };

    EXPECT_TRUE(box->isChecked());
    QTest::keyClicks(ru, u"Zadacha"_s);
    tick();
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(ru->text(), u"Zadacha"_s); // the tick does not empty the name
    ru->setText(u("Задача"));
    tick();
    EXPECT_FALSE(box->isChecked());
    ru->clear();
    QTest::keyClicks(en, u"Task"_s);
    tick();
    EXPECT_FALSE(box->isChecked());

    // Checking by hand empties the Russian name only; the next tick undoes it.
    ru->setText(u"x"_s);
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(ru->text(), u""_s);
    EXPECT_EQ(en->text(), u"Task"_s);
    tick();
    EXPECT_FALSE(box->isChecked());

    en->clear();
    tick();
    EXPECT_TRUE(box->isChecked());
}

TEST_F(Commands, LinksOpenTheirAddresses) {
    started("En\r\n");
    for (const char* name : {"Label14", "Label15", "Label16", "Label17"})
        clickLabel(name);
    const QStringList expected = {QString::fromLatin1(kavo::app::WebSiteAddress.data()),
                                  QString::fromLatin1(kavo::app::TextRecognitionAddress.data()),
                                  QString::fromLatin1(kavo::app::CharacterReferencesAddress.data()),
                                  QString::fromLatin1(kavo::app::VideoLessonsAddress.data())};
    EXPECT_EQ(platform.openedUrls, expected);
    EXPECT_TRUE(find<QLabel>("Label14")->text().contains(
        QString::fromLatin1(kavo::app::WebSiteHost.data())));

    // A press on the bare client area drags the window; one on a clickable label is the
    // label's own, or the window move would swallow the release and the click.
    struct PressCounter : QObject {
        int presses = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            presses += event->type() == QEvent::MouseButtonPress;
            return false;
        }
    } counter;
    form1()->client()->installEventFilter(&counter);
    QTest::mousePress(form1()->client(), Qt::LeftButton, {}, QPoint(450, 10));
    EXPECT_EQ(counter.presses, 1);
    for (const char* name : {"Label14", "Label15", "Label16", "Label17", "Label19", "Image1"})
        QTest::mousePress(find<QLabel>(name), Qt::LeftButton);
    EXPECT_EQ(counter.presses, 1);
}

// Where the chooser starts and which folders it accepts are the logic's (FolderChooser
// tests); here the window's part: the start folder and title handed over, the question in
// the interface language, Label19 and the image both opening it, the guard's report.
TEST_F(Commands, FolderChooserAsksCreatesAndReports) {
    started("Rus\r\n");
    const fs::path work = dir.path();

    // A new folder, from the picture: No returns to the chooser, Yes creates it.
    const fs::path fresh = work / "a b#" / u8"Задачи" / "2026";
    platform.folderAnswers = {utf8(fresh.string()), utf8(fresh.string())};
    platform.questionAnswers = {false, true};
    clickLabel("Image1");
    const QString question = u"Указанная папка не существует. Создать её?"_s;
    EXPECT_EQ(platform.texts(RecordingPlatform::Kind::Question), (QStringList{question, question}));
    EXPECT_EQ(platform.chooserStarts, (QStringList{utf8(work.string()), utf8(work.string())}));
    EXPECT_EQ(platform.chooserTitles.value(0), u"Папка для задач"_s);
    EXPECT_TRUE(fs::is_directory(fresh));
    EXPECT_EQ(form1()->OutputDir(), fresh);
    EXPECT_EQ(label19(), utf8(fresh.string()));

    // A folder that cannot be created, from the label: reported, OutputDir kept.
    writeBytes(work / "plain", "a file");
    platform.clear();
    platform.folderAnswers = {utf8((work / "plain" / "sub").string())};
    platform.questionAnswers = {true};
    clickLabel("Label19");
    EXPECT_EQ(platform.chooserStarts, QStringList{utf8(fresh.string())});
    ASSERT_EQ(platform.errors().size(), 1);
    EXPECT_TRUE(platform.errors()[0].contains(utf8((work / "plain" / "sub").string())));
    EXPECT_EQ(form1()->OutputDir(), fresh);
    EXPECT_EQ(label19(), utf8(fresh.string()));
}

TEST_F(Commands, NoWindowCanBeResized) {
    started();
    for (QWidget* window : {static_cast<QWidget*>(program->form1()), static_cast<QWidget*>(form2()),
                            static_cast<QWidget*>(form3())}) {
        window->show();
        const QSize before = window->size();
        window->resize(before + QSize(120, 80));
        QApplication::processEvents();
        EXPECT_EQ(window->size(), before) << window->objectName().toStdString();
        EXPECT_EQ(window->minimumSize(), window->maximumSize())
            << window->objectName().toStdString();
    }
}

TEST_F(Commands, PreviewWalksTheTasksAndAsksForANumber) {
    started("En\r\n");
    find<QLineEdit>("Edit2")->setText(u"3"_s);
    QTest::mouseClick(find<QPushButton>("Button2"), Qt::LeftButton);
    auto* list = find<QListWidget>("ListBox1");
    ASSERT_EQ(list->count(), 3);
    for (int n = 1; n <= 3; ++n)
        writeBytes(dir.path() / "Year" / std::to_string(n) / "task.asp",
                   "<img src=\"webfiles/p" + std::to_string(n) + ".png\">");
    auto* button5 = find<QPushButton>("Button5");

    // No selection: asked for a number, then the first press previews task 1.
    QTest::mouseClick(button5, Qt::LeftButton);
    EXPECT_EQ(platform.informations(), QStringList{u"\nSelect the task number!"_s});
    EXPECT_FALSE(fs::exists(dir.path() / "buf.html"));
    for (int n = 1; n <= 3; ++n) {
        QTest::mouseClick(button5, Qt::LeftButton);
        const std::string page = readBytes(dir.path() / "buf.html");
        EXPECT_NE(page.find(kavo::review::folderUrl(dir.path() / "Year" / std::to_string(n) /
                                                    "webfiles") +
                            "p" + std::to_string(n) + ".png"),
                  std::string::npos)
            << page;
        EXPECT_EQ(platform.openedUrls.back(),
                  QString::fromStdString(kavo::review::fileUrl(dir.path() / "buf.html")));
    }
    EXPECT_EQ(platform.openedUrls.size(), 3);
    EXPECT_TRUE(list->selectedItems().isEmpty());
    EXPECT_TRUE(platform.errors().isEmpty());
}

TEST_F(Commands, LinksAreGreenWithAHandAndTurnToTheLinkColourUnderTheMouse) {
    started();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form1()));
    const QColor green(0, 128, 0);
    EXPECT_EQ(find<QLabel>("Label19")->palette().color(QPalette::WindowText), green);
    for (const char* name : {"Label19", "Image1"})
        EXPECT_EQ(find<QLabel>(name)->cursor().shape(), Qt::PointingHandCursor) << name;
    for (const char* name : {"Label14", "Label15", "Label16", "Label17"}) {
        EXPECT_EQ(find<QLabel>(name)->cursor().shape(), Qt::PointingHandCursor) << name;
        auto* link = find<QLabel>(name);
        EXPECT_EQ(link->palette().color(QPalette::WindowText), green) << name;
        QTest::mouseMove(link, QPoint(2, 2));
        EXPECT_EQ(link->palette().color(QPalette::WindowText),
                  link->palette().color(QPalette::Link))
            << name;
        QTest::mouseMove(form1()->client(), QPoint(450, 10));
        EXPECT_EQ(link->palette().color(QPalette::WindowText), green) << name;
    }
}

TEST_F(Commands, PreviewWithAMissingTemplateReportsItAndKeepsTheSelection) {
    started("En\r\n");
    find<QLineEdit>("Edit2")->setText(u"2"_s);
    QTest::mouseClick(find<QPushButton>("Button2"), Qt::LeftButton);
    auto* list = find<QListWidget>("ListBox1");
    list->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    writeBytes(dir.path() / "Year" / "1" / "task.asp", "page");
    const fs::path head = systemFolder() / "browser" / "head.txt";
    fs::remove(head);
    QTest::mouseClick(find<QPushButton>("Button5"), Qt::LeftButton);
    EXPECT_EQ(platform.errors(), QStringList{u"Cannot open file "_s +
                                             utf8(head.string() + "\nNo such file or folder")});
    EXPECT_TRUE(platform.openedUrls.isEmpty());
    EXPECT_FALSE(fs::exists(dir.path() / "buf.html"));
    ASSERT_EQ(list->selectedItems().size(), 1);
    EXPECT_EQ(list->row(list->selectedItems()[0]), 0);
}

namespace {

// Fills the task form for task 1 of three, single choice, and presses Add task.
void addTaskOne(Commands& t) {
    t.find<QLineEdit>("Edit2")->setText(u"3"_s);
    QTest::mouseClick(t.find<QPushButton>("Button2"), Qt::LeftButton);
    t.find<QListWidget>("ListBox1")->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    t.find<QListWidget>("ListBox2")->setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
    t.find<QListWidget>("ListBox3")->setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
    t.find<QPlainTextEdit>("Memo1")->setPlainText(u"Condition"_s);
    const char* variants[] = {"Alpha", "Bravo", "Charlie", "Delta", "Echo"};
    for (int i = 0; i < 5; ++i)
        t.find<QLineEdit>(("VariantOtveta_" + std::to_string(i + 1)).c_str())
            ->setText(QString::fromUtf8(variants[i]));
    t.find<QLineEdit>("Edit1")->setText(u"a"_s);
    QTest::mouseClick(t.find<QPushButton>("Button1"), Qt::LeftButton);
}

} // namespace

TEST_F(Commands, ANewlyChosenFolderTakesTheNextAddTaskAndEditsSave) {
    started("En\r\n");
    writeBytes(auth() / "save.txt", "0\r\n");
    const fs::path chosen = dir.path() / u8"Олимпиада 2026" / "tasks";
    platform.folderAnswers = {utf8(chosen.string())};
    platform.questionAnswers = {true};
    clickLabel("Label19");
    ASSERT_EQ(form1()->OutputDir(), chosen);

    addTaskOne(*this);
    EXPECT_TRUE(fs::is_regular_file(chosen / "1" / "task.asp"));
    EXPECT_FALSE(fs::exists(dir.path() / "Year"));

    TForm3* edits = form3();
    const auto field = [edits](const char* name) {
        return edits->findChild<QWidget*>(QString::fromLatin1(name));
    };
    for (const char* memo : {"Memo1", "Memo2", "Memo3", "Memo4", "Memo5"})
        qobject_cast<QPlainTextEdit*>(field(memo))->setPlainText(u"text"_s);
    for (const char* edit : {"Edit1", "Edit2", "Edit3", "Edit4"})
        edits->findChild<QLineEdit*>(QString::fromLatin1(edit))->setText(u"1"_s);
    edits->findChild<QLineEdit*>(u"Edit5"_s)->setText(u"7"_s);
    edits->findChild<QLineEdit*>(u"Edit6"_s)->setText(u"Name"_s);
    qobject_cast<QPushButton*>(field("Button1"))->click();
    EXPECT_TRUE(fs::is_regular_file(chosen / "7" / "task.asp"));
    EXPECT_TRUE(platform.errors().isEmpty());
}

// The Edits builder carries an author line saved while it is built already (one saved
// before it is built: the olympiad test).
TEST_F(Commands, TheEditsBuilderTakesTheAuthorSavedWhileItIsOpen) {
    started("En\r\n");
    TForm3* edits = form3();
    trigger("Authorisation1");
    TForm2* dialog = program->form2();
    dialog->findChild<QLineEdit*>(u"Edit1"_s)->setText(u"New Author & Co"_s);
    QTest::mouseClick(dialog->findChild<QPushButton*>(u"Button1"_s), Qt::LeftButton);
    const auto field = [edits](const char* name) {
        return edits->findChild<QWidget*>(QString::fromLatin1(name));
    };
    for (const char* memo : {"Memo1", "Memo2", "Memo3", "Memo4", "Memo5"})
        qobject_cast<QPlainTextEdit*>(field(memo))->setPlainText(u"text"_s);
    for (const char* edit : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6"})
        edits->findChild<QLineEdit*>(QString::fromLatin1(edit))->setText(u"7"_s);
    qobject_cast<QPushButton*>(field("Button1"))->click();
    EXPECT_NE(
        readBytes(dir.path() / "Year" / "7" / "task.xml").find("<author>New Author &amp; Co<"),
        std::string::npos);
    EXPECT_TRUE(platform.boxes.empty());
}
