// SPDX-License-Identifier: MIT
// GIFT with the kavo extension: every task as a question that other readers take as
// GIFT, the program's own details in "// kavo:" lines and the kavo/parts category.
#include "core/common/messages.hpp"
#include "core/olympiad/export_common.hpp"
#include "core/olympiad/page_text.hpp"

namespace kavo::olympiad::detail {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool hasOuterBlanks(std::string_view s) {
    return !s.empty() && (isBlank(s.front()) || isBlank(s.back()));
}

std::string escapeGift(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        if (c == '\\' || c == '~' || c == '=' || c == '#' || c == '{' || c == '}' || c == ':')
            out += '\\';
        out += c;
    }
    return out;
}

std::string kavoValue(std::string_view value) {
    std::string out = "\"";
    for (char c : value) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

class GiftWriter {
  public:
    explicit GiftWriter(ExportTask& task) : t_(task) {}

    // A page text as GIFT: plain when it is the page form of a plain text, else [html];
    // the format tag written when it differs from the one inherited.
    std::string text(const std::string& markup, bool& html, bool inheritedHtml) {
        const auto plain = plainOf(markup);
        html = !plain.has_value();
        const std::string& body = html ? markup : *plain;
        if (hasOuterBlanks(body))
            loss({kavo::msg::olympiad::lossBlanks, {"GIFT"}});
        std::string tag;
        if (html != inheritedHtml || body.starts_with("["))
            tag = html ? "[html]" : "[moodle]";
        return tag + escapeGift(body);
    }

    std::string variant(std::size_t i, bool questionHtml) {
        const auto& v = t_.variants[i];
        if (v.empty()) {
            loss({kavo::msg::olympiad::lossEmptyVariant,
                  {std::string(1, static_cast<char>('A' + i)), "GIFT"}});
            return "[html]&nbsp;";
        }
        bool html = false;
        return text(v, html, questionHtml);
    }

    std::string answer(const std::string& answer) {
        if (hasOuterBlanks(answer))
            loss({kavo::msg::olympiad::lossBlanks, {"GIFT"}});
        if (answer.find('*') != std::string::npos)
            loss({kavo::msg::olympiad::lossWildcard, {}});
        // A leading '[' or '%' would read as a format or a weight: say them explicitly.
        std::string prefix = answer.starts_with("%") ? "%100%" : "";
        if (answer.starts_with("["))
            prefix += "[moodle]";
        return prefix + escapeGift(answer);
    }

    void loss(Note note) { t_.losses.push_back(std::move(note)); }

  private:
    ExportTask& t_;
};

std::string titleLine(const std::string& title, const std::string& rest) {
    return "::" + escapeGift(title.empty() ? std::string("Task") : title) + "::" + rest;
}

// Whether the import places the folder where the task is: the folder as typed is a place
// of its own (not read as a task number), with no line break to cut the kavo line.
bool keepsFolder(const ExportTask& t, const model::Olympiad& olympiad) {
    const auto place = olympiad.editsFolder(t.task->folder);
    return place && place->generic_string() == replaceAll(t.folder, "\\", "/") &&
           t.folder.find('\n') == std::string::npos;
}

void writeEdits(std::string& out, ExportTask& t, const model::Olympiad& olympiad) {
    GiftWriter w(t);
    // A folder that is no task number's place is kept as typed; the import checks it as
    // the Edits form checks a typed number before it becomes a place.
    const bool folderKept = !t.folder.empty() && keepsFolder(t, olympiad);
    if (folderKept) {
        out += "// kavo: edits folder=" + kavoValue(t.folder);
        std::erase_if(t.losses, [](const Note& n) {
            return n.what.en == kavo::msg::olympiad::lossFolder.en;
        });
    } else {
        out += "// kavo: edits number=" + std::to_string(t.number);
    }
    if (!t.title.empty())
        out += " name=" + kavoValue(t.title);
    out += "\n";
    bool html = false;
    std::string head = w.text(t.condition, html, false);
    if (t.condition.empty())
        head = "[html]&nbsp;";
    out += titleLine(t.label(), head) + "\n\n";
    for (std::size_t i = 0; i < t.subQuestions.size(); ++i) {
        const std::string letter(1, static_cast<char>('A' + i));
        const std::string question = w.text(t.subQuestions[i], html, false);
        out += "// kavo: sub\n";
        out += titleLine(t.label() + " " + letter, question + (question.empty() ? "{=" : " {=") +
                                                       w.answer(t.subAnswers[i]) + "}") +
               "\n\n";
    }
}

void writeTask(std::string& out, ExportTask& t) {
    const auto& task = *t.task;
    GiftWriter w(t);
    out += "// kavo: number=" + std::to_string(t.number);
    if (isFolded(task.kind))
        out += " folded";
    if (task.picture)
        out += " picture";
    if (task.names)
        out += " name-ru=" + kavoValue(t.nameRu) + " name-en=" + kavoValue(t.nameEn);
    out += "\n";
    bool html = false;
    const std::string stem = w.text(t.condition, html, false);
    std::string block;
    const int n = static_cast<int>(t.variants.size());
    if (task.kind == model::TaskKind::TypedAnswer) {
        block = "=" + w.answer(t.typedAnswer);
    } else if (isTrueFalse(t)) {
        block = task.answer == 0 ? "T" : "F";
    } else if (!isMultipleChoice(task.kind)) {
        for (int i = 0; i < n; ++i) {
            const std::string v = w.variant(static_cast<std::size_t>(i), html);
            block += std::string(i ? " " : "") + (i == task.answer ? "=" : "~") +
                     (v.starts_with("%") ? (i == task.answer ? "%100%" : "%0%") : "") + v;
        }
    } else {
        int right = 0;
        for (int i = 0; i < n; ++i)
            right += (task.answers >> i) & 1u;
        const std::string r = rightWeight(right), x = wrongWeight(n - right);
        t.losses.push_back(right == 0 ? Note{kavo::msg::olympiad::lossNoRight, {"GIFT"}}
                                      : Note{kavo::msg::olympiad::lossScoring, {"GIFT", r, x}});
        for (int i = 0; i < n; ++i) {
            const bool isRight = (task.answers >> i) & 1u;
            block += std::string(i ? " " : "") + "~%" + (isRight ? r : x) + "%" +
                     w.variant(static_cast<std::size_t>(i), html);
        }
    }
    out += titleLine(t.title, stem + (stem.empty() ? "{" : " {") + block + "}") + "\n\n";
}

} // namespace

Exported giftExport(std::vector<ExportTask>& tasks, const model::Olympiad& olympiad) {
    const auto& z = olympiad.sizes;
    std::string out = "// Olympiad written by Kavo Program. The \"// kavo:\" lines and the kavo "
                      "category\n// carry what GIFT cannot say; other readers skip them.\n\n";
    out += "$CATEGORY: kavo/parts/" + std::to_string(z.a) + "," + std::to_string(z.b) + "," +
           std::to_string(z.c) + "\n\n";
    for (auto& t : tasks) {
        if (t.task->kind == model::TaskKind::Edits)
            writeEdits(out, t, olympiad);
        else
            writeTask(out, t);
    }
    return {ExportFormat::Gift, {{"olympiad.gift", std::move(out)}}, {}};
}

} // namespace kavo::olympiad::detail
