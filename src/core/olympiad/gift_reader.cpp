// SPDX-License-Identifier: MIT
#include "core/olympiad/gift_reader.hpp"

#include "core/common/messages.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace kavo::olympiad {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool isEscapable(char c) {
    return c == '\\' || c == ':' || c == '#' || c == '=' || c == '{' || c == '}' || c == '~' ||
           c == 'n';
}

std::string trimmed(std::string_view s) {
    std::size_t a = 0, b = s.size();
    while (a < b && isBlank(s[a]))
        ++a;
    while (b > a && isBlank(s[b - 1]))
        --b;
    return std::string(s.substr(a, b - a));
}

// The text lines of one question joined by '\n', each byte remembering its offset in the
// source so that every part is reported where the teacher sees it.
class Block {
  public:
    Block(const SourceText& source, std::vector<Problem>& problems)
        : source_(source), problems_(problems) {}

    void addLine(std::size_t begin, std::size_t end) {
        lines_.push_back({text_.size(), begin});
        text_.append(source_.text(), begin, end - begin);
        text_ += '\n';
    }
    bool empty() const { return text_.empty(); }
    void clear() {
        text_.clear();
        lines_.clear();
    }

    GiftQuestion* parse(std::vector<GiftItem>& items, std::vector<KavoOption> options);

  private:
    std::size_t size() const { return text_.size(); }
    char at(std::size_t i) const { return i < text_.size() ? text_[i] : '\0'; }
    bool escapeAt(std::size_t i) const { return at(i) == '\\' && isEscapable(at(i + 1)); }
    // The place of text_[i] in the source: its line of the block begins at lines_[k].
    SourcePos pos(std::size_t i) const {
        if (lines_.empty())
            return source_.posOf(0);
        i = std::min(i, text_.size() - 1);
        const auto line =
            std::upper_bound(lines_.begin(), lines_.end(), i,
                             [](std::size_t at, const Line& l) { return at < l.block; }) -
            1;
        return source_.posOf(line->source + (i - line->block));
    }
    std::size_t skipBlanks(std::size_t i, std::size_t end) const {
        while (i < end && isBlank(text_[i]))
            ++i;
        return i;
    }
    bool startsWith(std::size_t i, std::string_view what) const {
        return std::string_view(text_).substr(i, what.size()) == what;
    }
    // The first unescaped character of `set` in [i, end), or end.
    std::size_t findUnescaped(std::size_t i, std::size_t end, std::string_view set) const {
        while (i < end) {
            if (escapeAt(i))
                i += 2;
            else if (set.find(text_[i]) != std::string_view::npos)
                return i;
            else
                ++i;
        }
        return end;
    }
    std::string unescape(std::size_t i, std::size_t end) const {
        std::string out;
        out.reserve(end - i);
        while (i < end) {
            if (escapeAt(i)) {
                out += text_[i + 1] == 'n' ? '\n' : text_[i + 1];
                i += 2;
            } else {
                out += text_[i++];
            }
        }
        return out;
    }
    // A leading [html], [plain], [markdown] or [moodle]: its format and the text after it.
    std::size_t format(std::size_t i, TextFormat& fmt) const {
        static constexpr std::pair<std::string_view, TextFormat> tags[] = {
            {"[html]", TextFormat::Html},
            {"[plain]", TextFormat::Plain},
            {"[markdown]", TextFormat::Markdown},
            {"[moodle]", TextFormat::Moodle}};
        for (const auto& [tag, f] : tags)
            if (startsWith(i, tag)) {
                fmt = f;
                return i + tag.size();
            }
        return i;
    }
    void error(std::size_t i, Note note) {
        problems_.push_back({Severity::Error, pos(i), std::move(note)});
    }
    bool parseAnswers(GiftQuestion& q, std::size_t a, std::size_t b);
    bool parseAnswerList(GiftQuestion& q, std::size_t a, std::size_t b);

    const SourceText& source_;
    std::vector<Problem>& problems_;
    // Where each line of the block starts, in text_ and in the source.
    struct Line {
        std::size_t block, source;
    };
    std::string text_;
    std::vector<Line> lines_;
};

