// SPDX-License-Identifier: MIT
// The small commands of the main window driven through its real widgets: About,
// Information, Reset settings, the folder chooser, the links, the remove boxes, the timer,
// fixed sizes and the browser preview.
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

TEST_F(Commands, AboutAndInformationInBothLanguages) {
    struct Case {
        const char* language;
        QString about;
        QString informationHeading;
    };
    const Case cases[] = {
        {"En\r\n",
         u"Programe for task templates: TemplateForRadio, TemplateForEdit,\n"_s
         "                 TemplateForSpoiler, TemplateForMultipleChoice\n\n"
         "                                                   Version 1.0.0",
         u"Number of added tasks:   "_s},
        {"Rus\r\n",
         u("Программа для шаблона задач: TemplateForRadio, TemplateForEdit,\n"
           "                   TemplateForSpoiler, TemplateForMultipleChoice\n\n"
           "                                                   Версия 1.0.0"),
         u("Количество поставленных задач:   ")},
    };
    prepare("Rus\r\n");
    for (const auto& c : cases) {
        program.reset();
        platform.clear();
        writeBytes(systemFolder() / "Language" / "Language.txt", c.language);
        ASSERT_TRUE(start());
        trigger("k1");
        EXPECT_EQ(lastInformation(), c.about) << c.language;
        writeBytes(auth() / "Tasks_in_view.txt", "17\r\n");
        trigger("information1");
        EXPECT_EQ(lastInformation(), c.informationHeading + u"17\n"_s) << c.language;
        EXPECT_TRUE(platform.errors().isEmpty());
    }
}

