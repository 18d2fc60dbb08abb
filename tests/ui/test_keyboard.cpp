// SPDX-License-Identifier: MIT
// Every command without the mouse: mnemonics, shortcuts, the Tab order of each window, Tab
// out of multi-line fields, Enter and Escape in the author dialog.
#include "ui/common/text_bridge.hpp"
#include "ui/support/ui_fixture.hpp"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <map>

namespace fs = std::filesystem;
using namespace kavo::test;
using namespace Qt::Literals::StringLiterals;

namespace {

// The views of the windows a teacher works in.
enum class View { TaskForm, Review, Author, Edits };

struct Keyboard : UiFixture {
    // Shows the view and makes its window the active one; returns the window.
    QWidget* show(View view) {
        QWidget* window = form1();
        switch (view) {
        case View::TaskForm:
            break;
        case View::Review:
            trigger("N1");
            break;
        case View::Author:
            trigger("Authorisation1");
            window = program->form2();
            break;
        case View::Edits:
            trigger("N4");
            window = program->form3();
            break;
        }
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        return window;
    }
    // A key press on the focused widget; a shortcut clicks its button after a short delay.
    static void press(QWidget* window, QKeyCombination keys, int waitMs = 0) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window;
        QTest::keyClick(target, keys.key(), keys.keyboardModifiers());
        if (waitMs > 0)
            QTest::qWait(waitMs);
    }
};

const char* const Languages[] = {"En\r\n", "Rus\r\n"};
// A button's shortcut shows the press before it clicks.
constexpr int ShortcutDelayMs = 200;

} // namespace

// Alt and a letter reaches each menu of the bar and each button; no two share a letter.
TEST_F(Keyboard, MnemonicsAreUniqueInEveryView) {
    prepare("En\r\n");
    for (const char* language : Languages) {
        for (const View view : {View::TaskForm, View::Review, View::Author, View::Edits}) {
            SCOPED_TRACE(std::string(language) + " view " + std::to_string(int(view)));
            program.reset();
            writeBytes(systemFolder() / "Language" / "Language.txt", language);
            ASSERT_TRUE(start());
            QWidget* window = show(view);
            std::map<QKeySequence, QString> owners;
            const auto add = [&](const QString& caption, const QString& owner) {
                const QKeySequence key = QKeySequence::mnemonic(caption);
                EXPECT_FALSE(key.isEmpty()) << owner.toStdString();
                const auto [at, fresh] = owners.emplace(key, owner);
                EXPECT_TRUE(fresh) << owner.toStdString() << " and " << at->second.toStdString()
                                   << ": " << key.toString().toStdString();
            };
            if (auto* bar = window->findChild<QMenuBar*>())
                for (QAction* item : bar->actions())
                    add(item->text(), item->text());
            for (auto* button : window->findChildren<QPushButton*>())
                if (button->isVisible())
                    add(button->text(), button->objectName());
            for (auto* label : window->findChildren<QLabel*>()) {
                if (!label->isVisible() || !label->text().contains(u'&'))
                    continue;
                // Without a buddy the "&" would show as typed.
                EXPECT_NE(label->buddy(), nullptr) << label->objectName().toStdString();
                add(label->text(), label->objectName());
            }
        }
    }
}

// A label's mnemonic moves to the field it heads, in the layout shown.
TEST_F(Keyboard, LabelMnemonicsMoveToTheirFields) {
    struct Case {
        View view;
        const char* label;
        const char* field;
    };
    const Case cases[] = {{View::TaskForm, "Label2", "ListBox1"},
                          {View::Review, "Label2", "ListBox4"},
                          {View::TaskForm, "Label4", "Edit1"},
                          {View::Author, "Label1", "Edit1"},
                          {View::Edits, "Label14", "Edit5"}};
    prepare("Rus\r\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        program.reset();
        ASSERT_TRUE(start());
        QWidget* window = show(c.view);
        const QKeySequence key = QKeySequence::mnemonic(
            window->findChild<QLabel*>(QString::fromLatin1(c.label))->text());
        ASSERT_FALSE(key.isEmpty());
        // Sent with its text: the keyboard of the test has no Cyrillic keys.
        const QKeyCombination combination = key[0];
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window;
        QTest::sendKeyEvent(QTest::Click, target, combination.key(),
                            QString(QChar(combination.key())).toLower(),
                            combination.keyboardModifiers());
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), QString::fromLatin1(c.field));
    }
}

