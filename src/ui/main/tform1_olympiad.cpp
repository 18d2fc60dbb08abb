// SPDX-License-Identifier: MIT
// The olympiad menu of the main window: a GIFT or Moodle XML file checked whole, reported
// (with the questions no task can hold left out) and written into the task tree; the task
// tree read back and exported for another system.
#include "core/auth/author.hpp"
#include "core/common/error.hpp"
#include "core/common/messages.hpp"
#include "core/olympiad/export.hpp"
#include "core/olympiad/olympiad_write.hpp"
#include "core/olympiad/source_text.hpp"
#include "core/olympiad/tree_check.hpp"
#include "core/olympiad/tree_read.hpp"
#include "core/render/task_state.hpp"
#include "ui/common/platform.hpp"
#include "ui/common/text_bridge.hpp"
#include "ui/main/olympiad_report.hpp"
#include "ui/main/overview.hpp"
#include "ui/main/tform1.hpp"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QProgressDialog>
#include <memory>

namespace fs = std::filesystem;
namespace olympiad = kavo::olympiad;
namespace render = kavo::render;
namespace m = kavo::msg::form1::olympiad;
using namespace kavo::app;
using namespace Qt::Literals::StringLiterals;
using olympiad::ExportFormat;

namespace {

std::string utf8(const fs::path& path) {
    return fromPath(path).toStdString();
}

// The file's text as the reader decoded it, where its places are counted; none for a
// file that is not shown as text (too large, binary).
std::optional<QString> sourceOf(const fs::path& file) {
    std::vector<olympiad::Problem> ignored;
    try {
        if (const auto source = olympiad::readSource(file, ignored))
            return QString::fromStdString(source->text());
    } catch (const kavo::Error&) {
    }
    return std::nullopt;
}

struct FormatFile {
    const kavo::Message<>& title;
    const kavo::Message<>& filter;
    const char* extension;
};

// Where the export goes: a file for GIFT and Moodle XML, a folder for the QTI package.
// None when the teacher cancels or declines to replace.
std::optional<fs::path> exportTarget(TForm1& form, ExportFormat format) {
    const kavo::Lang lang = form.lang();
    if (format == ExportFormat::Qti) {
        const auto folder = form.platform().chooseFolder(&form, text(m::exportQtiTitle, lang),
                                                         fromPath(form.ProgramDir()));
        if (!folder)
            return std::nullopt;
        const fs::path out = toPath(*folder);
        std::error_code ec;
        if (fs::is_directory(out, ec) && !fs::is_empty(out, ec) &&
            !form.platform().ask(&form, text(m::folderNotEmpty, lang, {utf8(out)}), false))
            return std::nullopt;
        return out;
    }
    const FormatFile file = format == ExportFormat::Gift
                                ? FormatFile{m::exportGiftTitle, m::giftFilter, ".gift"}
                                : FormatFile{m::exportMoodleTitle, m::moodleFilter, ".xml"};
    fs::path start = form.ProgramDir() / form.OutputDir().filename();
    start += file.extension;
    const auto chosen =
        form.platform().chooseFile(&form, Platform::FileMode::Save, text(file.title, lang),
                                   fromPath(start), text(file.filter, lang));
    if (!chosen)
        return std::nullopt;
    fs::path out = toPath(*chosen);
    // The chooser asked about the name as typed; a name given its extension here is asked
    // about again.
    if (out.extension().empty()) {
        out += file.extension;
        std::error_code ec;
        if (fs::exists(out, ec) &&
            !form.platform().ask(&form, text(m::fileExists, lang, {utf8(out)}), false))
            return std::nullopt;
    }
    return out;
}

TOlympiadReport::Section section(const kavo::Message<1>& caption, const QString& tip,
                                 std::vector<TOlympiadReport::Line> lines, kavo::Lang lang) {
    return {text(caption, lang, {std::to_string(lines.size())}), tip, std::move(lines)};
}

} // namespace

