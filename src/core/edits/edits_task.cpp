// SPDX-License-Identifier: MIT
#include "core/edits/edits_task.hpp"
#include "core/common/files.hpp"

#include "core/common/codepage.hpp"
#include "core/common/error.hpp"
#include "core/common/xml.hpp"

#include <algorithm>
#include <iterator>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace kavo::edits {

namespace {

EditsSaveResult refusal(Text message) {
    EditsSaveResult result;
    result.message = std::move(message);
    return result;
}

// The window's messages: English when the language is "En", else Russian (held here in
// UTF-8 and given as Windows-1251 text like every text of the program).
Text localised(std::string_view lang, std::string_view english, std::string_view russian) {
    return lang == "En" ? Text(english)
                        : utf8ToCp1251(russian, Unencodable::CharacterReference).value_or(Text{});
}

struct Variant {
    int subQuestions;
    char countDigit;
    Text EditsTemplates::*page;
    Text EditsTemplates::*answers;
};

constexpr Variant variants[] = {
    {4, '4', &EditsTemplates::task3Asp, &EditsTemplates::task3Out},
    {3, '3', &EditsTemplates::task1Asp, &EditsTemplates::task1Out},
    {2, '2', &EditsTemplates::task2Asp, &EditsTemplates::task2Out},
};

struct Condition {
    std::string_view placeholder;
    Text EditsForm::*field;
};

// Main condition first, then one per sub-question, in the order of replacement.
constexpr Condition conditions[] = {
    {"*vs1*", &EditsForm::Memo1}, {"*vs2*", &EditsForm::Memo2}, {"*vs3*", &EditsForm::Memo3},
    {"*vs4*", &EditsForm::Memo4}, {"*vs5*", &EditsForm::Memo5},
};

struct Answer {
    std::string_view placeholder;
    std::optional<Text> EditsForm::*field;
    char letter;
};

constexpr Answer answers[] = {
    {"*ans1*", &EditsForm::Edit1, 'A'},
    {"*ans2*", &EditsForm::Edit2, 'B'},
    {"*ans3*", &EditsForm::Edit3, 'C'},
    {"*ans4*", &EditsForm::Edit4, 'D'},
};

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

void createFolder(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec))
        throw Error::cannotCreate(folder);
}

} // namespace

fs::path descriptionTemplatePath(const fs::path& programDir) {
    return programDir / "System_folder" / "file" / "task_xml.txt";
}

EditsTemplates readEditsTemplates(const fs::path& programDir) {
    const auto edits = programDir / "System_folder" / "file_for_edits";
    EditsTemplates t;
    t.zamena = readText(edits / "zamena.txt");
    t.task1Asp = readText(edits / "task1.asp");
    t.task1Out = readText(edits / "task1.out");
    t.taskCfg = readText(edits / "task.cfg");
    t.taskXml = readText(descriptionTemplatePath(programDir));
    t.task2Asp = readText(edits / "task2.asp");
    t.task2Out = readText(edits / "task2.out");
    t.task3Asp = readText(edits / "task3.asp");
    t.task3Out = readText(edits / "task3.out");
    return t;
}

int subQuestionCount(bool removeC, bool removeD) {
    if (removeC)
        return removeD ? 2 : 0;
    return removeD ? 3 : 4;
}

std::optional<fs::path> taskFolderFragment(std::string_view number) {
    // Windows-1251 text to a path the file system names (UTF-8 here).
    const std::string utf8 = cp1251ToUtf8(number);
    if (utf8.empty() || isSeparator(utf8.front()))
        return std::nullopt;
    if (utf8.size() >= 2 && utf8[1] == ':' &&
        ((utf8[0] >= 'A' && utf8[0] <= 'Z') || (utf8[0] >= 'a' && utf8[0] <= 'z')))
        return std::nullopt;
    fs::path fragment;
    std::size_t start = 0;
    while (start <= utf8.size()) {
        std::size_t end = start;
        while (end < utf8.size() && !isSeparator(utf8[end]))
            ++end;
        const std::string_view component(utf8.data() + start, end - start);
        if (component == "." || component == "..")
            return std::nullopt;
        if (!component.empty())
            fragment /= fs::path(std::u8string(component.begin(), component.end()));
        start = end + 1;
    }
    if (fragment.empty())
        return std::nullopt;
    return fragment;
}

EditsSaveResult saveEditsTask(EditsForm& form, const EditsTemplates& templates,
                              const fs::path& outputDir, std::string_view lang) {
    const int count = subQuestionCount(form.CheckBox1, form.CheckBox2);
    if ((form.Edit5 && form.Edit5->empty()) || count == 0)
        return refusal(
            localised(lang, "\nSpecify the number of the task", "\nУкажите номер задачи"));

    const auto fragment = form.Edit5 ? taskFolderFragment(*form.Edit5) : std::nullopt;
    if (!fragment)
        return refusal(localised(lang,
                                 "\nThe task number must name a folder inside the output folder, "
                                 "for example 7 or PartB\\7",
                                 "\nНомер задачи должен указывать папку внутри папки задач, "
                                 "например 7 или PartB\\7"));

    Text refused;
    for (int i = 0; i < count; ++i)
        if (!(form.*answers[i].field))
            refused += localised(lang, "\nThe answer to ", "\nОтвет к подвопросу ") +
                       answers[i].letter +
                       localised(lang,
                                 " holds a character that task.out cannot store "
                                 "(Windows-1251 code page)",
                                 " содержит символ, который нельзя записать в task.out "
                                 "(кодовая страница Windows-1251)");
    if (!refused.empty())
        return refusal(refused);

    const Variant& variant =
        *std::find_if(std::begin(variants), std::end(variants),
                      [&](const Variant& v) { return v.subQuestions == count; });

    Text page = templates.*variant.page;
    for (int i = 0; i <= count; ++i)
        page = replaceAll(page, conditions[i].placeholder, form.*conditions[i].field);

    Text scoring = templates.*variant.answers;
    for (int i = 0; i < count; ++i)
        scoring = replaceAll(scoring, answers[i].placeholder, *(form.*answers[i].field));

    const Text snippet = replaceAll(templates.zamena, "1", std::string(1, variant.countDigit));
    Text description = replaceAll(templates.taskXml, templates.zamena, snippet);
    description = replaceAll(description, "TaskA1", escapeXmlAttribute(form.Edit6));

    const fs::path folder = outputDir / *fragment;
    createFolder(folder);
    createFolder(folder / "webfiles");
    writePieces(folder / "task.asp", {page});
    writePieces(folder / "task.out", {scoring});
    writePieces(folder / "TASK.CFG", {templates.taskCfg});
    writePieces(folder / "task.xml", {description});

    form = EditsForm{};
    EditsSaveResult result;
    result.written = true;
    result.taskFolder = folder;
    return result;
}

} // namespace kavo::edits
