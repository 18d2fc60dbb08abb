// SPDX-License-Identifier: MIT
#include "core/olympiad/gift_import.hpp"

#include "core/common/codepage.hpp"
#include "core/common/error.hpp"
#include "core/common/field_text.hpp"
#include "core/common/messages.hpp"
#include "core/olympiad/gift_reader.hpp"
#include "core/olympiad/moodle_reader.hpp"
#include "core/olympiad/page_text.hpp"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <fstream>
#include <map>

namespace kavo::olympiad {

namespace {

// The kavo options of one question, checked.
struct Settings {
    std::optional<int> number;
    bool folded = false, picture = false, edits = false, sub = false, keepOrder = false;
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

// Lowercase of ASCII and Russian letters in UTF-8, enough to find the phrases below.
std::string lowered(std::string_view utf8) {
    std::string out(utf8);
    for (std::size_t i = 0; i < out.size(); ++i) {
        auto& c = out[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        } else if (c == '\xD0' && i + 1 < out.size()) {
            const auto next = static_cast<unsigned char>(out[i + 1]);
            if (next >= 0x90 && next <= 0x9F) { // А..П
                out[i + 1] = static_cast<char>(next + 0x20);
            } else if (next >= 0xA0 && next <= 0xAF) { // Р..Я
                c = '\xD1';
                out[i + 1] = static_cast<char>(next - 0x20);
            } else if (next == 0x81) { // Ё
                c = '\xD1';
                out[i + 1] = '\x91';
            }
            ++i;
        }
    }
    return out;
}

// A variant that speaks of the other variants ("All of the above") must stay where it is.
bool refersToOthers(std::string_view utf8) {
    static constexpr std::string_view phrases[] = {
        "all of the above",     "none of the above",   "all the above",
        "none of these",        "all of these",        "both of the above",
        "neither of the above", "all answers",         "all of the answers",
        "none of the answers",  "all are correct",     "none are correct",
        "none is correct",      "all of them",         "none of them",
        "все ответы",           "все варианты",        "все перечисленн",
        "всё перечисленн",      "все вышеперечисленн", "всё вышеперечисленн",
        "ни один из",           "ни одно из",          "ничего из",
        "нет верного",          "нет правильного",     "все верны",
        "все утверждения",      "оба ответа",          "оба варианта",
        "ни то, ни другое",     "другой ответ"};
    const std::string text = lowered(utf8);
    return std::any_of(std::begin(phrases), std::end(phrases),
                       [&](std::string_view p) { return text.find(p) != std::string::npos; });
}

// A key of the question's text (FNV-1a), and a generator drawn from it (splitmix64): the
// same question always gives the same order.
std::uint64_t textKey(const GiftQuestion& q) {
    std::uint64_t h = 14695981039346656037ull;
    auto add = [&h](std::string_view text) {
        for (char c : text) {
            h ^= static_cast<unsigned char>(c);
            h *= 1099511628211ull;
        }
        h ^= 0xFF;
        h *= 1099511628211ull;
    };
    add(q.stem.text);
    for (const auto& a : q.answers)
        add(a.text.text);
    return h;
}

std::uint64_t nextDraw(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// A choice task's variants in another order; the variants in `fixed` keep their place, the
// right answer moves with its variant. Whether anything moved.
bool shuffleVariants(model::Task& task, unsigned fixed, std::uint64_t key) {
    std::vector<int> movable;
    for (int i = 0; i < model::VariantCount; ++i)
        if (task.variants[static_cast<std::size_t>(i)] && !((fixed >> i) & 1u))
            movable.push_back(i);
    std::vector<int> order = movable; // order[k]: the old variant that goes to movable[k]
    for (std::size_t k = order.size(); k > 1; --k)
        std::swap(order[k - 1], order[nextDraw(key) % k]);
    if (order == movable)
        return false;
    auto variants = task.variants;
    int answer = task.answer;
    unsigned answers = task.answers & fixed;
    for (std::size_t k = 0; k < movable.size(); ++k) {
        const auto to = movable[k], from = order[k];
        variants[static_cast<std::size_t>(to)] = task.variants[static_cast<std::size_t>(from)];
        if (task.answer == from)
            answer = to;
        if ((task.answers >> from) & 1u)
            answers |= 1u << to;
    }
    task.variants = std::move(variants);
    task.answer = answer;
    task.answers = answers;
    return true;
}

class Importer {
  public:
    Importer(OlympiadImport& out, const ImportOptions& options) : out_(out), options_(options) {}

    void run(const SourceText& source);
    void run(const std::vector<GiftItem>& items);

  private:
    void error(SourcePos pos, Note note) {
        out_.problems.push_back({Severity::Error, pos, std::move(note)});
    }
    void warning(SourcePos pos, Note note) {
        out_.problems.push_back({Severity::Warning, pos, std::move(note)});
    }
    void leftOut(SourcePos pos, Note note) {
        out_.problems.push_back({Severity::LeftOut, pos, std::move(note)});
    }
    void category(const GiftCategory& category);
    void question(const GiftQuestion& q);
    Settings settings(const GiftQuestion& q);
    bool checkName(const std::string& text, const Message<>& what, SourcePos pos);
    std::optional<Text> answer(const GiftAnswer& a, Severity severity = Severity::Error);
    Text text(TextField field, std::string_view utf8, SourcePos pos);
    bool choice(const GiftQuestion& q, const Settings& s, model::Task& task);
    bool typed(const GiftQuestion& q, model::Task& task);
    bool numeric(const GiftQuestion& q, model::Task& task);
    void shuffle();
    void closeEdits();
    void number(const Settings& s);
    void place();

    OlympiadImport& out_;
    const ImportOptions& options_;
    // The choice tasks that may be shuffled: index, key of the text, variants kept in place.
    struct Shufflable {
        std::size_t index;
        std::uint64_t key;
        unsigned fixed;
    };
    std::vector<Shufflable> shufflable_;
    std::optional<SourcePos> sizesPos_;
    int nextNumber_ = 1;
    // The Edits task whose sub-questions are being read, as an index into out_.tasks.
    std::optional<std::size_t> edits_;
    bool editsBroken_ = false;
};

void Importer::run(const SourceText& source) {
    out_.encoding = source.encoding();
    run(readGift(source, out_.problems));
}

void Importer::run(const std::vector<GiftItem>& items) {
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
    std::vector<model::Task> tasks;
    for (const auto& t : out_.tasks)
        tasks.push_back(t.task);
    out_.bunched = answersBunched(tasks);
    if (options_.shuffle)
        shuffle();
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

bool Importer::checkName(const std::string& text, const Message<>& what, SourcePos pos) {
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
        if (o.key == "keep-order" && !o.value) {
            s.keepOrder = true;
            continue;
        }
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

// The answer as the scoring file holds it; an answer it cannot hold is reported with the
// severity given (a question left out, or an error inside an Edits task).
std::optional<Text> Importer::answer(const GiftAnswer& a, Severity severity) {
    if (a.text.text.find('\n') != std::string::npos) {
        out_.problems.push_back({severity, a.text.pos, {kavo::msg::olympiad::answerBreak, {}}});
        return std::nullopt;
    }
    std::string offending;
    auto text = answerText(a.text.text, offending);
    if (!text)
        out_.problems.push_back({severity,
                                 a.text.pos,
                                 {kavo::msg::olympiad::answerCodePage, {a.text.text, offending}}});
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
        leftOut(q.blockPos, {kavo::msg::olympiad::tooManyVariants, {std::to_string(count)}});
        return false;
    }
    if (count < 2) {
        leftOut(q.blockPos, {kavo::msg::olympiad::tooFewVariants, {std::to_string(count)}});
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
        leftOut(q.blockPos, {kavo::msg::olympiad::twoRight, {std::to_string(rightMarks)}});
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
        leftOut(q.blockPos, {kavo::msg::olympiad::noRight, {}});
        return false;
    }
    if (!equal)
        warning(q.blockPos, {kavo::msg::olympiad::weightsChanged, {letters}});
    return true;
}

void Importer::question(const GiftQuestion& q) {
    const Settings s = settings(q);
    if (q.feedback)
        warning(q.blockPos, out_.format == OlympiadFormat::MoodleXml
                                ? Note{kavo::msg::olympiad::feedbackXmlDropped, {}}
                                : Note{kavo::msg::olympiad::feedbackDropped, {}});
    auto notHere = [&](std::string_view key, const Message<>& kind) {
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
        const auto text = answer(q.answers[0], Severity::Error);
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
        warning(q.pos, {kavo::msg::olympiad::description, {}});
        return;
    case AnswerKind::Essay:
        leftOut(q.blockPos, {kavo::msg::olympiad::essay, {}});
        return;
    case AnswerKind::Numeric:
        notHere("folded", kavo::msg::olympiad::wordTyped);
        ok = numeric(q, task);
        break;
    case AnswerKind::Matching:
        leftOut(q.blockPos, {kavo::msg::olympiad::matching, {}});
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
        if (ok && !s.keepOrder) {
            unsigned fixed = 0;
            for (std::size_t i = 0; i < q.answers.size(); ++i)
                if (refersToOthers(q.answers[i].text.text))
                    fixed |= 1u << i;
            shufflable_.push_back({out_.tasks.size(), textKey(q), fixed});
        }
        break;
    case AnswerKind::Short:
        notHere("folded", kavo::msg::olympiad::wordTyped);
        ok = typed(q, task);
        break;
    }
    if (!ok)
        return;
    out_.tasks.push_back(std::move(imported));
    number(s);
}

// A typed answer: one accepted answer (a weight above 0, or none); with several, the first
// when the teacher chose so, else the question is left out.
bool Importer::typed(const GiftQuestion& q, model::Task& task) {
    std::vector<const GiftAnswer*> accepted;
    for (const auto& a : q.answers)
        if (!a.weight || *a.weight > 0)
            accepted.push_back(&a);
    if (accepted.empty()) {
        leftOut(q.blockPos, {kavo::msg::olympiad::twoTyped, {"0"}});
        return false;
    }
    if (accepted.size() > 1) {
        ++out_.severalAccepted;
        if (!options_.firstAnswer) {
            leftOut(q.blockPos, {kavo::msg::olympiad::twoTyped, {std::to_string(accepted.size())}});
            return false;
        }
        std::string others;
        for (std::size_t i = 1; i < accepted.size(); ++i)
            others += (i > 1 ? ", \"" : "\"") + accepted[i]->text.text + "\"";
        warning(q.blockPos, {kavo::msg::olympiad::firstKept, {accepted[0]->text.text, others}});
    }
    const auto& a = *accepted[0];
    if (q.answers.size() > accepted.size() || (a.weight && *a.weight != 100))
        warning(q.blockPos, {kavo::msg::olympiad::partialDropped, {}});
    task.kind = model::TaskKind::TypedAnswer;
    const auto text = answer(a, Severity::LeftOut);
    task.typedAnswer = text.value_or("");
    return text.has_value();
}

// A numeric answer that is one number, with no tolerance or a tolerance of 0, is a typed
// answer of that number as written; a range, a tolerance or several answers cannot be one.
bool Importer::numeric(const GiftQuestion& q, model::Task& task) {
    // A plain decimal number, read the same in every locale.
    const auto numberOf = [](std::string_view text) -> std::optional<double> {
        double value = 0;
        const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (text.empty() || ec != std::errc() || ptr != text.data() + text.size() ||
            text.find_first_of("eEiInN") != std::string_view::npos)
            return std::nullopt;
        return value;
    };
    std::vector<const GiftAnswer*> accepted;
    for (const auto& a : q.answers)
        if (!a.weight || *a.weight > 0)
            accepted.push_back(&a);
    if (accepted.size() == 1) {
        std::string_view value = accepted[0]->text.text;
        bool exact = true;
        if (const auto colon = value.find(':'); colon != std::string_view::npos) {
            const std::string_view tolerance = value.substr(colon + 1);
            exact = numberOf(tolerance) == 0.0;
            value = value.substr(0, colon);
        }
        if (exact && numberOf(value)) {
            GiftAnswer typedAnswer = *accepted[0];
            typedAnswer.text.text = std::string(value);
            warning(q.blockPos, {kavo::msg::olympiad::numericTyped, {std::string(value)}});
            if (q.answers.size() > 1 || (typedAnswer.weight && *typedAnswer.weight != 100))
                warning(q.blockPos, {kavo::msg::olympiad::partialDropped, {}});
            task.kind = model::TaskKind::TypedAnswer;
            const auto text = answer(typedAnswer, Severity::LeftOut);
            task.typedAnswer = text.value_or("");
            return text.has_value();
        }
    }
    leftOut(q.blockPos, {kavo::msg::olympiad::numeric, {}});
    return false;
}

void Importer::shuffle() {
    for (const auto& s : shufflable_) {
        auto& task = out_.tasks[s.index].task;
        if (isChoice(task.kind) && shuffleVariants(task, s.fixed, s.key))
            ++out_.shuffled;
    }
}

// Numbers against the part sizes, each number once, at most 99 tasks; the folder of each
// Edits task.
void Importer::place() {
    auto& tasks = out_.tasks;
    if (tasks.size() > 99) {
        // One row says it: the numbers past 99 would each repeat it.
        error(tasks[99].pos, {kavo::msg::olympiad::tooManyTasks, {}});
        return;
    }
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

OlympiadImport importGift(std::string_view bytes, const ImportOptions& options) {
    OlympiadImport out;
    if (auto source = decodeSource(bytes, out.problems))
        Importer(out, options).run(*source);
    return out;
}

OlympiadImport importGiftFile(const std::filesystem::path& path, const ImportOptions& options) {
    OlympiadImport out;
    if (auto source = readSource(path, out.problems))
        Importer(out, options).run(*source);
    return out;
}

OlympiadFormat formatOf(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    const auto start = bytes.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos)
        return OlympiadFormat::Gift;
    bytes.remove_prefix(start);
    for (std::string_view head : {"<?xml", "<quiz", "<!DOCTYPE", "<!--"})
        if (bytes.starts_with(head))
            return OlympiadFormat::MoodleXml;
    return OlympiadFormat::Gift;
}

OlympiadImport importOlympiad(std::string_view bytes, const ImportOptions& options) {
    if (formatOf(bytes) == OlympiadFormat::Gift)
        return importGift(bytes, options);
    OlympiadImport out;
    out.format = OlympiadFormat::MoodleXml;
    const auto items = readMoodleXml(bytes, out.problems, options, out.severalAccepted);
    if (countErrors(out.problems) == 0)
        Importer(out, options).run(items);
    return out;
}

OlympiadImport importOlympiadFile(const std::filesystem::path& path, const ImportOptions& options) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec)
        throw Error::cannotOpen(path);
    if (size > MaxFileBytes) {
        OlympiadImport out;
        out.problems.push_back({Severity::Error,
                                {1, 1},
                                {kavo::msg::olympiad::tooLarge,
                                 {std::to_string(size), std::to_string(MaxFileBytes)}}});
        return out;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw Error::cannotOpen(path);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw Error::cannotOpen(path);
    return importOlympiad(bytes, options);
}

} // namespace kavo::olympiad