void TForm1::buildOlympiadMenu() {
    const auto made = [this](const char* name, const kavo::Message<>& caption,
                             const kavo::Message<>& tip) {
        auto* item = new QAction(this->caption(caption), this);
        item->setObjectName(QString::fromLatin1(name));
        item->setToolTip(this->caption(tip));
        return item;
    };
    ImportOlympiad1 = made("ImportOlympiad1", m::ImportOlympiad1, m::tip::ImportOlympiad1);
    ExportGift1 = made("ExportGift1", m::ExportGift1, m::tip::ExportGift1);
    ExportMoodle1 = made("ExportMoodle1", m::ExportMoodle1, m::tip::ExportMoodle1);
    ExportQti1 = made("ExportQti1", m::ExportQti1, m::tip::ExportQti1);
    ExportOlympiad1 = new QMenu(caption(m::ExportOlympiad1), Menu1);
    ExportOlympiad1->setObjectName(u"ExportOlympiad1"_s);
    ExportOlympiad1->menuAction()->setToolTip(caption(m::tip::ExportOlympiad1));
    ExportOlympiad1->addActions({ExportGift1, ExportMoodle1, ExportQti1});
    for (QMenu* menu : {Menu1, ExportOlympiad1})
        menu->setToolTipsVisible(true);

    // Between the task commands and Reset settings.
    Menu1->insertSeparator(N3);
    Menu1->insertAction(N3, ImportOlympiad1);
    Menu1->insertMenu(N3, ExportOlympiad1);
    Menu1->insertSeparator(N3);

    guard_.connect(ImportOlympiad1, &QAction::triggered, [this] { importOlympiad(); });
    const std::pair<QAction*, ExportFormat> exports[] = {{ExportGift1, ExportFormat::Gift},
                                                         {ExportMoodle1, ExportFormat::MoodleXml},
                                                         {ExportQti1, ExportFormat::Qti}};
    for (const auto& [item, format] : exports)
        guard_.connect(item, &QAction::triggered, [this, format] { exportOlympiad(format); });
}

TOlympiadReport* TForm1::reportWindow() {
    if (!olympiadReport_) {
        olympiadReport_ = new TOlympiadReport(lang_, this);
        // Form1 waits while the report is open: what it reports is what Write writes.
        olympiadReport_->setWindowModality(Qt::WindowModal);
    }
    return olympiadReport_;
}

void TForm1::importOlympiad() {
    const auto chosen =
        platform_.chooseFile(this, Platform::FileMode::Open, caption(m::importTitle),
                             fromPath(programDir_), caption(m::importFilter));
    if (chosen)
        importOlympiadFile(toPath(*chosen));
}

void TForm1::openOlympiadFile(const fs::path& file) {
    guard_.run([this, file] { importOlympiadFile(file); });
}

void TForm1::importOlympiadFile(const fs::path& file) {
    showImport(file, {});
}

