// SPDX-License-Identifier: MIT
// The small commands of the main window: the window mirrors the logic of app/commands and
// review/preview and shows what it asks for.
#include "core/common/files.hpp"
#include "core/common/messages.hpp"
#include "core/common/tree_lock.hpp"
#include "core/review/part_sizes.hpp"
#include "core/review/preview.hpp"
#include "core/shell/commands.hpp"
#include "ui/common/click_label.hpp"
#include "ui/common/platform.hpp"
#include "ui/common/text_bridge.hpp"
#include "ui/main/tform1.hpp"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalBlocker>

namespace fs = std::filesystem;
using namespace kavo::app;

void TForm1::k1Click() {
    inform(fromText(aboutText(lang())));
}

void TForm1::information1Click() {
    inform(fromText(informationText(lang(), ProgramDir())));
}

void TForm1::N3Click() {
    if (!platform().question(this, text(kavo::msg::form1::resetQuestion, lang())))
        return;
    inform(fromText(resetSettings(lang(), ProgramDir())));
}

void TForm1::chooseFolder() {
    const auto chosen = chooseOutputFolder(
        lang(), OutputDir(), ProgramDir(),
        [this](const fs::path& start) -> std::optional<fs::path> {
            const auto answer = platform().chooseFolder(
                this, text(kavo::msg::form1::chooserTitle, lang()), fromPath(start));
            if (!answer)
                return std::nullopt;
            return toPath(*answer);
        },
        [this] { return platform().question(this, text(kavo::msg::shell::createFolder, lang())); });
    // The review's fields are emptied for another tree: unsaved edits are asked about first.
    if (chosen && *chosen != OutputDir() && !Memo2->isHidden() &&
        !reviewEditsMayGo(kavo::msg::review::loseOnFolderChange))
        return;
    if (chosen) {
        const auto tree = kavo::TreeLock::ifFree(*chosen);
        if (tree.held())
            kavo::recoverTree(*chosen);
    }
    setOutputDir(chosen ? *chosen : OutputDir());
}

void TForm1::openLink(int which) {
    const auto address = linkAddress(which);
    platform().openUrl(QString::fromLatin1(address.data(), static_cast<qsizetype>(address.size())));
}

void TForm1::checkBoxClick(int which) {
    if (which == 4) {
        if (CheckBox4->isChecked())
            Edit7->clear();
        return;
    }
    const RemoveBoxes end = coupleRemoveBoxes(
        {CheckBox1->isChecked(), CheckBox2->isChecked(), CheckBox3->isChecked()}, which);
    const std::pair<QCheckBox*, bool> boxes[] = {
        {CheckBox1, end.CheckBox1}, {CheckBox2, end.CheckBox2}, {CheckBox3, end.CheckBox3}};
    for (const auto& [box, checked] : boxes) {
        const QSignalBlocker quiet(box);
        box->setChecked(checked);
    }
    greyRemovedVariants();
}

void TForm1::greyRemovedVariants() {
    VariantOtveta_3->setEnabled(!CheckBox1->isChecked());
    VariantOtveta_4->setEnabled(!CheckBox2->isChecked());
    VariantOtveta_5->setEnabled(!CheckBox3->isChecked());
}

void TForm1::Timer1Timer() {
    CheckBox4->setChecked(defaultNames(Edit7->text().toStdString(), Edit8->text().toStdString()));
}

void TForm1::Button5Click() {
    const auto result = kavo::review::previewTask(
        {lang(), ProgramDir(), selectedRow(ListBox1), ListBox1->count(),
         [this](std::int64_t n) { return kavo::review::taskFolder(partSizes(), OutputDir(), n); }});
    if (!result.url.empty())
        platform().openUrl(QString::fromStdString(result.url));
    if (!result.message.empty())
        inform(fromText(result.message));
    selectRow(ListBox1, result.selected);
}
