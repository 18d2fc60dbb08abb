// SPDX-License-Identifier: MIT
#include "core/olympiad/export_common.hpp"

#include "core/common/error.hpp"
#include "core/common/field_text.hpp"
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

// The text without the characters its field may not hold (a task read from a tree written
// by hand or by an older program may hold them); one loss names the field and the first.
Text allowedText(TextField field, char letter, std::string_view cp1251, std::string_view format,
                 std::vector<Note>& losses) {
    Text text(cp1251);
    std::size_t from = 0;
    bool named = false;
    while (const auto invalid = refuseFieldText(field, std::string_view(text).substr(from))) {
        const std::size_t at = from + invalid->position;
        std::size_t length = 1;
        if (text[at] == '&' && invalid->description.starts_with("&"))
            length = text.find(';', at) - at + 1;
        if (!named)
            losses.push_back({kavo::msg::olympiad::lossCharacter,
                              {fieldWord(field), letter ? std::string(" ") + letter : "",
                               invalid->description, std::string(format)}});
        named = true;
        text.erase(at, length);
        from = at;
    }
    return text;
}

} // namespace

std::vector<ExportTask> prepare(const model::Olympiad& olympiad,
                                const std::vector<model::Task>& tasks, std::string_view format) {
    std::vector<ExportTask> out;
    out.reserve(tasks.size());
    for (const auto& task : tasks) {
        ExportTask t;
        t.task = &task;
        auto page = [&](TextField field, std::string_view text, char letter = 0) {
            return exportText(allowedText(field, letter, text, format, t.losses));
        };
        auto literal = [&](TextField field, std::string_view text, char letter = 0) {
            return exportLiteral(allowedText(field, letter, text, format, t.losses));
        };
        const bool edits = task.kind == model::TaskKind::Edits;
        t.condition =
            page(edits ? TextField::EditsCondition : TextField::Condition, task.condition);
        if (edits) {
            t.number = folderNumber(task.folder);
            const auto place = olympiad.place(t.number);
            const std::string folder = exportLiteral(task.folder);
            if (!place || place->folder.generic_string() != replaceAll(folder, "\\", "/")) {
                t.folder = folder;
                t.losses.push_back(
                    {kavo::msg::olympiad::lossFolder, {folder, std::to_string(t.number)}});
            }
            t.title = page(TextField::EditsName, task.title);
            for (std::size_t i = 0; i < task.subQuestions.size(); ++i) {
                const auto letter = static_cast<char>('A' + i);
                const auto& sub = task.subQuestions[i];
                t.subQuestions.push_back(page(TextField::SubQuestion, sub.question, letter));
                t.subAnswers.push_back(literal(TextField::SubAnswer, sub.answer, letter));
            }
        } else {
            t.number = task.number;
            if (task.names) {
                t.nameRu = page(TextField::RussianName, task.names->russian);
                t.nameEn = page(TextField::EnglishName, task.names->english);
            }
            t.title = task.names ? t.nameRu : defaultIdentifier(olympiad, task.number);
            for (std::size_t i = 0; i < task.variants.size(); ++i)
                if (task.variants[i])
                    t.variants.push_back(
                        page(TextField::Variant, *task.variants[i], static_cast<char>('A' + i)));
            if (task.kind == model::TaskKind::TypedAnswer)
                t.typedAnswer = literal(TextField::TypedAnswer, task.typedAnswer);
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
    static constexpr std::string_view names[] = {"GIFT", "Moodle XML", "QTI"};
    auto prepared = detail::prepare(olympiad, tasks, names[static_cast<int>(format)]);
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
