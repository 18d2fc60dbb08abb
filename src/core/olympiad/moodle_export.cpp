// SPDX-License-Identifier: MIT
// Moodle XML, the question format Moodle imports: multichoice (single and multiple),
// shortanswer, truefalse, and the Edits tasks as cloze.
#include "core/common/messages.hpp"
#include "core/olympiad/export_common.hpp"
#include "core/olympiad/page_text.hpp"

namespace kavo::olympiad::detail {

namespace {

std::string html(std::string_view markup) {
    // Moodle shows question text as HTML; line breaks of the page source stay as they are.
    return "<text>" + escapeXml(markup) + "</text>";
}

std::string element(std::string_view name, std::string_view value) {
    return "    <" + std::string(name) + ">" + std::string(value) + "</" + std::string(name) +
           ">\n";
}

std::string emptyFeedback(std::string_view name) {
    return "    <" + std::string(name) + " format=\"html\"><text></text></" + std::string(name) +
           ">\n";
}

std::string head(ExportTask& t, std::string_view type, int grade, std::string_view penalty,
                 const std::string& text) {
    std::string out = "  <question type=\"" + std::string(type) + "\">\n";
    if (t.task->names)
        t.losses.push_back({kavo::msg::olympiad::lossEnglishName, {t.nameEn}});
    out += "    <name><text>" + escapeXml(t.label()) + "</text></name>\n";
    out += "    <questiontext format=\"html\">" + html(text) + "</questiontext>\n";
    out += emptyFeedback("generalfeedback");
    out += element("defaultgrade", std::to_string(grade));
    out += element("penalty", penalty);
    out += element("hidden", "0");
    out += element("idnumber", "");
    return out;
}

std::string answer(std::string_view fraction, std::string_view format, const std::string& text) {
    return "    <answer fraction=\"" + std::string(fraction) + "\" format=\"" +
           std::string(format) + "\">\n      " + html(text) +
           "\n      <feedback format=\"html\"><text></text></feedback>\n    </answer>\n";
}

// A typed answer as Moodle's short answer compares it: '*' is its wildcard, so escaped.
std::string shortAnswer(const std::string& text) {
    return replaceAll(text, "*", "\\*");
}

// An answer inside a cloze {1:SHORTANSWER_C:=...}: these characters are escaped there.
std::string clozeAnswer(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '}' || c == '#' || c == '~' || c == '/' || c == '"' || c == '\\' || c == '*')
            out += '\\';
        out += c;
    }
    return out;
}

void choice(std::string& out, ExportTask& t) {
    const auto& task = *t.task;
    const int n = static_cast<int>(t.variants.size());
    if (isFolded(task.kind))
        t.losses.push_back({kavo::msg::olympiad::lossFolded, {"Moodle"}});
    auto variant = [&](int i) {
        const auto& v = t.variants[static_cast<std::size_t>(i)];
        if (!v.empty())
            return v;
        t.losses.push_back({kavo::msg::olympiad::lossEmptyVariant,
                            {std::string(1, static_cast<char>('A' + i)), "Moodle"}});
        return std::string("&nbsp;");
    };
    if (isTrueFalse(t)) {
        out += head(t, "truefalse", 1, "1", t.condition);
        out += answer(task.answer == 0 ? "100" : "0", "moodle_auto_format", "true");
        out += answer(task.answer == 1 ? "100" : "0", "moodle_auto_format", "false");
        return;
    }
    const bool multiple = isMultipleChoice(task.kind);
    // The program gives one point per variant of a multiple choice: n points at most.
    out += head(t, "multichoice", multiple ? n : 1, "0.3333333", t.condition);
    out += element("single", multiple ? "false" : "true");
    out += element("shuffleanswers", "false");
    out += element("answernumbering", "ABCD");
    out += element("showstandardinstruction", "0");
    out += emptyFeedback("correctfeedback");
    out += emptyFeedback("partiallycorrectfeedback");
    out += emptyFeedback("incorrectfeedback");
    if (!multiple) {
        for (int i = 0; i < n; ++i)
            out += answer(i == task.answer ? "100" : "0", "html", variant(i));
        return;
    }
    int right = 0;
    for (int i = 0; i < n; ++i)
        right += (task.answers >> i) & 1u;
    const std::string r = rightWeight(right), x = wrongWeight(n - right);
    t.losses.push_back(right == 0 ? Note{kavo::msg::olympiad::lossNoRight, {"Moodle"}}
                                  : Note{kavo::msg::olympiad::lossScoring, {"Moodle", r, x}});
    for (int i = 0; i < n; ++i)
        out += answer((task.answers >> i) & 1u ? r : x, "html", variant(i));
}

void typed(std::string& out, ExportTask& t) {
    const std::string text = t.typedAnswer;
    out += head(t, "shortanswer", 1, "0.3333333", t.condition);
    out += element("usecase", "1");
    out += answer("100", "moodle_auto_format", shortAnswer(text));
}

void edits(std::string& out, ExportTask& t) {
    std::string text = t.condition;
    for (std::size_t i = 0; i < t.subQuestions.size(); ++i)
        text += "\n<p>" + std::string(1, static_cast<char>('A' + i)) + ") " + t.subQuestions[i] +
                " {1:SHORTANSWER_C:=" + clozeAnswer(t.subAnswers[i]) + "}</p>";
    out += head(t, "cloze", static_cast<int>(t.subQuestions.size()), "0.3333333", text);
}

} // namespace

Exported moodleExport(std::vector<ExportTask>& tasks) {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n";
    for (auto& t : tasks) {
        out += "<!-- question: " + std::to_string(t.number) + " -->\n";
        if (t.task->kind == model::TaskKind::Edits)
            edits(out, t);
        else if (t.task->kind == model::TaskKind::TypedAnswer)
            typed(out, t);
        else
            choice(out, t);
        out += "  </question>\n";
    }
    out += "</quiz>\n";
    return {ExportFormat::MoodleXml, {{"olympiad.xml", std::move(out)}}, {}};
}

} // namespace kavo::olympiad::detail
