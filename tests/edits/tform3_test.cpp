// SPDX-License-Identifier: MIT
// The Edits builder window, built for real under the offscreen platform.
#include "ui/edits/tform3.hpp"

#include "support/test_support.hpp"
#include "ui/support/recording_platform.hpp"

#include "core/common/error.hpp"
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>
#include <memory>

namespace fs = std::filesystem;
using kavo::test::listTree;
using kavo::test::readBytes;
using kavo::test::RecordingPlatform;
using kavo::test::TempDir;
using namespace Qt::Literals::StringLiterals;

namespace {

// The text a caption shows: its mnemonic marks taken out.
QString shown(QString caption) {
    return caption.remove(u'&');
}

// A tag reminder with leading spaces, a tag and a Cyrillic word (Windows-1251).
const std::string Toolkit = "  <b>\xE6\xE8\xF0</b>\r\n&lt;\r\n";

struct Builder {
    TempDir dir;
    RecordingPlatform platform;
    fs::path system = dir.path() / "System_folder";
    fs::path output = dir.path() / "Year";
    kavo::model::PartSizes sizes;
    std::unique_ptr<TForm3> form;

    explicit Builder(kavo::Lang lang = kavo::Lang::Russian) {
        kavo::test::copySystemFolder(dir.path());
        form = std::make_unique<TForm3>(platform, dir.path(), lang, Toolkit,
                                        kavo::edits::readEditsTemplates(dir.path()), [this] {
                                            kavo::model::Olympiad olympiad;
                                            olympiad.outputDir = output;
                                            olympiad.sizes = sizes;
                                            return olympiad;
                                        });
        form->show();
    }
    template <typename W> W* find(const char* name) const {
        auto* widget = form->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void setMemo(const char* name, const QString& text) const {
        find<QPlainTextEdit>(name)->setPlainText(text);
    }
    void setEdit(const char* name, const QString& text) const {
        if (auto* list = form->findChild<QComboBox*>(QString::fromLatin1(name)))
            list->setEditText(text);
        else
            find<QLineEdit>(name)->setText(text);
    }
    void click(const char* name) const {
        QTest::mouseClick(find<QAbstractButton>(name), Qt::LeftButton);
    }
    bool ticked(const char* name) const { return find<QCheckBox>(name)->isChecked(); }
    void fill(const QString& number = u"7"_s) const {
        const char* memos[] = {"Memo1", "Memo2", "Memo3", "Memo4", "Memo5"};
        const char* edits[] = {"Edit1", "Edit2", "Edit3", "Edit4"};
        for (int i = 0; i < 5; ++i)
            setMemo(memos[i], u"condition %1"_s.arg(i));
        for (int i = 0; i < 4; ++i)
            setEdit(edits[i], u"answer %1"_s.arg(i + 1));
        setEdit("Edit5", number);
        setEdit("Edit6", u"Name"_s);
    }
    bool fieldsEmpty() const {
        for (const char* memo : {"Memo1", "Memo2", "Memo3", "Memo4", "Memo5"})
            if (!find<QPlainTextEdit>(memo)->toPlainText().isEmpty())
                return false;
        for (const char* edit : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6"})
            if (!find<QLineEdit>(edit)->text().isEmpty())
                return false;
        return !ticked("CheckBox1") && !ticked("CheckBox2");
    }
};

} // namespace

TEST(Form3Window, WidgetsInBothLanguages) {
    struct Case {
        kavo::Lang language;
        std::vector<std::pair<const char*, const char*>> captions;
    };
    const Case cases[] = {
        {kavo::Lang::Russian,
         {{"Label5", "Общее условие"},
          {"Label6", "Условие"},
          {"Label9", "Условие"},
          {"Label10", "Ответ"},
          {"Label13", "Ответ"},
          {"Label15", "Памятка тегов"},
          {"Label14", "Номер задачи"},
          {"Label16", "Название задачи"},
          {"Label1", "A)"},
          {"Label4", "D)"}}},
        {kavo::Lang::English,
         {{"Label5", "Main task"},
          {"Label6", "Task A"},
          {"Label7", "Task B"},
          {"Label8", "Task C"},
          {"Label9", "Task D"},
          {"Label10", "Answer"},
          {"Label13", "Answer"},
          {"Label15", "Memo Tag"},
          {"Label14", "Number of the task"},
          {"Label16", "Name of the task"},
          {"Label1", "A)"},
          {"Label4", "D)"}}},
    };
    for (const auto& c : cases) {
        const bool english = c.language == kavo::Lang::English;
        SCOPED_TRACE(english);
        Builder b(c.language);
        EXPECT_EQ(b.form->objectName(), u"Form3"_s);
        EXPECT_EQ(b.form->windowTitle(), u"Kavo Program"_s);
        // What a Windows frame of 887 x 696 leaves below the menu bar, as for the main window.
        EXPECT_EQ(b.form->findChild<QWidget*>(u"Client"_s)->size(), QSize(871, 638));
        EXPECT_EQ(b.form->minimumSize(), b.form->maximumSize());
        for (const auto& [name, caption] : c.captions)
            EXPECT_EQ(shown(b.find<QLabel>(name)->text()), QString::fromUtf8(caption)) << name;
        EXPECT_EQ(shown(b.find<QCheckBox>("CheckBox1")->text()),
                  english ? u"Remove"_s : u"Удалить"_s);
        EXPECT_EQ(shown(b.find<QPushButton>("Button1")->text()),
                  english ? u"Add the task"_s : u"Сохранить задачу"_s);
        EXPECT_EQ(shown(b.find<QMenu>("Menu1")->title()), english ? u"Menu"_s : u"Меню"_s);
        EXPECT_EQ(shown(b.find<QAction>("N1")->text()),
                  english ? u"Main template"_s : u"На главную форму"_s);
        EXPECT_EQ(shown(b.find<QAction>("Authorisation1")->text()),
                  english ? u"Authorisation"_s : u"Авторизация"_s);
        EXPECT_EQ(b.find<QPlainTextEdit>("Memo8")->toPlainText(),
                  QString::fromUtf8("  <b>жир</b>\n&lt;\n"));

        EXPECT_EQ(b.find<QPlainTextEdit>("Memo1")->geometry(), QRect(40, 32, 825, 105));
        EXPECT_EQ(b.find<QPlainTextEdit>("Memo4")->geometry(), QRect(40, 424, 417, 89));
        EXPECT_EQ(b.find<QLineEdit>("Edit3")->geometry(), QRect(488, 456, 121, 21));
        EXPECT_EQ(b.find<QCheckBox>("CheckBox2")->geometry(), QRect(488, 616, 97, 17));
        EXPECT_EQ(b.find<QPlainTextEdit>("Memo8")->geometry(), QRect(640, 216, 225, 281));
        EXPECT_EQ(b.find<QFrame>("Panel1")->geometry(), QRect(640, 504, 225, 129));
        EXPECT_EQ(b.find<QComboBox>("Edit5")->geometry(), QRect(56, 72, 121, 21));
        EXPECT_EQ(b.find<QPushButton>("Button1")->geometry(), QRect(56, 96, 121, 25));
        EXPECT_EQ(b.find<QLabel>("Label7")->pos(), QPoint(40, 288));
        EXPECT_EQ(b.find<QLabel>("Label12")->pos(), QPoint(488, 432));
        EXPECT_TRUE(b.fieldsEmpty());
    }
}

// Removing C removes D; keeping D keeps C; every other click changes only its box.
TEST(Form3Window, RemoveBoxesStayConsistent) {
    struct Case {
        std::vector<const char*> clicks;
        bool removeC, removeD;
    };
    const Case cases[] = {
        {{"CheckBox1"}, true, true},
        {{"CheckBox2"}, false, true},
        {{"CheckBox1", "CheckBox2"}, false, false},
        {{"CheckBox1", "CheckBox1"}, false, true},
        {{"CheckBox2", "CheckBox1"}, true, true},
        {{"CheckBox2", "CheckBox2"}, false, false},
        {{"CheckBox1", "CheckBox1", "CheckBox2"}, false, false},
    };
    Builder b;
    for (const auto& c : cases) {
        std::string trace;
        for (const char* click : c.clicks)
            trace += std::string(click) + " ";
        SCOPED_TRACE(trace);
        b.find<QCheckBox>("CheckBox1")->setChecked(false);
        b.find<QCheckBox>("CheckBox2")->setChecked(false);
        for (const char* click : c.clicks)
            b.click(click);
        EXPECT_EQ(b.ticked("CheckBox1"), c.removeC);
        EXPECT_EQ(b.ticked("CheckBox2"), c.removeD);
    }
}

TEST(Form3Window, SaveTaskWritesThePackageAndEmptiesTheFields) {
    Builder b;
    b.fill(u"PartB\\7"_s);
    b.setMemo("Memo1", QString::fromUtf8("Найдите x ≤ 5:\n<b>a&nbsp;b</b>\u00a0end"));
    b.click("CheckBox2"); // three sub-questions
    b.click("Button1");
    EXPECT_TRUE(b.platform.boxes.empty());
    const auto folder = b.output / "PartB" / "7";
    EXPECT_EQ(listTree(folder), "TASK.CFG\ntask.asp\ntask.out\ntask.xml\nwebfiles/\n");
    const auto page = readBytes(folder / "task.asp");
    EXPECT_NE(page.find("\xCD\xE0\xE9\xE4\xE8\xF2\xE5 x &#8804; 5:\r\n<b>a&nbsp;b</b>\xA0"
                        "end\r\n"),
              std::string::npos);
    EXPECT_NE(page.find("condition 3"), std::string::npos);
    EXPECT_EQ(page.find("condition 4"), std::string::npos);
    const auto scoring = readBytes(folder / "task.out");
    EXPECT_NE(scoring.find("ans3=answer 3\r\n"), std::string::npos);
    EXPECT_EQ(scoring.find("answer 4"), std::string::npos);
    EXPECT_NE(readBytes(folder / "task.xml").find("cost=\"3\""), std::string::npos);
    EXPECT_TRUE(b.fieldsEmpty());
}

TEST(Form3Window, RefusalsShowTheirMessageAndKeepTheFields) {
    struct Case {
        kavo::Lang language;
        QString number;
        bool removeCOnly;
        QString answer1;
        const char* message;
    };
    // The refusals of the form are the logic's (EditsSave.RefusalsWriteNothing); here one
    // refusal, and an answer the window cannot convert to the code page.
    const Case cases[] = {
        {kavo::Lang::English, u""_s, false, u"1"_s, "\nSpecify the number of the task"},
        {kavo::Lang::Russian, u""_s, false, u"1"_s, "\nУкажите номер задачи"},
        {kavo::Lang::English, u"7"_s, false, QString::fromUtf8("x ≤ 5"),
         "\nThe answer to A holds a character that task.out cannot store (Windows-1251 code "
         "page)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        Builder b(c.language);
        b.fill(c.number);
        b.setEdit("Edit1", c.answer1);
        if (c.removeCOnly)
            b.find<QCheckBox>("CheckBox1")->setChecked(true);
        b.click("Button1");
        ASSERT_EQ(b.platform.informations().size(), 1);
        EXPECT_EQ(b.platform.informations()[0], QString::fromUtf8(c.message));
        EXPECT_EQ(listTree(b.dir.path()).find("Year"), std::string::npos);
        EXPECT_EQ(b.find<QPlainTextEdit>("Memo3")->toPlainText(), u"condition 2"_s);
        EXPECT_EQ(b.find<QLineEdit>("Edit1")->text(), c.answer1);
        EXPECT_EQ(b.find<QLineEdit>("Edit5")->text(), c.number);
        EXPECT_EQ(b.ticked("CheckBox1"), c.removeCOnly);
    }
}

TEST(Form3Window, AFailedWriteShowsTheErrorAndKeepsTheFields) {
    Builder b;
    fs::create_directories(b.output / "7" / "task.out");
    b.fill();
    b.platform.questionAnswers = {true}; // replace what the folder holds
    b.click("Button1");
    ASSERT_EQ(b.platform.errors().size(), 1);
    EXPECT_EQ(
        b.platform.errors()[0].toStdString(),
        kavo::Error::cannotCreate(b.output / "7" / "task.out", EISDIR).report(kavo::Lang::Russian));
    EXPECT_FALSE(fs::exists(b.output / "7" / "task.asp"));
    EXPECT_EQ(b.find<QLineEdit>("Edit5")->text(), u"7"_s);
    EXPECT_EQ(b.find<QPlainTextEdit>("Memo1")->toPlainText(), u"condition 0"_s);
}

// Edit5 offers the folder of every number of the parts and the other task folders of the
// tree; the text typed stays.
TEST(Form3Window, Edit5OffersThePlacesOfTheOlympiad) {
    Builder b;
    b.sizes = {2, 1, 0};
    kavo::test::writeBytes(b.output / "Extra" / "1" / "task.xml", "x");
    kavo::test::writeBytes(b.output / "PartA" / "2" / "task.asp", "x");
    b.setEdit("Edit5", u"PartC\\9"_s);
    b.form->hide();
    b.form->show();
    auto* list = b.find<QComboBox>("Edit5");
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    EXPECT_EQ(items, (QStringList{u"PartA/1"_s, u"PartA/2"_s, u"PartB/3"_s, u"Extra/1"_s}));
    EXPECT_EQ(list->currentText(), u"PartC\\9"_s);
    list->setCurrentIndex(2);
    b.fill(list->currentText());
    b.click("Button1");
    EXPECT_TRUE(fs::is_regular_file(b.output / "PartB" / "3" / "task.asp"));
}

// A folder that holds a package: the save asks, No by default; No writes nothing and keeps
// the form, Yes replaces and says where the task went in the status bar.
TEST(Form3Window, ReplaceIsAskedAndTheStatusBarSaysWhereTheTaskWent) {
    Builder b(kavo::Lang::English);
    b.fill();
    b.click("Button1");
    const auto page = readBytes(b.output / "7" / "task.asp");
    const QString where = u"Task 7 (Edits task) is written to the folder 7 of the task tree."_s;
    EXPECT_EQ(b.form->statusBar()->currentMessage(), where);
    EXPECT_TRUE(b.platform.boxes.empty());

    b.fill();
    b.setMemo("Memo1", u"second"_s);
    b.form->statusBar()->clearMessage();
    for (const bool yes : {false, true}) {
        SCOPED_TRACE(yes);
        b.platform.clear();
        b.platform.questionAnswers = {yes};
        b.click("Button1");
        ASSERT_EQ(b.platform.boxes.size(), 1u);
        EXPECT_EQ(b.platform.boxes[0].text,
                  u"Task 7 (Edits task) is already written. Replace it?"_s);
        EXPECT_FALSE(b.platform.boxes[0].defaultYes);
        EXPECT_EQ(readBytes(b.output / "7" / "task.asp") == page, !yes);
        EXPECT_EQ(b.find<QPlainTextEdit>("Memo1")->toPlainText().isEmpty(), yes);
        EXPECT_EQ(b.form->statusBar()->currentMessage(), yes ? where : QString());
    }
}

// The "<" warnings are one question, No by default; a No writes nothing.
TEST(Form3Window, StrayLessThanIsAskedInTheInterfaceLanguage) {
    const std::pair<kavo::Lang, const char*> cases[] = {
        {kavo::Lang::English, "Sub-question A: \"if a <b then\""},
        {kavo::Lang::Russian, "Подвопрос A: «if a <b then»"},
    };
    for (const auto& [lang, place] : cases) {
        Builder b(lang);
        b.fill();
        b.setMemo("Memo2", u"if a <b then"_s);
        b.click("Button1");
        ASSERT_EQ(b.platform.questions().size(), 1);
        EXPECT_TRUE(b.platform.questions()[0].contains(QString::fromUtf8(place)))
            << b.platform.questions()[0].toStdString();
        EXPECT_FALSE(b.platform.boxes[0].defaultYes);
        EXPECT_FALSE(fs::exists(b.output));
        EXPECT_EQ(b.find<QPlainTextEdit>("Memo2")->toPlainText(), u"if a <b then"_s);
    }
}

// Closing the builder while it holds text no save wrote asks, No by default: No keeps the
// window open. Saved text is not asked about.
TEST(Form3Window, ClosingWithUnwrittenTextAsks) {
    Builder b(kavo::Lang::English);
    int closed = 0;
    QObject::connect(b.form.get(), &TForm3::closed, [&closed] { ++closed; });
    b.setEdit("Edit5", u"7"_s);
    EXPECT_FALSE(b.form->holdsUnwrittenText()) << "the number alone is no work";
    b.fill();
    b.form->close();
    ASSERT_EQ(b.platform.questions().size(), 1);
    EXPECT_EQ(
        b.platform.questions()[0],
        u"The Edits builder holds text that is not written. Close the program and lose it?"_s);
    EXPECT_FALSE(b.platform.boxes[0].defaultYes);
    EXPECT_TRUE(b.form->isVisible());
    EXPECT_EQ(closed, 0);

    b.click("Button1");
    b.platform.clear();
    b.form->close();
    EXPECT_TRUE(b.platform.questions().isEmpty());
    EXPECT_EQ(closed, 1);
}

// The preview shows the task of the number typed, or the one saved last; a folder without a
// task says so.
TEST(Form3Window, PreviewOfTheWrittenTask) {
    Builder b(kavo::Lang::English);
    b.click("Button2");
    EXPECT_EQ(b.platform.informations(), QStringList{u"\nSpecify the number of the task"_s});
    b.fill(u"PartB\\4"_s);
    b.click("Button1");
    b.platform.clear();
    b.click("Button2");
    ASSERT_EQ(b.platform.openedUrls.size(), 1);
    EXPECT_TRUE(b.platform.openedUrls[0].endsWith(u"/buf.html"_s));
    EXPECT_NE(readBytes(b.dir.path() / "buf.html").find("condition 1"), std::string::npos);
    b.setEdit("Edit5", u"9"_s);
    b.click("Button2");
    EXPECT_EQ(b.platform.informations(),
              QStringList{u"\nNothing is written in the folder 9 yet: save the task first."_s});
    EXPECT_EQ(b.platform.openedUrls.size(), 1);
}
