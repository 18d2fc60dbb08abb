// SPDX-License-Identifier: MIT
#pragma once
// The report window of an olympiad file (its problems beside its text, and the Write
// button of a file without errors) and of an export (the tasks left out and what the
// format lost).

#include "core/common/lang.hpp"
#include "core/olympiad/problem.hpp"
#include "core/olympiad/tree_check.hpp"

#include <QDialog>
#include <optional>
#include <vector>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;

class TOlympiadReport : public QDialog {
    Q_OBJECT
  public:
    struct Line {
        QString text;
        std::optional<kavo::olympiad::SourcePos> pos; // where it lies in the file shown
        QString folder; // a check's row: the task folder, relative to the task tree
    };
    struct Section {
        QString caption; // with its mnemonic and count
        QString tip;
        std::vector<Line> lines;
    };
    struct Report {
        QString title;
        QString summary;
        Section first, second;         // errors and warnings; left out and lost
        std::optional<QString> source; // the file's text; none: no text pane
        bool canWrite = false;
    };

    TOlympiadReport(kavo::Lang lang, QWidget* parent);

    // Shows the report, replacing the one shown before.
    void showReport(const Report& report);

    // The problems of an olympiad file: errors first, warnings second, each "Line 3,
    // column 7: text" in the interface language.
    static Report importReport(const std::vector<kavo::olympiad::Problem>& problems,
                               kavo::Lang lang);
    // The check of a task tree: errors first, warnings second, each "PartB/4: text"; selecting
    // a row names its folder (folderSelected).
    static Report checkReport(const kavo::olympiad::TreeCheck& check,
                              const std::filesystem::path& tree, kavo::Lang lang);

    QLabel *Summary, *Label1, *Label2, *Label3;
    QListWidget *Errors, *Warnings;
    QPlainTextEdit* Source;
    QPushButton *Write, *Close;

  signals:
    void writeRequested();
    // A row of a check was selected: its task folder, relative to the task tree.
    void folderSelected(const QString& folder);

  private:
    void fill(QLabel* label, QListWidget* list, const Section& section);
    void showPlace(QListWidgetItem* item);
    void fitOnScreen();

    kavo::Lang lang_;
    QWidget* sourcePane_;
    QString sourceText_; // as shown: positions in it are positions in Source
};
