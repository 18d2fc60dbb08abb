// SPDX-License-Identifier: MIT
#include "core/tasks/package.hpp"
#include "core/common/files.hpp"

#include "core/common/error.hpp"
#include "core/common/xml.hpp"
#include "core/tasks/messages.hpp"

#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace kavo::tasks {

std::optional<TaskPlace> placeTask(const fs::path& outputDir, std::int64_t n, int k,
                                   std::int32_t nA, std::int32_t nB, std::int32_t nC) {
    const std::int64_t a = nA, b = nB, c = nC, total = a + b + c;
    const auto folder = std::to_string(k);
    if ((b >= 1 || c >= 1) && 1 <= n && n <= a)
        return TaskPlace{outputDir / "PartA" / folder, std::nullopt};
    if (b == 0 && c == 0)
        return TaskPlace{outputDir / folder, std::nullopt};
    if (a + 1 <= n && n <= total - c)
        return TaskPlace{outputDir / "PartB" / folder, 'B'};
    if (total - c + 1 <= n && n <= total)
        return TaskPlace{outputDir / "PartC" / folder, 'C'};
    return std::nullopt;
}

std::optional<fs::path> taskFolder(const fs::path& outputDir, std::int64_t n, int k,
                                   std::int32_t nA, std::int32_t nB, std::int32_t nC) {
    if (auto place = placeTask(outputDir, n, k, nA, nB, nC))
        return place->folder;
    return std::nullopt;
}

TaskLocation locateTask(const TaskForm& form, const fs::path& outputDir) {
    TaskLocation where;
    where.k = form.ListBox1.selected.value_or(-1) + 1;
    where.n = parseInt(form.ListBox1.selectedText());
    where.nA = parseInt(form.Edit2);
    where.nB = parseInt(form.Edit3);
    where.nC = parseInt(form.Edit4);
    where.place = placeTask(outputDir, where.n, where.k, where.nA, where.nB, where.nC);
    return where;
}

Text answerIndex(std::string_view answer) {
    static constexpr std::string_view forms[5][3] = {
        {"a", "A", "1"}, {"b", "B", "2"}, {"c", "C", "3"}, {"d", "D", "4"}, {"e", "E", "5"}};
    for (int i = 0; i < 5; ++i)
        for (auto form : forms[i])
            if (answer == form)
                return std::to_string(i);
    return {};
}

Pieces singleAnswerScoring(std::string_view answer) {
    return {"countby=test", "[1]", "ans1=" + answerIndex(answer), "score[1]=1"};
}

Descriptions readDescriptions(const fs::path& systemDir) {
    return {readText(systemDir / "file" / "task_xml.txt"),
            readText(systemDir / "file" / "task_xml_2.txt")};
}

// Writes the part letter and the digits of k over the template's identifier "TaskA1"
// (characters 13 to 18 and 28 to 33, or with a second digit place up to 35).
static Text overwriteIdentifiers(Text text, bool twoDigits, const TaskLocation& where,
                                 std::string_view lang) {
    const std::size_t minimum = twoDigits ? 35 : 33;
    if (text.size() < minimum)
        throw Error(shortDescriptionReport(lang,
                                           twoDigits ? "System_folder/file/task_xml_2.txt"
                                                     : "System_folder/file/task_xml.txt",
                                           minimum));
    // Positions counted from 1, as the headers are laid out.
    auto put = [&text](std::size_t position, char c) { text[position - 1] = c; };
    const std::size_t first = 17, second = twoDigits ? 33 : 32;
    if (where.place && where.place->partLetter) {
        put(first, *where.place->partLetter);
        put(second, *where.place->partLetter);
    }
    if (twoDigits) {
        const char tens = static_cast<char>('0' + where.k / 10);
        const char units = static_cast<char>('0' + where.k % 10);
        put(first + 1, tens);
        put(second + 1, tens);
        put(first + 2, units);
        put(second + 2, units);
    } else {
        const char digit = static_cast<char>('0' + where.k);
        put(first + 1, digit);
        put(second + 1, digit);
    }
    return text;
}

Pieces shapeDescription(const Descriptions& headers, const TaskForm& form,
                        const TaskLocation& where, std::string_view lang) {
    const bool twoDigits = where.n >= 10;
    const Text& header = twoDigits ? headers.taskXml2 : headers.taskXml;
    if (form.CheckBox4)
        return {overwriteIdentifiers(header, twoDigits, where, lang)};
    // Own names stand in an attribute: escaped, so that a quote cannot end it early.
    const Text russian = escapeXmlAttribute(form.Edit7);
    const Text english = escapeXmlAttribute(form.Edit8);
    Text text = replaceAll(header, twoDigits ? "TaskA1 " : "TaskA1", russian);
    text = replaceAll(text, "ename=\"" + russian, "ename=\"" + english);
    return {text};
}

void writePackage(const Package& package) {
    if (!package.folder)
        return;
    const auto& folder = *package.folder;
    std::error_code ec;
    fs::create_directories(folder / "webfiles", ec);
    if (ec || !fs::is_directory(folder / "webfiles"))
        throw Error::cannotCreate(folder / "webfiles");
    writePieces(folder / "task.asp", package.page);
    writePieces(folder / "TASK.CFG", package.config);
    writePieces(folder / "task.out", package.scoring);
    writePieces(folder / "task.xml", package.description);
}

void raiseTaskCounter(const fs::path& systemDir) {
    const auto path = systemDir / "Authorisation" / "Tasks_in_view.txt";
    const auto lines = splitLines(readText(path));
    const std::int64_t count = parseInt(lines.empty() ? Text() : lines.front());
    writePieces(path, {std::to_string(count + 1)});
}

void rewriteIdentifiers(const fs::path& outputDir, int k) {
    const auto path = outputDir / std::to_string(k) / "task.xml";
    writePieces(path, {replaceAll(readText(path), "TaskA", "Task")});
}

std::vector<Text> readTemplates(const fs::path& systemDir,
                                std::initializer_list<std::string_view> names) {
    std::vector<Text> texts;
    texts.reserve(names.size());
    for (auto name : names)
        texts.push_back(readText(systemDir / fs::path(name)));
    return texts;
}

} // namespace kavo::tasks
