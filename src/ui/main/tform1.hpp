// SPDX-License-Identifier: MIT
#pragma once

#include "core/common/lang.hpp"
#include "core/common/text.hpp"
#include "core/model/task.hpp"
#include "core/render/task_state.hpp"
#include "core/review/part_sizes.hpp"
#include "core/review/task_review.hpp"
#include "ui/common/guard.hpp"

#include <QMainWindow>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

class QAbstractButton;
class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QActionGroup;
class QRadioButton;
class QTimer;
class TOlympiadReport;
namespace kavo::olympiad {
struct TreeCheck;
}
class TOverview;

namespace kavo::app {
class ClickLabel;
class Platform;
} // namespace kavo::app

namespace kavo::olympiad {
enum class ExportFormat;
struct OlympiadImport;
struct ImportOptions;
} // namespace kavo::olympiad

// The main window: the task form layout and the task code review layout. Widgets carry
// their form names as member and objectName. The window reads its widgets into records,
// runs the logic and mirrors the result back.
class TForm1 : public QMainWindow {
    Q_OBJECT
  public:
    // The client area a Windows frame of 888 x 706 leaves below the menu bar.
    static constexpr int ClientWidth = 872;
    static constexpr int ClientHeight = 648;

    // Builds the window in its start state, in the interface language, showing the tag
    // reminder (program text) that the program read at start.
    TForm1(kavo::app::Platform& platform, const std::filesystem::path& programDir, kavo::Lang lang,
           const kavo::Text& toolkit, QWidget* parent = nullptr);
    ~TForm1() override;

    kavo::app::Platform& platform() const { return platform_; }
    kavo::Lang lang() const { return lang_; }
    const std::filesystem::path& ProgramDir() const { return programDir_; }
    const std::filesystem::path& OutputDir() const { return outputDir_; }
    // Sets OutputDir and shows it in Label19.
    void setOutputDir(const std::filesystem::path& dir);
    const kavo::review::PartSizes& partSizes() const { return sizes_; }
    // The client area of the designed size; it scrolls where the screen is too small for it.
    QWidget* client() const { return client_; }

    // An information box owned by this window.
    void inform(const QString& text);
    // Sets a label's caption and sizes the label to it.
    static void setCaption(QLabel* label, const QString& text);
    // Sets a button's caption; it keeps its design width unless the caption needs more.
    static void setCaption(QAbstractButton* button, const QString& text);

    // Ok, Add task, the layouts, Open task, Save changes, the language switch. Ok is false
    // when the sizes were refused or not kept.
    bool Button2Click();
    void Button1Click();
    void N1Click();
    void N2Click(); // Back (Button7) does the same
    void Button8Click();
    void Button6Click();
    void switchLanguage(bool english);

    // The small commands (their bodies live in tform1_commands.cpp).
    void k1Click();
    void information1Click();
    void N3Click();
    void chooseFolder();
    void openLink(int which);      // 14 .. 17: Label14 .. Label17
    void checkBoxClick(int which); // 1 .. 4: CheckBox1 .. CheckBox4, on every change
    void Timer1Timer();
    void Button5Click();

    // The picture of the task (tform1_picture.cpp): Button9 chooses a JPEG or PNG file,
    // kept as JPEG bytes for the next Add task. Picture "No" (the reset after a written task
    // selects it) forgets the choice; forgetPicture does the same for a form filled anew.
    void Button9Click();
    void forgetPicture();
    const std::optional<std::string>& chosenPicture() const { return picture_; }

    // The olympiad the window shows: the marks of the number lists (tform1_marks.cpp).
    // Reads every task folder of the lists again and marks each number with what it holds.
    void refreshMarks();
    // The first row after `afterRow` of ListBox1 whose task folder holds no task; none when
    // every later number holds one.
    std::optional<int> nextUnwrittenRow(int afterRow) const;
    // Shows the olympiad overview (Overview1), its rows read anew.
    void showOverview();
    // The task folders as last read: the marks and the overview read only what changed.
    kavo::render::StateCache& folderStates() { return states_; }

    // Opens a written task (folder relative to OutputDir) in the task form, or in the Edits
    // builder for an Edits task; a package that does not read back opens in the code review
    // with the reason (tform1_reopen.cpp).
    void reopenTask(const std::filesystem::path& folder);
    // Edit in the form (Button10, review layout): reopens the task of the number selected in
    // ListBox4.
    void Button10Click();

    // True while the task form holds text (condition, variants, answer, names) typed since
    // the last write or the start; closing and the language switch ask before losing it.
    bool holdsUnwrittenText() const;
    // The task form's text counts as written (after a write, or a task opened back into it).
    void markFormWritten();
    // Another window's unwritten text (the Edits builder's), asked about the same way.
    void setUnwrittenElsewhere(std::function<bool()> check);
    // The olympiad menu (tform1_olympiad.cpp). Import olympiad: a GIFT file checked whole
    // and shown in the report window, whose Write button writes it into the task tree.
    // Export olympiad: the task tree read back and written out in the format.
    void importOlympiad();
    // The import of a file named on the command line: the report the menu shows for it, or
    // the same error box when the file cannot be read.
    void openOlympiadFile(const std::filesystem::path& file);
    void exportOlympiad(kavo::olympiad::ExportFormat format);
    // Check olympiad (CheckOlympiad1, the overview's button): the whole task tree checked and
    // shown in the report window; selecting a row selects its task in the overview.
    void checkOlympiad();
    TOlympiadReport* olympiadReport() const { return olympiadReport_; }

