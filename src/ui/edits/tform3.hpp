// SPDX-License-Identifier: MIT
#pragma once

#include "core/edits/edits_task.hpp"

#include "core/model/task.hpp"
#include "ui/common/guard.hpp"

#include <QMainWindow>
#include <filesystem>
#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace kavo::app {
class Platform;
}

// The Edits task builder: the second working window, built hidden on first use.
class TForm3 : public QMainWindow {
    Q_OBJECT
  public:
    // Takes what the program read at start: the interface language, the tag reminder
    // (program text) and the Edits templates. olympiad gives the main window's part sizes
    // and OutputDir at each save.
    TForm3(kavo::app::Platform& platform, const std::filesystem::path& programDir, kavo::Lang lang,
           const kavo::Text& toolkit, kavo::edits::EditsTemplates templates,
           std::function<kavo::model::Olympiad()> olympiad, QWidget* parent = nullptr);

    // True while a field holds text that no save has written: the form differs from what
    // the last save left (nothing) or the last reopen showed, and holds text beyond the
    // task number.
    bool holdsUnwrittenText() const;
    // Another window's unwritten text (the task form's): closing this window ends the program,
    // so it asks about that text too.
    void setUnwrittenElsewhere(std::function<bool()> check) {
        unwrittenElsewhere_ = std::move(check);
    }

  signals:
    void backToMainRequested();    // N1
    void authorisationRequested(); // Authorisation1
    void closed();                 // the window was closed: the program ends
    void taskWritten();            // a save wrote a task: the main window's marks change

  public slots:
    // Shows an Edits task read back, to change and save again; asks first while the form
    // holds unwritten text (No keeps it). False when the form kept its text.
    bool reopenTask(const kavo::model::Task& task);
    // Reads the description header again, after the author dialog rewrote it.
    void reloadHeaders();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private slots:
    void saveTask();                   // Button1
    void previewTask();                // Button2
    void removeCClicked(bool checked); // CheckBox1
    void removeDClicked(bool checked); // CheckBox2
    void greyRemovedQuestions();

  private:
    QString caption(const kavo::Message<>& message) const;
    void buildWidgets();
    void buildKeyboard();
    void describeWidgets();
    kavo::edits::EditsForm readForm() const;
    void showForm(const kavo::edits::EditsForm& form);
    // Offers the places of the olympiad in Edit5: the folder of every number of the parts,
    // then the other folders of the tree that hold a task; the typed text stays.
    void refreshPlaces();

    kavo::app::Platform& platform_;
    std::filesystem::path programDir_;
    kavo::Lang lang_;
    kavo::app::Guard guard_;
    kavo::edits::EditsTemplates templates_;
    std::function<kavo::model::Olympiad()> olympiad_;
    bool centred_ = false;
    std::function<bool()> unwrittenElsewhere_;
    kavo::edits::EditsForm shown_;    // what the fields held after the last save or reopen
    std::filesystem::path lastSaved_; // the folder of the last save (absolute), for the preview

    QPlainTextEdit* Memo1;
    QPlainTextEdit* Memo2;
    QPlainTextEdit* Memo3;
    QPlainTextEdit* Memo4;
    QPlainTextEdit* Memo5;
    QPlainTextEdit* Memo8;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    QComboBox* Edit5; // editable: a place of the olympiad, or any folder typed
    QLineEdit* Edit6;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QPushButton* Button1;
    QPushButton* Button2;
    QFrame* Panel1;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8;
    QLabel* Label9;
    QLabel* Label10;
    QLabel* Label11;
    QLabel* Label12;
    QLabel* Label13;
    QLabel* Label14;
    QLabel* Label15;
    QLabel* Label16;
    QMenu* Menu1;
    QAction* N1;
    QAction* Authorisation1;
};