GiftQuestion* Block::parse(std::vector<GiftItem>& items, std::vector<KavoOption> options) {
    const std::size_t n = size();
    std::size_t i = skipBlanks(0, n);
    if (startsWith(i, "$CATEGORY:")) {
        const auto lineEnd = text_.find('\n', i);
        items.push_back(GiftCategory{
            trimmed(std::string_view(text_).substr(i + 10, lineEnd - i - 10)), pos(i)});
        i = skipBlanks(lineEnd, n);
        if (i == n) {
            if (!options.empty())
                error(0, {kavo::msg::olympiad::kavoAlone, {}});
            return nullptr;
        }
    }
    GiftQuestion q;
    q.pos = pos(i);
    q.options = std::move(options);
    if (startsWith(i, "::")) {
        std::size_t j = i + 2;
        while (j < n && !startsWith(j, "::"))
            j += escapeAt(j) ? 2 : 1;
        if (j >= n) {
            error(i, {kavo::msg::olympiad::titleNotClosed, {}});
            return nullptr;
        }
        q.title = trimmed(unescape(i + 2, j));
        q.titlePos = pos(i);
        i = skipBlanks(j + 2, n);
    }
    q.stem.format = TextFormat::Moodle;
    i = format(i, q.stem.format);
    i = skipBlanks(i, n);
    q.stem.pos = pos(i);
    const std::size_t open = findUnescaped(i, n, "{}");
    if (open < n && text_[open] == '}') {
        error(open, {kavo::msg::olympiad::strayClosing, {}});
        return nullptr;
    }
    if (open == n) {
        q.stem.text = trimmed(unescape(i, n));
        items.push_back(std::move(q));
        return &std::get<GiftQuestion>(items.back());
    }
    const std::size_t close = findUnescaped(open + 1, n, "{}");
    if (close == n) {
        error(open, {kavo::msg::olympiad::blockNotClosed, {}});
        return nullptr;
    }
    if (text_[close] == '{') {
        error(close, {kavo::msg::olympiad::braceInBlock, {}});
        return nullptr;
    }
    const std::size_t after = findUnescaped(close + 1, n, "{}");
    if (after < n) {
        error(after, text_[after] == '{' ? Note{kavo::msg::olympiad::secondBlock, {}}
                                         : Note{kavo::msg::olympiad::strayClosing, {}});
        return nullptr;
    }
    const std::string before = trimmed(unescape(i, open));
    const std::string rest = trimmed(unescape(close + 1, n));
    q.stem.text = rest.empty() ? before : (before.empty() ? "" : before + " ") + "_____ " + rest;
    q.blockPos = pos(open);
    if (!parseAnswers(q, open + 1, close))
        return nullptr;
    items.push_back(std::move(q));
    return &std::get<GiftQuestion>(items.back());
}

// Classifies the block as Moodle does: '#' numeric (its answers read as typed ones), any
// '~' a choice, '=' with '->' matching, T/F, else typed answers.
bool Block::parseAnswers(GiftQuestion& q, std::size_t a, std::size_t b) {
    const std::size_t first = skipBlanks(a, b);
    if (first == b) {
        q.kind = AnswerKind::Essay;
        return true;
    }
    for (std::size_t k = findUnescaped(a, b, "#"); k < b; k = findUnescaped(k + 1, b, "#"))
        if (startsWith(k, "####")) {
            q.feedback = true;
            b = k;
            break;
        }
    // An essay with general feedback, {####...}, is an essay all the same.
    if (skipBlanks(a, b) == b) {
        q.kind = AnswerKind::Essay;
        return true;
    }
    if (text_[first] == '#') {
        q.kind = AnswerKind::Numeric;
        return parseAnswerList(q, first + 1, b);
    }
    const bool tilde = findUnescaped(a, b, "~") < b;
    const bool equals = findUnescaped(a, b, "=") < b;
    const bool arrow =
        std::string_view(text_).substr(a, b - a).find("->") != std::string_view::npos;
    if (tilde) {
        q.kind = AnswerKind::Choice;
        return parseAnswerList(q, a, b);
    }
    if (equals && arrow) {
        q.kind = AnswerKind::Matching;
        return true;
    }
    const std::size_t hash = findUnescaped(a, b, "#");
    const std::string word = trimmed(std::string_view(text_).substr(a, hash - a));
    if (word == "T" || word == "TRUE" || word == "F" || word == "FALSE") {
        q.kind = AnswerKind::TrueFalse;
        q.truth = word[0] == 'T';
        q.feedback = q.feedback || hash < b;
        return true;
    }
    q.kind = AnswerKind::Short;
    return parseAnswerList(q, a, b);
}