    // Menu
    QMenu* Menu1;
    QAction *N2, *N4, *N1, *N3, *Overview1, *CheckOlympiad1, *k1, *Authorisation1, *information1;
    QAction* ImportOlympiad1;
    QMenu* ExportOlympiad1;
    QAction *ExportGift1, *ExportMoodle1, *ExportQti1;
    QMenu* Language1;
    QAction *Russian1, *English1;
    QActionGroup* languages; // shows the current language

    // Task form layout
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8, *Label9,
        *Label10, *Label18, *Label20;
    QLabel *A, *B, *C, *D, *E;
    QPlainTextEdit* Memo1;
    QListWidget *ListBox1, *ListBox2, *ListBox3;
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit7, *Edit8;
    QLineEdit *VariantOtveta_1, *VariantOtveta_2, *VariantOtveta_3, *VariantOtveta_4,
        *VariantOtveta_5;
    QCheckBox *CheckBox1, *CheckBox2, *CheckBox3, *CheckBox4;
    QGroupBox *GroupBox1, *RadioGroup1;
    QRadioButton *RadioButton1, *RadioButton2;
    QPlainTextEdit* Toolkit;
    QPushButton *Button1, *Button2, *Button5, *Button9;
    QLabel* Label21; // the name of the picture chosen with Button9
    kavo::app::ClickLabel *Image1, *Label19, *Label14, *Label15, *Label16, *Label17;

    // Task code review layout
    QPushButton *Button6, *Button7, *Button8, *Button10;
    QListWidget* ListBox4;
    QLabel *Label11, *Label12, *Label13;
    QPlainTextEdit *Memo2, *Memo3, *Memo4;

    QTimer* Timer1;

  signals:
    void editsRequested();         // N4
    void authorisationRequested(); // Authorisation1, or Add task found no author details
    void partSizesConfirmed();     // Ok is about to refill the lists (closes Form2)
    void closed();                 // the window was closed: the program ends
    // An Edits task read back, for the Edits builder to show.
    void editsReopenRequested(const kavo::model::Task& task);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // The marks are read again whenever the window becomes active.
    void changeEvent(QEvent* event) override;

  private:
    QString caption(const kavo::Message<>& message) const;
    void buildMenu();
    void buildWidgets();
    void buildKeyboard();
    void describeWidgets();
    void greyRemovedVariants();
    void connectHandlers();
    void fillNumberLists(std::int64_t count);
    void showTaskFormWidgets(bool taskForm);
    void trackUnwrittenText();
    // False when text not yet written would be lost and the teacher answers No (the default).
    bool confirmLosingText(const kavo::Message<>& question);
    void connectPicture();
    void pictureAnswerChanged();
    void buildOlympiadMenu();
    TOlympiadReport* reportWindow();
    void importOlympiadFile(const std::filesystem::path& file);
    void writeImported(const kavo::olympiad::OlympiadImport& import);
    // Reads the olympiad file with the teacher's choices and shows its report.
    void showImport(const std::filesystem::path& file,
                    const kavo::olympiad::ImportOptions& options);
    // The size fields and the lists for the task tree (review::sizesForTree): sizes found in
    // a tree that the last Ok contradicts go into the fields, said in the status bar, and the
    // lists wait for Ok; sizes of the last Ok that fit the tree stay, lists included.
    void followTreeSizes();
    // Empties the review fields and forgets the task they held.
    void emptyReview();
    // The report of a check; `before` stands above its summary.
    void showCheck(const kavo::olympiad::TreeCheck& check, const QString& before = {});
    void buildReopen(); // Button10 (tform1_reopen.cpp)
    // True when the review fields hold no unsaved edits, or the teacher lets them go.
    bool reviewEditsMayGo(const kavo::Message<>& question);

    kavo::app::Platform& platform_;
    kavo::Lang lang_;
    kavo::app::Guard guard_;
    std::filesystem::path programDir_;
    std::filesystem::path outputDir_;
    kavo::review::PartSizes sizes_;
    // The sizes of the last Ok that filled the lists; none while Ok has not filled them.
    std::optional<kavo::model::PartSizes> lastOk_;
    kavo::review::ReviewState review_;
    QWidget* client_ = nullptr;
    TOlympiadReport* olympiadReport_ = nullptr;
    bool centred_ = false;
    bool formEdited_ = false;     // the task form's texts changed since the last write
    bool closeConfirmed_ = false; // the language switch asked already: close without asking
    std::function<bool()> unwrittenElsewhere_;
    std::optional<std::string> picture_; // JPEG bytes chosen with Button9
    QString pictureFolder_;              // where the picture chooser opens
    TOverview* overview_ = nullptr;
    kavo::render::StateCache states_;
};
