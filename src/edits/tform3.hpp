// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>
#include <filesystem>
#include <functional>

namespace kavo::app {
class Platform;
}

// The Edits task builder: the second working window, built hidden at start.
class TForm3 : public QMainWindow {
    Q_OBJECT
public:
    // Reads its language, tag reminder and templates; throws kavo::Error when one is missing.
    // outputDir gives the main window's OutputDir at each save.
    TForm3(kavo::app::Platform& platform, const std::filesystem::path& programDir,
           std::function<std::filesystem::path()> outputDir, QWidget* parent = nullptr);

signals:
    void backToMainRequested();    // N1
    void authorisationRequested(); // Authorisation1
    void closed();                 // the window was closed: the program ends

private:
    kavo::app::Platform& platform_;
    std::filesystem::path programDir_;
    std::function<std::filesystem::path()> outputDir_;
};