void TForm1::showImport(const fs::path& file, const olympiad::ImportOptions& options) {
    auto import =
        std::make_shared<olympiad::OlympiadImport>(olympiad::importOlympiadFile(file, options));
    olympiad::checkImportedTasks(*import, lang_);

    namespace r = kavo::msg::olympiadReport;
    namespace o = kavo::msg::olympiad;
    auto report = TOlympiadReport::importReport(import->problems, lang_);
    const auto errors = report.first.lines.size();
    const auto leftOut = import->leftOut();
    const auto tasks = std::to_string(import->tasks.size());
    // The answers bunched on one letter, and a shuffle done, are said with the warnings.
    if (import->bunched && !import->shuffled)
        report.second.lines.insert(
            report.second.lines.begin(),
            {text(o::bunched, lang_,
                  {std::to_string(import->bunched->count),
                   std::to_string(import->bunched->singleChoice),
                   std::string(1, static_cast<char>('A' + import->bunched->variant))}),
             {},
             {}});
    if (import->shuffled)
        report.second.lines.insert(
            report.second.lines.begin(),
            {text(o::shuffled, lang_, {std::to_string(import->shuffled)}), {}, {}});
    report.second.caption = text(r::warnings, lang_, {std::to_string(report.second.lines.size())});
    const auto warnings = std::to_string(report.second.lines.size());
    report.title = text(r::importTitle, lang_, {utf8(file.filename())});
    report.canWrite = errors == 0 && !import->tasks.empty();
    if (errors)
        report.summary = text(r::refused, lang_, {std::to_string(errors), warnings});
    else if (leftOut)
        report.summary = text(r::readyLeftOut, lang_,
                              {warnings, tasks, std::to_string(leftOut), utf8(outputDir_)});
    else
        report.summary = text(r::ready, lang_, {warnings, tasks, utf8(outputDir_)});
    if (leftOut && !errors) {
        // Left-out questions take no number: the numbers of the others are shown before
        // anything is written.
        std::vector<TOlympiadReport::Line> numbers;
        for (const auto& task : import->tasks)
            numbers.push_back({text(o::numbering, lang_,
                                    {std::to_string(task.number), std::to_string(task.pos.line)}),
                               task.pos,
                               {}});
        report.numbers = section(r::numbers, caption(r::tip::numbers), std::move(numbers), lang_);
        report.writeCaption = text(r::WriteFit, lang_, {tasks});
    }
    if (import->severalAccepted > 0 || options.firstAnswer)
        report.firstAnswer = options.firstAnswer;
    if (import->bunched || options.shuffle)
        report.shuffle = options.shuffle;
    report.source = sourceOf(file);

    TOlympiadReport* window = reportWindow();
    QObject::disconnect(window, &TOlympiadReport::writeRequested, nullptr, nullptr);
    QObject::disconnect(window, &TOlympiadReport::choicesChanged, nullptr, nullptr);
    if (report.canWrite)
        Guard(platform_, window, lang_)
            .connect(window, &TOlympiadReport::writeRequested,
                     [this, import] { writeImported(*import); });
    Guard(platform_, window, lang_)
        .connect(window, &TOlympiadReport::choicesChanged, [this, file, window] {
            showImport(file, {window->FirstAnswer->isChecked(), window->Shuffle->isChecked()});
        });
    window->showReport(report);
}

void TForm1::writeImported(const olympiad::OlympiadImport& import) {
    TOlympiadReport* window = reportWindow();
    const fs::path systemDir = programDir_ / "System_folder";
    // As Add task: without the author's details nothing is written; the dialog asks.
    if (kavo::auth::authorMissing(systemDir)) {
        platform_.information(window, caption(m::authorFirst));
        emit authorisationRequested();
        return;
    }
    const auto existing = olympiad::existingTasks(import, outputDir_);
    if (!existing.empty()) {
        const auto templates = kavo::render::TemplateSet::load(systemDir);
        const auto tree = olympiad::importedOlympiad(import, outputDir_);
        // A long list is cut, so that the question still fits the screen.
        constexpr std::size_t Shown = 12;
        std::string list;
        for (std::size_t i = 0; i < std::min(existing.size(), Shown); ++i) {
            const auto state =
                render::replacedState(templates, tree, existing[i], std::nullopt, lang_);
            list += (i ? "\n  " : "  ") + existing[i].generic_string() + " (" +
                    render::stateName(state, lang_) + ")";
        }
        if (existing.size() > Shown)
            list += "\n  " + kavo::msg::form1::olympiad::moreTasks.utf8(
                                 lang_, {std::to_string(existing.size() - Shown)});
        if (!platform_.ask(window, text(m::replaceTasks, lang_, {list}), false))
            return;
    }

    // The lists show the olympiad of the file, as Ok with its part sizes would.
    Edit2->setText(QString::number(import.sizes.a));
    Edit3->setText(QString::number(import.sizes.b));
    Edit4->setText(QString::number(import.sizes.c));
    // Sizes that would misplace tasks already written are asked about; No writes nothing.
    if (!Button2Click())
        return;

    const auto total = import.tasks.size();
    const auto label = [this, total](std::size_t next) {
        return text(m::progress, lang_,
                    {std::to_string(std::min(next, total)), std::to_string(total)});
    };
    QProgressDialog progress(label(1), QString(), 0, static_cast<int>(total), window);
    progress.setObjectName(u"OlympiadProgress"_s);
    progress.setWindowTitle(caption(kavo::msg::app::title));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setCancelButton(nullptr);
    progress.setMinimumDuration(0);
    progress.setValue(0);
    std::size_t written = 0;
    try {
        written = olympiad::writeOlympiad(import, systemDir, outputDir_, lang_,
                                          [&](std::size_t done, std::size_t) {
                                              progress.setValue(static_cast<int>(done));
                                              progress.setLabelText(label(done + 1));
                                              QCoreApplication::processEvents();
                                          });
    } catch (...) {
        // The tasks written before the failure stay; the lists show them.
        progress.close();
        refreshMarks();
        throw;
    }
    progress.close();
    refreshMarks();
    window->close();
    inform(text(kavo::msg::cli::written, lang_, {std::to_string(written), utf8(outputDir_)}));
}

