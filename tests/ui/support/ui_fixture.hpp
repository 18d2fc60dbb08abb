// SPDX-License-Identifier: MIT
#pragma once
// A program started in a temporary working folder that holds a copy of the shipped
// System_folder, with a recording platform.

#include "app/program.hpp"
#include "app/tform1.hpp"
#include "support/test_support.hpp"
#include "ui/support/recording_platform.hpp"

#include <QApplication>
#include <QWidget>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>

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
    void prepare(const std::string& languageText) {
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

    template <typename W> W* find(const char* name) const {
        W* widget = form1()->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
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
