// SPDX-License-Identifier: MIT
#pragma once
// The olympiad overview: every task of the task tree in one table, and from a row the task
// form, the task code review or the browser preview.

#include "core/common/lang.hpp"
#include "core/olympiad/tree_overview.hpp"
#include "ui/common/guard.hpp"

#include <QIcon>
#include <QWidget>
#include <vector>

class QBoxLayout;
class QLabel;
class QPushButton;
class QTableWidget;
class TForm1;

namespace kavo::app {
// The mark of a task folder in the number lists and the overview: a kind of the form, an
// Edits task, one that cannot be read back, or nothing yet.
QIcon markIcon(const kavo::render::FolderState& state);
} // namespace kavo::app

class TOverview : public QWidget {
    Q_OBJECT
  public:
    explicit TOverview(TForm1& form1);

    // Reads the task tree of Form1 again into the table; the selected folder stays selected.
    void refresh();
    // The rows the table shows, in order.
    const std::vector<kavo::olympiad::OverviewRow>& rows() const { return rows_; }

    // Selects the row of the folder (relative to the task tree), when the table lists it.
    void selectFolder(const std::filesystem::path& folder);

    // The commands on the selected row.
    void openInForm();
    void openInReview();
    void preview();

    QLabel* Label1;
    QTableWidget* Table1;
    QLabel* Label2; // the tree and how many tasks it holds
    QPushButton *ButtonForm, *ButtonReview, *ButtonPreview, *ButtonRefresh, *ButtonCheck,
        *ButtonClose;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    const kavo::olympiad::OverviewRow* selected() const;
    void selectionChanged();
    void inform(const QString& text); // a box owned by the overview

    TForm1& form1_;
    kavo::Lang lang_;
    kavo::app::Guard guard_;
    std::vector<kavo::olympiad::OverviewRow> rows_;
    QBoxLayout* buttons_; // one row, or two on a narrow screen
    bool placed_ = false;
};
