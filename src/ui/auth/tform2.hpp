// SPDX-License-Identifier: MIT
#pragma once

#include "core/common/lang.hpp"
#include "ui/common/guard.hpp"

#include <QWidget>
#include <filesystem>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kavo::app {
class Platform;
}

// The author details dialog: built hidden on first use, shown non-modally and on top.
class TForm2 : public QWidget {
    Q_OBJECT
  public:
    TForm2(kavo::app::Platform& platform, const std::filesystem::path& programDir, kavo::Lang lang,
           QWidget* parent = nullptr);

    // Shows the dialog without waiting for it.
    void showDialog();

  signals:
    // Save rewrote the description headers (the Edits builder reloads them).
    void authorSaved();

  protected:
    // Enter saves (or presses the focused button), Escape closes.
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private slots:
    void save();   // Button1
    void cancel(); // Button2

  private:
    std::filesystem::path programDir_;
    kavo::Lang lang_;
    kavo::app::Guard guard_;
    bool placed_ = false;

    QLabel* Label1;
    QLabel* Label2;
    QLineEdit* Edit1;
    QPushButton* Button1;
    QPushButton* Button2;
};
