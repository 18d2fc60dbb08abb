// SPDX-License-Identifier: MIT
#include "core/olympiad/gift_import.hpp"

#include "core/common/codepage.hpp"
#include "core/common/field_text.hpp"
#include "core/common/messages.hpp"
#include "core/olympiad/gift_reader.hpp"
#include "core/olympiad/page_text.hpp"

#include <algorithm>
#include <charconv>
#include <map>

namespace kavo::olympiad {

namespace {

// The kavo options of one question, checked.
struct Settings {
    std::optional<int> number;
    bool folded = false, picture = false, edits = false, sub = false;
    std::optional<std::string> nameRu, nameEn, name, folder;
    std::map<std::string, SourcePos> given;
};

std::optional<int> smallNumber(std::string_view text) {
    int value = 0;
    if (text.empty() || text.size() > 4)
        return std::nullopt;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

class Importer {
  public:
    explicit Importer(OlympiadImport& out) : out_(out) {}

    void run(const SourceText& source);

  private:
    void error(SourcePos pos, Note note) {
        out_.problems.push_back({Severity::Error, pos, std::move(note)});
    }
    void warning(SourcePos pos, Note note) {
        out_.problems.push_back({Severity::Warning, pos, std::move(note)});
    }
    void category(const GiftCategory& category);
    void question(const GiftQuestion& q);
    Settings settings(const GiftQuestion& q);
    bool checkName(const std::string& text, const Message& what, SourcePos pos);
    std::optional<Text> answer(const GiftAnswer& a);
    Text text(TextField field, std::string_view utf8, SourcePos pos);
    bool choice(const GiftQuestion& q, const Settings& s, model::Task& task);
    void closeEdits();
    void number(const Settings& s);
    void place();

    OlympiadImport& out_;
    std::optional<SourcePos> sizesPos_;
    int nextNumber_ = 1;
    // The Edits task whose sub-questions are being read, as an index into out_.tasks.
    std::optional<std::size_t> edits_;
    bool editsBroken_ = false;
};

void Importer::run(const SourceText& source) {
    out_.encoding = source.encoding();
    const auto items = readGift(source, out_.problems);
    for (const auto& item : items) {
        if (const auto* c = std::get_if<GiftCategory>(&item))
            category(*c);
        else
            question(std::get<GiftQuestion>(item));
    }
    closeEdits();
    if (items.empty() && out_.problems.empty())
        error({1, 1}, {kavo::msg::olympiad::empty, {}});
    place();
    std::stable_sort(
        out_.problems.begin(), out_.problems.end(), [](const Problem& a, const Problem& b) {
            return std::pair(a.pos.line, a.pos.column) < std::pair(b.pos.line, b.pos.column);
        });
}

void Importer::category(const GiftCategory& c) {
    if (!c.path.starts_with("kavo/")) {
        checkName(c.path, kavo::msg::olympiad::wordCategory, c.pos);
        return; // other categories sort questions in a question bank: nothing to keep
    }
    if (!c.path.starts_with("kavo/parts/")) {
        error(c.pos, {kavo::msg::olympiad::kavoCategory, {c.path}});
        return;
    }
    if (sizesPos_) {
        error(c.pos, {kavo::msg::olympiad::partsTwice, {std::to_string(sizesPos_->line)}});
        return;
    }
    const std::string_view list = std::string_view(c.path).substr(11);
    std::array<int, 3> sizes{};
    std::size_t start = 0;
    for (int k = 0; k < 3; ++k) {
        const auto end = k < 2 ? list.find(',', start) : list.size();
        const auto value = end == std::string_view::npos
                               ? std::nullopt
                               : smallNumber(list.substr(start, end - start));
        if (!value) {
            error(c.pos, {kavo::msg::olympiad::partsBad, {}});
            return;
        }
        sizes[static_cast<std::size_t>(k)] = *value;
        start = end + 1;
    }
    sizesPos_ = c.pos;
    out_.sizesGiven = true;
    out_.sizes = {sizes[0], sizes[1], sizes[2]};
    if (out_.sizes.total() > 99)
        error(c.pos, {kavo::msg::olympiad::partsTooMany, {std::to_string(out_.sizes.total())}});
}

bool Importer::checkName(const std::string& text, const Message& what, SourcePos pos) {
    if (!looksLikePath(text))
        return true;
    error(pos, {kavo::msg::olympiad::namesPath, {what, text}});
    return false;
}

Settings Importer::settings(const GiftQuestion& q) {
    Settings s;
    for (const auto& o : q.options) {
        if (!s.given.emplace(o.key, o.pos).second) {
            error(o.pos, {kavo::msg::olympiad::kavoTwice, {o.key}});
            continue;
        }
        const bool flag =
            o.key == "folded" || o.key == "picture" || o.key == "edits" || o.key == "sub";
        const bool text =
            o.key == "name-ru" || o.key == "name-en" || o.key == "name" || o.key == "folder";
        if (!flag && !text && o.key != "number") {
            error(o.pos, {kavo::msg::olympiad::kavoUnknown, {o.key}});
        } else if (flag && o.value) {
            error(o.pos, {kavo::msg::olympiad::kavoUnknown, {o.key + "=" + *o.value}});
        } else if (flag) {
            (o.key == "folded"    ? s.folded
             : o.key == "picture" ? s.picture
             : o.key == "edits"   ? s.edits
                                  : s.sub) = true;
        } else if (o.key == "number") {
            s.number = o.value ? smallNumber(*o.value) : std::nullopt;
            if (!s.number)
                error(o.pos, {kavo::msg::olympiad::kavoBadValue,
                              {o.key, kavo::msg::olympiad::wordNumber}});
        } else if (!o.value) {
            error(o.pos,
                  {kavo::msg::olympiad::kavoBadValue, {o.key, kavo::msg::olympiad::wordQuoted}});
        } else if (o.key == "folder") {
            s.folder = *o.value;
        } else {
            // A name never becomes a path: "/" stands in it as in the form's name fields.
            (o.key == "name-ru" ? s.nameRu : o.key == "name-en" ? s.nameEn : s.name) = *o.value;
        }
    }
    return s;
}

// Page text or a name as program text. A character no reference may name (a C1 control, a
// non-character) is refused where the text stands; the rest of the rule, references
// included, runs with the task's checks.
Text Importer::text(TextField field, std::string_view utf8, SourcePos pos) {
    const auto converted = fieldTextOfUtf8(field, replaceAll(utf8, "\n", "\r\n"));
    if (const auto* text = std::get_if<Text>(&converted))
        return *text;
    const auto& invalid = std::get<InvalidCharacter>(converted);
    if (const auto text =
            utf8ToCp1251(replaceAll(utf8, "\n", "\r\n"), Unencodable::CharacterReference))
        return *text; // the task's checks name it
    error(pos, {kavo::msg::olympiad::refusedText, {fieldWord(field), invalid.description}});
    return "?"; // nothing is written from a file with an error
}

std::optional<Text> Importer::answer(const GiftAnswer& a) {
    if (a.text.text.find('\n') != std::string::npos) {
        error(a.text.pos, {kavo::msg::olympiad::answerBreak, {}});
        return std::nullopt;
    }
    std::string offending;
    auto text = answerText(a.text.text, offending);
    if (!text)
        error(a.text.pos, {kavo::msg::olympiad::answerCodePage, {a.text.text, offending}});
    return text;
}

void Importer::number(const Settings& s) {
    out_.tasks.back().number = s.number.value_or(nextNumber_);
    nextNumber_ = out_.tasks.back().number + 1;
}

void Importer::closeEdits() {
    if (!edits_)
        return;
    auto& t = out_.tasks[*edits_];
    const auto count = t.task.subQuestions.size();
    if (!editsBroken_ && (count < 2 || count > 4))
        error(t.pos, {kavo::msg::olympiad::editsCount, {std::to_string(count)}});
    edits_.reset();
}

bool Importer::choice(const GiftQuestion& q, const Settings& s, model::Task& task) {
    const auto& answers = q.answers;
    const auto count = static_cast<int>(answers.size());
    if (count > model::VariantCount) {
        error(q.blockPos, {kavo::msg::olympiad::tooManyVariants, {std::to_string(count)}});
        return false;
    }
    if (count < 2) {
        error(q.blockPos, {kavo::msg::olympiad::tooFewVariants, {std::to_string(count)}});
        return false;
    }
    for (int i = 0; i < count; ++i) {
        const auto& a = answers[static_cast<std::size_t>(i)];
        task.variants[static_cast<std::size_t>(i)] =
            text(TextField::Variant, pageMarkup(a.text.text, a.text.format), a.text.pos);
    }
    const auto rightMarks = std::count_if(answers.begin(), answers.end(),
                                          [](const GiftAnswer& a) { return a.marker == '='; });
    if (rightMarks > 1) {
        error(q.blockPos, {kavo::msg::olympiad::twoRight, {std::to_string(rightMarks)}});
        return false;
    }
    if (rightMarks == 1) {
        // Moodle's single choice: the '=' variant right, partial credit lost.
        task.kind = s.folded ? model::TaskKind::FoldedChoice : model::TaskKind::SingleChoice;
        bool partial = false;
        for (int i = 0; i < count; ++i) {
            const auto& a = answers[static_cast<std::size_t>(i)];
            if (a.marker == '=')
                task.answer = i;
            partial = partial || (a.weight && *a.weight != (a.marker == '=' ? 100 : 0));
        }
        if (partial)
            warning(q.blockPos, {kavo::msg::olympiad::partialDropped, {}});
        return true;
    }
    // Weights alone: several answers allowed, those of positive weight right.
    task.kind = s.folded ? model::TaskKind::MultipleChoiceFolded : model::TaskKind::MultipleChoice;
    std::optional<double> rightWeight, wrongWeight;
    bool equal = true;
    std::string letters;
    for (int i = 0; i < count; ++i) {
        const double w = answers[static_cast<std::size_t>(i)].weight.value_or(0);
        auto& same = w > 0 ? rightWeight : wrongWeight;
        equal = equal && (!same || *same == w);
        same = w;
        if (w > 0) {
            task.answers |= 1u << i;
            letters += (letters.empty() ? "" : ", ") + std::string(1, static_cast<char>('A' + i));
        }
    }
    if (task.answers == 0) {
        error(q.blockPos, {kavo::msg::olympiad::noRight, {}});
        return false;
    }
    if (!equal)
        warning(q.blockPos, {kavo::msg::olympiad::weightsChanged, {letters}});
    return true;
}

void Importer::question(const GiftQuestion& q) {
    const Settings s = settings(q);
    if (q.feedback)
        warning(q.blockPos, {kavo::msg::olympiad::feedbackDropped, {}});
    auto notHere = [&](std::string_view key, const Message& kind) {
        if (const auto it = s.given.find(std::string(key)); it != s.given.end())
            error(it->second, {kavo::msg::olympiad::kavoNotHere, {std::string(key), kind}});
    };

    if (s.sub) {
        for (auto key :
             {"number", "folded", "picture", "name-ru", "name-en", "name", "edits", "folder"})
            notHere(key, kavo::msg::olympiad::wordEdits);
        if (!edits_) {
            error(q.pos, {kavo::msg::olympiad::subAlone, {}});
            return;
        }
        if (q.kind != AnswerKind::Short || q.answers.size() != 1) {
            error(q.kind == AnswerKind::None ? q.pos : q.blockPos,
                  {kavo::msg::olympiad::subKind, {}});
            editsBroken_ = true;
            return;
        }
        auto& edits = out_.tasks[*edits_].task;
        const auto text = answer(q.answers[0]);
        edits.subQuestions.push_back(
            {this->text(TextField::SubQuestion, pageMarkup(q.stem.text, q.stem.format), q.stem.pos),
             text.value_or("")});
        return;
    }
    closeEdits();

    ImportedTask imported;
    imported.pos = q.pos;
    imported.title = q.title.value_or("");
    auto& task = imported.task;
    task.condition = text(s.edits ? TextField::EditsCondition : TextField::Condition,
                          pageMarkup(q.stem.text, q.stem.format), q.stem.pos);
    task.picture = s.picture;
    const bool ru = s.given.count("name-ru") > 0, en = s.given.count("name-en") > 0;
    if (ru != en)
        error(s.given.find(ru ? "name-ru" : "name-en")->second,
              {kavo::msg::olympiad::namesTogether, {}});
    if (s.nameRu || s.nameEn) {
        const auto at = [&](const char* key) {
            const auto it = s.given.find(key);
            return it == s.given.end() ? q.pos : it->second;
        };
        task.names =
            model::OwnNames{text(TextField::RussianName, s.nameRu.value_or(""), at("name-ru")),
                            text(TextField::EnglishName, s.nameEn.value_or(""), at("name-en"))};
    }

    if (s.edits) {
        for (auto key : {"folded", "picture", "name-ru", "name-en"})
            notHere(key, kavo::msg::olympiad::wordEdits);
        if (q.kind != AnswerKind::None) {
            error(q.blockPos, {kavo::msg::olympiad::editsHeadBlock, {}});
            return;
        }
        task.kind = model::TaskKind::Edits;
        task.picture = false;
        task.names.reset();
        task.title = text(TextField::EditsName, s.name.value_or(""),
                          s.given.count("name") ? s.given.at("name") : q.pos);
        if (s.folder) {
            // A folder that is no task number's place: checked as the Edits form checks a
            // typed number before anything is written there.
            const auto folder = utf8ToCp1251(*s.folder, Unencodable::Refuse);
            const auto pos = s.given.at("folder");
            if (!folder || !model::Olympiad{}.editsFolder(*folder))
                error(pos, {kavo::msg::olympiad::kavoBadValue,
                            {"folder", kavo::msg::olympiad::wordFolder}});
            if (s.number)
                error(s.given.at("number"),
                      {kavo::msg::olympiad::kavoNotHere, {"number", "folder"}});
            task.folder = folder.value_or("");
            out_.tasks.push_back(std::move(imported));
        } else {
            out_.tasks.push_back(std::move(imported));
            number(s);
        }
        edits_ = out_.tasks.size() - 1;
        editsBroken_ = false;
        return;
    }
    notHere("name", kavo::msg::olympiad::wordChoice);
    notHere("folder", kavo::msg::olympiad::wordChoice);

    bool ok = true;
    switch (q.kind) {
    case AnswerKind::None:
        error(q.pos, {kavo::msg::olympiad::description, {}});
        return;
    case AnswerKind::Essay:
        error(q.blockPos, {kavo::msg::olympiad::essay, {}});
        return;
    case AnswerKind::Numeric:
        error(q.blockPos, {kavo::msg::olympiad::numeric, {}});
        return;
    case AnswerKind::Matching:
        error(q.blockPos, {kavo::msg::olympiad::matching, {}});
        return;
    case AnswerKind::TrueFalse: {
        // The variant words follow the condition's language, as the typed-answer prompt does.
        const bool russian = cyrillicLowercase(q.stem.text) >= 3;
        task.kind = s.folded ? model::TaskKind::FoldedChoice : model::TaskKind::SingleChoice;
        task.variants[0] = pageText(russian ? "Верно" : "True");
        task.variants[1] = pageText(russian ? "Неверно" : "False");
        task.answer = q.truth ? 0 : 1;
        break;
    }
    case AnswerKind::Choice:
        ok = choice(q, s, task);
        break;
    case AnswerKind::Short: {
        notHere("folded", kavo::msg::olympiad::wordTyped);
        if (q.answers.size() != 1) {
            error(q.blockPos, {kavo::msg::olympiad::twoTyped, {std::to_string(q.answers.size())}});
            return;
        }
        const auto& a = q.answers[0];
        if (a.weight && *a.weight != 100)
            warning(q.blockPos, {kavo::msg::olympiad::partialDropped, {}});
        task.kind = model::TaskKind::TypedAnswer;
        const auto text = answer(a);
        ok = text.has_value();
        task.typedAnswer = text.value_or("");
        break;
    }
    }
    if (!ok)
        return;
    out_.tasks.push_back(std::move(imported));
    number(s);
}

// Numbers against the part sizes, each number once, at most 99 tasks; the folder of each
// Edits task.
void Importer::place() {
    auto& tasks = out_.tasks;
    if (tasks.size() > 99)
        error(tasks[99].pos, {kavo::msg::olympiad::tooManyTasks, {}});
    if (!out_.sizesGiven) {
        int highest = 0;
        for (const auto& t : tasks)
            highest = std::max(highest, t.number);
        out_.sizes = {std::min(highest, 99), 0, 0};
    }
    const model::Olympiad olympiad{{}, out_.sizes, false};
    std::map<int, SourcePos> taken;
    std::map<std::string, SourcePos> folders;
    auto takeFolder = [&](const std::filesystem::path& folder, SourcePos pos) {
        const auto [it, fresh] = folders.emplace(folder.generic_string(), pos);
        if (!fresh)
            error(pos, {kavo::msg::olympiad::folderTaken,
                        {folder.generic_string(), std::to_string(it->second.line)}});
    };
    for (auto& t : tasks) {
        if (t.task.kind == model::TaskKind::Edits && t.number == 0) {
            if (const auto folder = olympiad.editsFolder(t.task.folder))
                takeFolder(*folder, t.pos);
            continue;
        }
        const auto n = t.number;
        if (n < 1 || n > 99) {
            error(t.pos, {kavo::msg::olympiad::numberRange, {std::to_string(n)}});
            continue;
        }
        const auto place = olympiad.place(n);
        if (!place) {
            const auto& z = out_.sizes;
            error(t.pos, {kavo::msg::olympiad::numberOutside,
                          {std::to_string(n), std::to_string(z.a), std::to_string(z.b),
                           std::to_string(z.c), std::to_string(z.total())}});
            continue;
        }
        if (const auto [it, fresh] = taken.emplace(n, t.pos); !fresh)
            error(t.pos, {kavo::msg::olympiad::numberTaken,
                          {std::to_string(n), std::to_string(it->second.line)}});
        else
            takeFolder(place->folder, t.pos);
        if (t.task.kind == model::TaskKind::Edits)
            t.task.folder = place->folder.generic_string();
        else
            t.task.number = n;
    }
}

} // namespace

OlympiadImport importGift(std::string_view bytes) {
    OlympiadImport out;
    if (auto source = decodeSource(bytes, out.problems))
        Importer(out).run(*source);
    return out;
}

OlympiadImport importGiftFile(const std::filesystem::path& path) {
    OlympiadImport out;
    if (auto source = readSource(path, out.problems))
        Importer(out).run(*source);
    return out;
}

} // namespace kavo::olympiad
