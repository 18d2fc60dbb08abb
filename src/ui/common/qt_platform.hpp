// SPDX-License-Identifier: MIT
#pragma once

#include "ui/common/platform.hpp"

namespace kavo::app {

// The desktop: Qt message boxes, a folder chooser, QDesktopServices and QProcess.
class QtPlatform : public Platform {
  public:
    void information(QWidget* owner, const QString& text) override;
    void error(QWidget* owner, const QString& text) override;
    bool question(QWidget* owner, const QString& text) override;
    bool ask(QWidget* owner, const QString& text, bool defaultYes) override;
    std::optional<QString> chooseFile(QWidget* owner, FileMode mode, const QString& title,
                                      const QString& start, const QString& filter) override;
    std::optional<QString> chooseFolder(QWidget* owner, const QString& title,
                                        const QString& start) override;
    bool openUrl(const QString& url) override;
    bool restart(const QString& executable, const QString& workingDirectory) override;
};

} // namespace kavo::app