void TForm1::checkOlympiad() {
    const auto templates = kavo::render::TemplateSet::load(programDir_ / "System_folder");
    const auto check = olympiad::checkTree(templates, outputDir_, lang_, &states_);
    showCheck(check);
}

void TForm1::showCheck(const olympiad::TreeCheck& check, const QString& before) {
    auto report = TOlympiadReport::checkReport(check, outputDir_, lang_);
    if (!before.isEmpty())
        report.summary = before + u"\n"_s + report.summary;
    TOlympiadReport* window = reportWindow();
    QObject::disconnect(window, &TOlympiadReport::writeRequested, nullptr, nullptr);
    QObject::disconnect(window, &TOlympiadReport::folderSelected, nullptr, nullptr);
    const Guard guard(platform_, window, lang_);
    QObject::connect(window, &TOlympiadReport::folderSelected, this,
                     [this, window, guard](const QString& folder) {
                         guard.run([&] {
                             const bool opened = overview_ && overview_->isVisible();
                             if (!opened)
                                 showOverview();
                             overview_->selectFolder(toPath(folder));
                             // The report stays in front while the overview follows its rows.
                             if (!opened)
                                 window->raise();
                         });
                     });
    window->showReport(report);
}

void TForm1::exportOlympiad(ExportFormat format) {
    namespace r = kavo::msg::olympiadReport;
    // A number in two folders or outside the sizes would be exported wrong: nothing is
    // written, and the check says where.
    {
        const auto templates = kavo::render::TemplateSet::load(programDir_ / "System_folder");
        const auto check = olympiad::checkTree(templates, outputDir_, lang_, &states_);
        if (check.stopsExport())
            return showCheck(check, caption(kavo::msg::treeCheck::exportStopped));
    }
    const auto tree = olympiad::readTree(outputDir_, programDir_ / "System_folder", lang_);
    if (tree.tasks.empty() && tree.unreadable.empty()) {
        inform(text(m::nothingToExport, lang_, {utf8(outputDir_)}));
        return;
    }
    std::optional<fs::path> out;
    std::vector<TOlympiadReport::Line> lost;
    if (!tree.tasks.empty()) {
        out = exportTarget(*this, format);
        if (!out)
            return;
        const auto exported = olympiad::exportOlympiad(format, tree.olympiad, tree.tasks);
        olympiad::writeExport(exported, *out);
        for (const auto& task : exported.losses)
            for (const auto& note : task.notes)
                lost.push_back(
                    {text(kavo::msg::cli::lost, lang_, {task.title, note.text(lang_)}), {}, {}});
    }
    const QString summary =
        out ? text(kavo::msg::cli::exported, lang_, {std::to_string(tree.tasks.size()), utf8(*out)})
            : text(m::nothingReadBack, lang_, {utf8(outputDir_)});
    if (lost.empty() && tree.unreadable.empty()) {
        inform(summary);
        return;
    }
    std::vector<TOlympiadReport::Line> leftOut;
    for (const auto& skipped : tree.unreadable)
        leftOut.push_back(
            {text(kavo::msg::cli::unreadable, lang_,
                  {skipped.folder, QString::fromStdString(skipped.reason).trimmed().toStdString()}),
             {},
             {}});
    TOlympiadReport::Report report;
    report.title = text(r::exportTitle, lang_, {utf8(out ? out->filename() : outputDir_)});
    report.summary = summary;
    report.first = section(r::leftOut, caption(r::tip::exportList), std::move(leftOut), lang_);
    report.second = section(r::losses, caption(r::tip::exportList), std::move(lost), lang_);
    TOlympiadReport* window = reportWindow();
    QObject::disconnect(window, &TOlympiadReport::writeRequested, nullptr, nullptr);
    window->showReport(report);
}