bool Block::parseAnswerList(GiftQuestion& q, std::size_t a, std::size_t b) {
    std::size_t m = findUnescaped(a, b, "=~");
    const std::size_t lead = skipBlanks(a, m);
    if (lead < m) {
        if (m < b || (q.kind != AnswerKind::Short && q.kind != AnswerKind::Numeric)) {
            error(lead, {kavo::msg::olympiad::textBeforeAnswers, {}});
            return false;
        }
        m = lead; // a bare typed answer: {answer}
    }
    bool ok = true;
    while (m < b) {
        const bool bare = text_[m] != '=' && text_[m] != '~';
        const std::size_t next = findUnescaped(bare ? m : m + 1, b, "=~");
        GiftAnswer answer;
        answer.marker = bare ? '\0' : text_[m];
        answer.pos = pos(m);
        std::size_t k = skipBlanks(bare ? m : m + 1, next);
        if (at(k) == '%') {
            // Looked for within the answer only: a '%' per answer stays linear.
            const std::size_t close = std::string_view(text_).substr(0, next).find('%', k + 1);
            double value = 0;
            const char* begin = text_.data() + k + 1;
            const char* end = text_.data() + std::min(close, next);
            const auto [ptr, ec] = std::from_chars(begin, end, value);
            if (close >= next || ec != std::errc() || ptr != end || !std::isfinite(value) ||
                value < -100 || value > 100) {
                error(k, {kavo::msg::olympiad::badWeight,
                          {std::string(text_, k, (close >= next ? next : close + 1) - k)}});
                ok = false;
                m = next;
                continue;
            }
            answer.weight = value;
            k = skipBlanks(close + 1, next);
        }
        const std::size_t hash = findUnescaped(k, next, "#");
        q.feedback = q.feedback || hash < next;
        answer.text.format = q.stem.format;
        k = format(k, answer.text.format);
        k = skipBlanks(k, hash);
        answer.text.pos = pos(k);
        answer.text.text = trimmed(unescape(k, hash));
        if (answer.text.text.empty()) {
            // Placed where the answer begins, found already: no count back along the line.
            problems_.push_back(
                {Severity::Error, answer.pos, {kavo::msg::olympiad::emptyAnswer, {}}});
            ok = false;
        }
        q.answers.push_back(std::move(answer));
        m = next;
    }
    return ok;
}

bool isBlankLine(std::string_view line) {
    for (char c : line)
        if (!isBlank(c))
            return false;
    return true;
}

} // namespace

std::vector<KavoOption> parseKavoOptions(const SourceText& source, std::size_t offset,
                                         std::size_t end, std::vector<Problem>& problems) {
    const std::string& s = source.text();
    std::vector<KavoOption> options;
    std::size_t i = offset;
    while (true) {
        while (i < end && isBlank(s[i]))
            ++i;
        if (i >= end)
            break;
        const std::size_t start = i;
        while (i < end &&
               ((s[i] >= 'a' && s[i] <= 'z') || (s[i] >= '0' && s[i] <= '9') || s[i] == '-'))
            ++i;
        KavoOption option{s.substr(start, i - start), std::nullopt, source.posOf(start)};
        if (i < end && s[i] == '=') {
            ++i;
            std::string value;
            if (i < end && s[i] == '"') {
                ++i;
                while (i < end && s[i] != '"') {
                    if (s[i] == '\\' && i + 1 < end && (s[i + 1] == '"' || s[i + 1] == '\\'))
                        ++i;
                    value += s[i++];
                }
                if (i >= end) {
                    problems.push_back({Severity::Error,
                                        option.pos,
                                        {kavo::msg::olympiad::kavoBadValue,
                                         {option.key, kavo::msg::olympiad::wordQuoted}}});
                    return options;
                }
                ++i;
            } else {
                while (i < end && !isBlank(s[i]))
                    value += s[i++];
            }
            option.value = std::move(value);
        } else if (i < end && !isBlank(s[i])) {
            std::size_t j = i;
            while (j < end && !isBlank(s[j]))
                ++j;
            problems.push_back({Severity::Error,
                                option.pos,
                                {kavo::msg::olympiad::kavoUnknown, {s.substr(start, j - start)}}});
            i = j;
            continue;
        }
        options.push_back(std::move(option));
    }
    return options;
}

std::vector<GiftItem> readGift(const SourceText& source, std::vector<Problem>& problems) {
    const std::string& s = source.text();
    std::vector<GiftItem> items;
    Block block(source, problems);
    std::vector<KavoOption> options;
    std::optional<SourcePos> kavoPos;
    auto finish = [&] {
        if (!block.empty())
            block.parse(items, std::move(options));
        else if (kavoPos)
            problems.push_back({Severity::Error, *kavoPos, {kavo::msg::olympiad::kavoAlone, {}}});
        block.clear();
        options.clear();
        kavoPos.reset();
    };
    std::size_t begin = 0;
    while (begin <= s.size()) {
        std::size_t end = s.find('\n', begin);
        if (end == std::string::npos)
            end = s.size();
        const std::string_view line(s.data() + begin, end - begin);
        if (isBlankLine(line)) {
            finish();
        } else {
            std::size_t p = 0;
            while (isBlank(line[p]))
                ++p;
            if (line.substr(p, 2) == "//") {
                std::size_t q = p + 2;
                while (q < line.size() && isBlank(line[q]))
                    ++q;
                if (line.substr(q, 5) == "kavo:") {
                    if (!block.empty()) {
                        problems.push_back({Severity::Error,
                                            source.posOf(begin + p),
                                            {kavo::msg::olympiad::kavoAfterText, {}}});
                    } else {
                        if (!kavoPos)
                            kavoPos = source.posOf(begin + p);
                        auto more = parseKavoOptions(source, begin + q + 5, end, problems);
                        options.insert(options.end(), more.begin(), more.end());
                    }
                }
            } else {
                block.addLine(begin, end);
            }
        }
        if (end == s.size())
            break;
        begin = end + 1;
    }
    finish();
    return items;
}

} // namespace kavo::olympiad
