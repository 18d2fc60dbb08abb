// SPDX-License-Identifier: MIT
// A written task opened back into the task form or the Edits builder.
#include "core/common/messages.hpp"
#include "core/render/read_back.hpp"
#include "core/render/task_state.hpp"
#include "core/tasks/task_form.hpp"
#include "ui/common/platform.hpp"
#include "ui/common/text_bridge.hpp"
#include "ui/common/widget_help.hpp"
#include "ui/main/tform1.hpp"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextDocument>
#include <algorithm>

namespace fs = std::filesystem;
using namespace kavo::app;
using namespace Qt::Literals::StringLiterals;
namespace msg = kavo::msg;

namespace {

// A report of the logic without the line break that stands it under other messages.
std::string bare(std::string report) {
    if (report.starts_with('\n'))
        report.erase(0, 1);
    return report;
}

} // namespace

void TForm1::buildReopen() {
    Button10 = new QPushButton(client_);
    Button10->setObjectName(u"Button10"_s);
    Button10->setProperty("designWidth", 121);
    Button10->setGeometry(440, 520, 121, 33);
    setCaption(Button10, text(msg::form1::Button10, lang_));
    describe(Button10, text(msg::form1::tip::Button10, lang_), shownCaption(Button10->text()));
    Button10->raise();
    Button10->hide();
    QWidget::setTabOrder(Button7, Button10);
    guard_.connect(Button10, &QPushButton::clicked, [this] { Button10Click(); });
}

bool TForm1::reviewEditsMayGo(const kavo::Message<>& question) {
    QPlainTextEdit* const fields[] = {Memo2, Memo3, Memo4};
    const bool changed =
        std::any_of(std::begin(fields), std::end(fields),
                    [](QPlainTextEdit* memo) { return memo->document()->isModified(); });
    return !changed || platform_.ask(this, text(question, lang_), false);
}

void TForm1::Button10Click() {
    const auto row = selectedRow(ListBox4);
    if (!row) {
        inform(text(msg::review::selectNumber, lang_));
        return;
    }
    const auto place = kavo::review::olympiadOf(sizes_, outputDir_).place(*row + 1);
    if (!place) {
        inform(text(msg::review::cannotOpenTask, lang_));
        return;
    }
    if (!reviewEditsMayGo(msg::reopen::loseReviewChanges))
        return;
    reopenTask(place->folder);
}

void TForm1::reopenTask(const fs::path& folder) {
    guard_.run([&] {
        const kavo::model::Olympiad olympiad = kavo::review::olympiadOf(sizes_, outputDir_);
        const fs::path relative =
            (folder.is_absolute() ? folder.lexically_relative(outputDir_) : folder)
                .lexically_normal();
        const std::string where = relative.generic_string();
        if (!kavo::render::holdsPackageFile(outputDir_ / relative)) {
            inform(text(msg::reopen::nothingWritten, lang_, {where}));
            return;
        }
        // The number of the lists whose folder this is, by the stored part sizes.
        std::optional<int> number;
        for (int n = 1; n <= ListBox1->count() && !number; ++n)
            if (const auto place = olympiad.place(n); place && place->folder == relative)
                number = n;

        const auto templates = kavo::render::TemplateSet::load(programDir_ / "System_folder");
        const kavo::render::ReadResult read =
            kavo::render::readAnyTask(templates, olympiad, relative, number);
        const auto reopened = kavo::render::taskToReopen(read);
        if (!reopened) {
            const std::string reason = bare(read.report(lang_));
            if (!number) {
                inform(text(msg::reopen::cannotOpen, lang_, {where, reason}));
                return;
            }
            // Already open there (Edit in the form on it): the fields keep what they hold.
            if (ListBox4->isHidden() || review_.openedNumber != *number) {
                if (!reviewEditsMayGo(msg::reopen::reviewReplaced))
                    return;
                N1Click();
                selectRow(ListBox4, *number - 1);
                Button8Click();
            }
            inform(text(msg::reopen::inReview, lang_, {where, reason}));
            return;
        }

        const kavo::model::Task& task = *reopened;
        if (task.kind == kavo::model::TaskKind::Edits) {
            emit editsReopenRequested(task);
            return;
        }
        if (!number) {
            inform(text(msg::reopen::notInLists, lang_, {where}));
            return;
        }
        if (holdsUnwrittenText() &&
            !platform_.ask(this, text(msg::reopen::replaceTaskForm, lang_, {where}), false))
            return;

        kavo::tasks::TaskForm base = kavo::tasks::makeStartForm();
        for (int i = 0; i < ListBox1->count(); ++i)
            base.ListBox1.items.push_back(toPageText(ListBox1->item(i)->text()));
        const kavo::tasks::TaskForm form = kavo::tasks::taskFormOf(task, base);

        N2Click();
        forgetPicture(); // the folder keeps its picture unless another is chosen
        selectRow(ListBox1, form.ListBox1.selected);
        selectRow(ListBox2, form.ListBox2.selected);
        selectRow(ListBox3, form.ListBox3.selected);
        Memo1->setPlainText(fromText(form.Memo1));
        const std::pair<QLineEdit*, const kavo::Text*> fields[] = {
            {VariantOtveta_1, &form.VariantOtveta_1}, {VariantOtveta_2, &form.VariantOtveta_2},
            {VariantOtveta_3, &form.VariantOtveta_3}, {VariantOtveta_4, &form.VariantOtveta_4},
            {VariantOtveta_5, &form.VariantOtveta_5}, {Edit1, &form.Edit1}};
        for (const auto& [edit, value] : fields)
            edit->setText(fromText(*value));
        // The removed variants as written, even a set the coupled boxes would not make.
        const std::pair<QCheckBox*, bool> boxes[] = {
            {CheckBox1, form.CheckBox1}, {CheckBox2, form.CheckBox2}, {CheckBox3, form.CheckBox3}};
        for (const auto& [box, checked] : boxes) {
            const QSignalBlocker quiet(box);
            box->setChecked(checked);
        }
        greyRemovedVariants();
        // Default names clear the Russian name: the box first, the names after it.
        CheckBox4->setChecked(form.CheckBox4);
        Edit7->setText(fromText(form.Edit7));
        Edit8->setText(fromText(form.Edit8));
        markFormWritten(); // what was written is no text to lose
        if (read.written.authorLineDiffers)
            inform(fromReport(read.report(lang_)));
    });
}