TEST_F(Keyboard, ShortcutsRunTheirCommands) {
    struct Case {
        View view;
        QKeyCombination keys;
        QStringList boxes; // the information boxes the command shows
    };
    const Case cases[] = {
        {View::TaskForm,
         Qt::CTRL | Qt::Key_S,
         {u"Select the task number you want to add!\nIs there a picture in the task?\nEnter the "
          u"correct answer!\nFold answers?\nEnter the condition of the task!"_s}},
        {View::TaskForm, Qt::CTRL | Qt::Key_P, {u"\nSelect the task number!"_s}},
        {View::TaskForm, Qt::ALT | Qt::Key_O, {u"\nMax number of tasks is 99!"_s}},
        {View::Review, Qt::ALT | Qt::Key_K, {u"\nSelect the task number!"_s}},
        {View::Edits, Qt::CTRL | Qt::Key_S, {u"\nSpecify the number of the task"_s}},
    };
    prepare("En\r\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(QKeySequence(c.keys).toString().toStdString());
        program.reset();
        ASSERT_TRUE(start());
        find<QLineEdit>("Edit2")->setText(u"100"_s);
        QWidget* window = show(c.view);
        platform.clear();
        press(window, c.keys, ShortcutDelayMs);
        EXPECT_EQ(platform.informations(), c.boxes);
    }

    // Ctrl+S in the review layout is Save changes: with no number selected it selects the first.
    program.reset();
    ASSERT_TRUE(start());
    enterSizes("3", "0", "0");
    QWidget* window = show(View::Review);
    press(window, Qt::CTRL | Qt::Key_S, ShortcutDelayMs);
    EXPECT_EQ(kavo::app::selectedRow(find<QListWidget>("ListBox4")), 0);
    EXPECT_FALSE(fs::exists(dir.path() / "Year"));
}

TEST_F(Keyboard, EnterSavesAndEscapeClosesTheAuthorDialog) {
    struct Case {
        QKeyCombination keys;
        const char* focus; // the widget that has the focus
        bool saved;
    };
    const Case cases[] = {{Qt::Key_Return, "Edit1", true},
                          {Qt::Key_Enter, "Button1", true},
                          {Qt::Key_Return, "Button2", false},
                          {Qt::Key_Escape, "Edit1", false}};
    prepare("En\r\n");
    const auto header = systemFolder() / "file" / "task_xml.txt";
    for (const Case& c : cases) {
        const std::string line = std::string("Author with focus on ") + c.focus;
        SCOPED_TRACE(line + " " + QKeySequence(c.keys).toString().toStdString());
        program.reset();
        ASSERT_TRUE(start());
        QWidget* dialog = show(View::Author);
        dialog->findChild<QLineEdit*>(u"Edit1"_s)->setText(QString::fromStdString(line));
        dialog->findChild<QWidget*>(QString::fromLatin1(c.focus))->setFocus();
        press(dialog, c.keys);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(readBytes(header).find(line) != std::string::npos, c.saved);
    }
}

// Tab visits the controls in reading order, the number list right after the part sizes and
// their Ok, leaves multi-line fields without typing a tab, and comes round to the first
// again. The main window opens in the first size field.
TEST_F(Keyboard, TabOrderOfEveryView) {
    struct Case {
        View view;
        bool opensThere; // the window opens with the focus on the first of order
        QStringList order;
    };
    const QStringList links = {u"Label19"_s, u"Label17"_s, u"Label15"_s, u"Label16"_s,
                               u"Label14"_s};
    const QStringList sizes = {u"Edit2"_s, u"Edit3"_s, u"Edit4"_s, u"Button2"_s};
    const Case cases[] = {
        {View::TaskForm, true,
         sizes +
             QStringList{u"ListBox1"_s, u"VariantOtveta_1"_s, u"VariantOtveta_2"_s,
                         u"VariantOtveta_3"_s, u"CheckBox1"_s, u"VariantOtveta_4"_s, u"CheckBox2"_s,
                         u"VariantOtveta_5"_s, u"CheckBox3"_s, u"Edit1"_s, u"ListBox3"_s,
                         u"Toolkit"_s, u"Button1"_s, u"Button5"_s} +
             links +
             QStringList{u"Memo1"_s, u"ListBox2"_s, u"CheckBox4"_s, u"Edit7"_s, u"Edit8"_s}},
        {View::Review, false,
         sizes +
             QStringList{u"ListBox4"_s, u"Toolkit"_s, u"Button6"_s, u"Button8"_s, u"Button7"_s,
                         u"Button10"_s} +
             links + QStringList{u"Memo2"_s, u"Memo3"_s, u"Memo4"_s}},
        {View::Author, true, {u"Edit1"_s, u"Button1"_s, u"Button2"_s}},
        {View::Edits,
         false,
         {u"Memo1"_s, u"Memo2"_s, u"Edit1"_s, u"Memo3"_s, u"Edit2"_s, u"Memo4"_s, u"Edit3"_s,
          u"CheckBox1"_s, u"Memo5"_s, u"Edit4"_s, u"CheckBox2"_s, u"Memo8"_s, u"Edit6"_s,
          u"Edit5"_s, u"Button1"_s, u"Button2"_s}},
    };
    prepare("Rus\r\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.view));
        program.reset();
        ASSERT_TRUE(start());
        QWidget* window = show(c.view);
        if (c.opensThere) {
            ASSERT_NE(QApplication::focusWidget(), nullptr);
            EXPECT_EQ(QApplication::focusWidget()->objectName(), c.order.front());
        }
        window->findChild<QWidget*>(c.order.front())->setFocus();
        QStringList visited;
        for (qsizetype i = 0; i <= c.order.size(); ++i) {
            visited << QApplication::focusWidget()->objectName();
            press(window, Qt::Key_Tab);
        }
        EXPECT_EQ(visited, c.order + QStringList{c.order.front()});
        for (auto* memo : window->findChildren<QPlainTextEdit*>())
            EXPECT_FALSE(memo->toPlainText().contains(u'\t')) << memo->objectName().toStdString();
    }
}
