// SPDX-License-Identifier: MIT
#pragma once
// The report window of an olympiad file (its problems beside its text, the questions left
// out with the numbers the others take, the choices for questions that do not fit as
// written, and the Write button of a file without errors) and of an export (the tasks left
// out and what the format lost).

#include "core/common/lang.hpp"
#include "core/olympiad/problem.hpp"
#include "core/olympiad/tree_check.hpp"

#include <QDialog>
#include <optional>
#include <vector>

class QCheckBox;
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
        Section first, second;          // errors and warnings; left out and lost
        std::optional<Section> leftOut; // an import: the questions no task can hold
        std::optional<Section> numbers; // and the numbers the tasks that fit take
        std::optional<QString> source;  // the file's text; none: no text pane
        bool canWrite = false;
        QString writeCaption; // empty: "Write tasks"
        // The choices of an import, shown when given, checked as given.
        std::optional<bool> firstAnswer, shuffle;
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

    QLabel *Summary, *Label1, *Label2, *Label3, *Label4, *Label5;
    QListWidget *Errors, *Warnings, *LeftOut, *Numbers;
    QPlainTextEdit* Source;
    QCheckBox *FirstAnswer, *Shuffle;
    QPushButton *Write, *Close;

  signals:
    void writeRequested();
    // The teacher changed a choice of the import: the file is to be read again with it.
    void choicesChanged(bool firstAnswer, bool shuffle);
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