TEST_F(Commands, InformationWithoutTheCounterFileReportsIt) {
    started("En\r\n");
    fs::remove(auth() / "Tasks_in_view.txt");
    trigger("information1");
    EXPECT_TRUE(platform.informations().isEmpty());
    ASSERT_EQ(platform.errors().size(), 1);
    EXPECT_EQ(platform.errors()[0],
              u"Cannot open file "_s + utf8((auth() / "Tasks_in_view.txt").string()));
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

TEST_F(Commands, ResetSettingsWriteFailureIsReportedAndSkipsTheFlag) {
    started("Rus\r\n");
    writeBytes(auth() / "save.txt", "0\r\n");
    fs::remove(auth() / "Tasks_in_view.txt");
    fs::create_directories(auth() / "Tasks_in_view.txt");
    platform.questionAnswers = {true};
    trigger("N3");
    EXPECT_TRUE(platform.informations().isEmpty());
    ASSERT_EQ(platform.errors().size(), 1);
    EXPECT_EQ(platform.errors()[0],
              u"Cannot create file "_s + utf8((auth() / "Tasks_in_view.txt").string()));
    EXPECT_EQ(readBytes(auth() / "save.txt"), "0\r\n");
}

TEST_F(Commands, RemoveBoxesStayASuffixInEveryOrder) {
    started();
    QCheckBox* box[] = {nullptr, find<QCheckBox>("CheckBox1"), find<QCheckBox>("CheckBox2"),
                        find<QCheckBox>("CheckBox3")};
    auto state = [&] {
        return u"%1%2%3"_s.arg(int(box[1]->isChecked()))
            .arg(int(box[2]->isChecked()))
            .arg(int(box[3]->isChecked()));
    };
    struct Step {
        int click;
        const char* after;
    };
    const std::vector<std::vector<Step>> orders = {
        {{1, "111"}, {3, "000"}},
        {{1, "111"}, {2, "001"}, {3, "000"}},
        {{3, "001"}, {2, "011"}, {1, "111"}, {1, "011"}, {2, "001"}},
        {{2, "011"}, {1, "111"}, {2, "001"}, {1, "111"}},
        {{3, "001"}, {1, "111"}, {3, "000"}, {2, "011"}, {3, "000"}},
    };
    for (const auto& order : orders) {
        for (int i = 1; i <= 3; ++i)
            box[i]->setChecked(false);
        ASSERT_EQ(state(), u"000"_s);
        for (const auto& step : order) {
            QTest::mouseClick(box[step.click], Qt::LeftButton);
            EXPECT_EQ(state(), QString::fromUtf8(step.after)) << step.click;
        }
    }
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

TEST_F(Commands, FolderChooserCancelExistingNewAndUncreatable) {
    started("En\r\n");
    const fs::path work = dir.path();
    const QString year = utf8((work / "Year").string());
    const QString question = u"The specified directory does not exist. Create it?"_s;

    // Year does not exist at a fresh start: the chooser opens in the working directory.
    clickLabel("Label19");
    EXPECT_EQ(platform.chooserStarts, QStringList{utf8(work.string())});
    EXPECT_EQ(utf8(form1()->OutputDir().string()), year);
    EXPECT_EQ(label19(), year);

    // An existing folder, from the picture; the chooser then starts there.
    fs::create_directories(work / "Old");
    platform.folderAnswers = {utf8((work / "Old").string())};
    clickLabel("Image1");
    EXPECT_EQ(form1()->OutputDir(), work / "Old");
    EXPECT_EQ(label19(), utf8((work / "Old").string()));
    EXPECT_TRUE(platform.boxes.empty());
    platform.clear();
    clickLabel("Label19");
    EXPECT_EQ(platform.chooserStarts, QStringList{utf8((work / "Old").string())});

    // A new folder: No returns to the chooser, Yes creates it with its parents.
    const fs::path fresh = work / "a b#" / u8"Задачи" / "2026";
    platform.clear();
    platform.folderAnswers = {utf8(fresh.string()), utf8(fresh.string())};
    platform.questionAnswers = {false, true};
    clickLabel("Label19");
    EXPECT_EQ(platform.texts(RecordingPlatform::Kind::Question), (QStringList{question, question}));
    EXPECT_EQ(platform.chooserStarts.size(), 2);
    EXPECT_TRUE(fs::is_directory(fresh));
    EXPECT_EQ(form1()->OutputDir(), fresh);
    EXPECT_EQ(label19(), utf8(fresh.string()));

    // A folder that cannot be created: reported, OutputDir kept.
    writeBytes(work / "plain", "a file");
    platform.clear();
    platform.folderAnswers = {utf8((work / "plain" / "sub").string())};
    platform.questionAnswers = {true};
    clickLabel("Label19");
    ASSERT_EQ(platform.errors().size(), 1);
    EXPECT_EQ(platform.errors()[0],
              u"\nUnable to create the folder "_s + utf8((work / "plain" / "sub").string()));
    EXPECT_EQ(form1()->OutputDir(), fresh);
    EXPECT_EQ(label19(), utf8(fresh.string()));
    EXPECT_EQ(fs::current_path(), fs::current_path()); // the chooser never moves it
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

TEST_F(Commands, LinksTurnToTheLinkColourUnderTheMouseAndBackToGreen) {
    started();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form1()));
    const QColor green(0, 128, 0);
    for (const char* name : {"Label14", "Label15", "Label16", "Label17"}) {
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
    EXPECT_EQ(platform.errors(), QStringList{u"Cannot open file "_s + utf8(head.string())});
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

TEST_F(Commands, ResetSettingsMakesTheNextAddTaskAskForTheAuthor) {
    started("En\r\n");
    writeBytes(auth() / "save.txt", "0\r\n");
    platform.questionAnswers = {true};
    trigger("N3");
    addTaskOne(*this);
    EXPECT_TRUE(program->form2()->isVisible());
    EXPECT_FALSE(fs::exists(dir.path() / "Year"));
    EXPECT_EQ(readBytes(auth() / "Tasks_in_view.txt"), "0\r\n");
}

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
        qobject_cast<QLineEdit*>(field(edit))->setText(u"1"_s);
    qobject_cast<QLineEdit*>(field("Edit5"))->setText(u"7"_s);
    qobject_cast<QLineEdit*>(field("Edit6"))->setText(u"Name"_s);
    qobject_cast<QPushButton*>(field("Button1"))->click();
    EXPECT_TRUE(fs::is_regular_file(chosen / "7" / "task.asp"));
    EXPECT_TRUE(platform.errors().isEmpty());
}
