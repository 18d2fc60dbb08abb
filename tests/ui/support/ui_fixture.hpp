// SPDX-License-Identifier: MIT
#pragma once
// A program started in a temporary working folder that holds a copy of the shipped
// System_folder, with a recording platform.

#include "app/program.hpp"
#include "support/test_support.hpp"
#include "ui/auth/tform2.hpp"
#include "ui/edits/tform3.hpp"
#include "ui/main/tform1.hpp"
#include "ui/support/recording_platform.hpp"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QWidget>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>

// Readable QString values in test failures.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace kavo::test {

// Changes the working directory for the life of the object.
class WorkingDirectory {
  public:
    explicit WorkingDirectory(const std::filesystem::path& dir)
        : saved_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir);
    }
    ~WorkingDirectory() { std::filesystem::current_path(saved_); }

  private:
    std::filesystem::path saved_;
};

// A QString of a UTF-8 literal.
inline QString u(const char* text) {
    return QString::fromUtf8(text);
}

// The text a caption shows: its mnemonic marks taken out.
inline QString shown(QString caption) {
    return caption.remove(u'&');
}

// Tag reminders with tags, leading spaces and Cyrillic (Windows-1251) text.
inline const std::string RussianToolkit = "  <b>\xE6\xE8\xF0\xED\xFB\xE9</b>\r\n<br>\r\n";
inline const std::string EnglishToolkit = "   <i>italic</i>\r\n&lt;sup&gt;\r\n";

struct UiFixture : ::testing::Test {
    TempDir dir;
    RecordingPlatform platform;
    std::unique_ptr<kavo::app::Program> program;

    std::filesystem::path systemFolder() const { return dir.path() / "System_folder"; }

    // A working folder with the shipped System_folder, the language file holding
    // languageText and the two tag reminders above.
    // Called again, it keeps the folder and sets the language file.
    void prepare(const std::string& languageText) {
        if (!std::filesystem::exists(systemFolder()))
            copySystemFolder(dir.path());
        writeBytes(systemFolder() / "Language" / "Language.txt", languageText);
        writeBytes(systemFolder() / "Language" / "Toolkit.txt", EnglishToolkit);
        writeBytes(systemFolder() / "file" / "Toolkit.txt", RussianToolkit);
    }

    // Starts the program in the working folder; returns what start() returned.
    bool start() {
        WorkingDirectory inside(dir.path());
        program = std::make_unique<kavo::app::Program>(platform);
        return program->start();
    }

    // prepare + start, asserting success.
    TForm1* started(const std::string& languageText = "Rus\r\n") {
        prepare(languageText);
        EXPECT_TRUE(start());
        EXPECT_TRUE(platform.boxes.empty());
        return program->form1();
    }

    TForm1* form1() const { return program->form1(); }
    // The dialog and the Edits builder, built the way their menu commands build them, then
    // hidden again.
    TForm2* form2() {
        if (!program->form2()) {
            trigger("Authorisation1");
            program->form2()->hide();
        }
        return program->form2();
    }
    TForm3* form3() {
        if (!program->form3()) {
            trigger("N4");
            program->form3()->hide();
            form1()->show();
        }
        return program->form3();
    }

    template <typename W> W* find(const char* name) const {
        W* widget = form1()->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    // A real click on a button, a menu command, or the item at row of a list.
    void click(const char* button) {
        QTest::mouseClick(find<QAbstractButton>(button), Qt::LeftButton);
    }
    void trigger(const char* action) { find<QAction>(action)->trigger(); }
    void clickRow(const char* listName, int row) {
        auto* list = find<QListWidget>(listName);
        list->scrollToItem(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualItemRect(list->item(row)).center());
    }
    // Types text into a field key by key; LF is the Return key. Unlike QTest::keyClicks,
    // any character of the Basic Multilingual Plane arrives as typed, Cyrillic included.
    void type(const char* name, const QString& text) {
        QWidget* field = find<QWidget>(name);
        for (const QChar c : text) {
            if (c == u'\n')
                QTest::keyClick(field, Qt::Key_Return);
            else
                QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
        }
    }

    void type(const char* name, const char* utf8) { type(name, QString::fromUtf8(utf8)); }

    // Types the three part sizes and presses Ok.
    void enterSizes(const char* a, const char* b, const char* c) {
        enterSizes(QString::fromUtf8(a), QString::fromUtf8(b), QString::fromUtf8(c));
    }
    void enterSizes(const QString& a, const QString& b, const QString& c) {
        const std::pair<const char*, QString> fields[] = {{"Edit2", a}, {"Edit3", b}, {"Edit4", c}};
        for (const auto& [name, text] : fields) {
            find<QLineEdit>(name)->clear();
            type(name, text);
        }
        click("Button2");
    }

    ~UiFixture() override {
        program.reset();
        QApplication::processEvents();
    }
};

// No window of the program is visible.
inline bool noWindowShown() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible())
            return false;
    return true;
}

} // namespace kavo::test
