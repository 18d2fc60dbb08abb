// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace kavo::app {

// Everything the windows ask of the desktop. Production shows real boxes and dialogs;
// GUI tests pass a recorder that answers at once and remembers what it was asked.
class Platform {
  public:
    virtual ~Platform() = default;

    // Modal box with the program's name "Kavo Program" as title and one OK button; Qt's
    // own texts in the interface language.
    virtual void information(QWidget* owner, const QString& text) = 0;
    virtual void error(QWidget* owner, const QString& text) = 0;
    // Modal question with Yes and No; true for Yes.
    virtual bool question(QWidget* owner, const QString& text) = 0;
    // The same question with the given default button (the one Enter presses): a question
    // that may lose or replace work defaults to No.
    virtual bool ask(QWidget* owner, const QString& text, bool defaultYes) = 0;
    // A folder chooser that accepts a typed folder that does not exist yet; none on Cancel.
    virtual std::optional<QString> chooseFolder(QWidget* owner, const QString& title,
                                                const QString& start) = 0;
    // A file chooser: an existing file to open, or a file to save (the chooser asks before
    // overwriting one). filter is a Qt name filter ("GIFT (*.gift *.txt)"); none on Cancel.
    enum class FileMode { Open, Save };
    virtual std::optional<QString> chooseFile(QWidget* owner, FileMode mode, const QString& title,
                                              const QString& start, const QString& filter) = 0;
    // The desktop's "open" of a web address or a file URL; false when nothing could open it.
    virtual bool openUrl(const QString& url) = 0;
    // Starts the program anew (absolute executable path, no arguments, that working
    // directory); false when it could not start.
    virtual bool restart(const QString& executable, const QString& workingDirectory) = 0;
};

} // namespace kavo::app
