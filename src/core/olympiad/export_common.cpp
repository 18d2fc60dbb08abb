// SPDX-License-Identifier: MIT
#include "core/olympiad/export_common.hpp"

#include "core/common/error.hpp"
#include "core/common/files.hpp"
#include "core/common/messages.hpp"
#include "core/olympiad/page_text.hpp"

#include <array>
#include <cctype>

namespace kavo::olympiad {

namespace detail {

namespace {

// The number an Edits folder ends with ("PartC/5", "PartB\7", "12"), or 0.
int folderNumber(const std::string& folder) {
    const auto cut = folder.find_last_of("/\\");
    const std::string last = cut == std::string::npos ? folder : folder.substr(cut + 1);
    if (last.empty() || last.size() > 2)
        return 0;
    for (char c : last)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return 0;
    return std::stoi(last);
}

std::string defaultIdentifier(const model::Olympiad& olympiad, int number) {
    const auto place = olympiad.place(number);
    std::string id = "Task";
    if (!olympiad.identifiersWithoutPart)
        id += place && place->partLetter ? *place->partLetter : 'A';
    return id + std::to_string(number);
}

} // namespace

std::vector<ExportTask> prepare(const model::Olympiad& olympiad,
                                const std::vector<model::Task>& tasks) {
    std::vector<ExportTask> out;
    out.reserve(tasks.size());
    for (const auto& task : tasks) {
        ExportTask t;
        t.task = &task;
        t.condition = exportText(task.condition);
        if (task.kind == model::TaskKind::Edits) {
            t.number = folderNumber(task.folder);
            const auto place = olympiad.place(t.number);
            const std::string folder = exportText(task.folder);
            if (!place || place->folder.generic_string() != replaceAll(folder, "\\", "/"))
                t.losses.push_back(
                    {kavo::msg::olympiad::lossFolder, {folder, std::to_string(t.number)}});
            t.title = exportText(task.title);
            for (const auto& sub : task.subQuestions) {
                t.subQuestions.push_back(exportText(sub.question));
                t.subAnswers.push_back(exportText(sub.answer));
            }
        } else {
            t.number = task.number;
            t.title = task.names ? exportText(task.names->russian)
                                 : defaultIdentifier(olympiad, task.number);
            for (const auto& v : task.variants)
                if (v)
                    t.variants.push_back(exportText(*v));
        }
        if (task.picture)
            t.losses.push_back({kavo::msg::olympiad::lossPicture, {}});
        out.push_back(std::move(t));
    }
    return out;
}

bool isTrueFalse(const ExportTask& t) {
    if (!isChoice(t.task->kind) || isMultipleChoice(t.task->kind) || t.variants.size() != 2)
        return false;
    const bool russian = cyrillicLowercase(plainOf(t.condition).value_or(t.condition)) >= 3;
    return t.variants[0] == (russian ? "Верно" : "True") &&
           t.variants[1] == (russian ? "Неверно" : "False");
}

std::string rightWeight(int right) {
    static constexpr std::array<std::string_view, 6> weights{"0",        "100", "50",
                                                             "33.33333", "25",  "20"};
    return right >= 0 && right <= 5 ? std::string(weights[static_cast<std::size_t>(right)]) : "0";
}

std::string wrongWeight(int wrong) {
    return wrong <= 0 ? "0" : "-" + rightWeight(wrong);
}

} // namespace detail

std::optional<ExportFormat> exportFormatNamed(std::string_view name) {
    if (name == "gift")
        return ExportFormat::Gift;
    if (name == "moodle")
        return ExportFormat::MoodleXml;
    if (name == "qti")
        return ExportFormat::Qti;
    return std::nullopt;
}

Exported exportOlympiad(ExportFormat format, const model::Olympiad& olympiad,
                        const std::vector<model::Task>& tasks) {
    auto prepared = detail::prepare(olympiad, tasks);
    Exported out = format == ExportFormat::Gift        ? detail::giftExport(prepared, olympiad)
                   : format == ExportFormat::MoodleXml ? detail::moodleExport(prepared)
                                                       : detail::qtiExport(prepared);
    out.format = format;
    for (std::size_t i = 0; i < prepared.size(); ++i)
        if (!prepared[i].losses.empty())
            out.losses.push_back({i, prepared[i].title, std::move(prepared[i].losses)});
    return out;
}

void writeExport(const Exported& exported, const std::filesystem::path& out) {
    if (exported.format != ExportFormat::Qti) {
        writeFileAtomic(out, exported.files.at(0).bytes);
        return;
    }
    std::vector<FolderFile> files;
    for (const auto& file : exported.files)
        files.push_back({file.name, file.bytes});
    writeFolderAtomic(out, files);
}

} // namespace kavo::olympiad
