// SPDX-License-Identifier: MIT
#pragma once

#include "core/edits/edits_task.hpp"

#include "core/model/task.hpp"

#include <QMainWindow>
#include <filesystem>
#include <functional>

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;

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
           std::function<kavo::model::Olympiad()> olympiad, QWidget* parent = nullptr);

  signals:
    void backToMainRequested();    // N1
    void authorisationRequested(); // Authorisation1
    void closed();                 // the window was closed: the program ends

  public slots:
    // Reads the description header again, after the author dialog rewrote it.
    void reloadHeaders();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private slots:
    void saveTask();                   // Button1
    void removeCClicked(bool checked); // CheckBox1
    void removeDClicked(bool checked); // CheckBox2

  private:
    void buildWidgets();
    void applyEnglish();
    kavo::edits::EditsForm readForm() const;
    void showForm(const kavo::edits::EditsForm& form);

    kavo::app::Platform& platform_;
    std::filesystem::path programDir_;
    std::function<kavo::model::Olympiad()> olympiad_;
    kavo::edits::EditsTemplates templates_;
    kavo::Lang lang_ = kavo::Lang::Russian;

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
    QLineEdit* Edit5;
    QLineEdit* Edit6;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QPushButton* Button1;
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
