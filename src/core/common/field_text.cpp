// SPDX-License-Identifier: MIT
#include "core/common/field_text.hpp"

#include "core/common/codepage.hpp"
#include "core/common/messages.hpp"
#include "core/model/task.hpp"

#include <cstdint>
#include <cstdio>

namespace kavo {

namespace {

enum class Destination { Page, Xml, Scoring };

Destination destinationOf(TextField field) {
    switch (field) {
    case TextField::TypedAnswer:
    case TextField::SubAnswer:
        return Destination::Scoring;
    case TextField::EditsName:
    case TextField::RussianName:
    case TextField::EnglishName:
    case TextField::AuthorLine:
        return Destination::Xml;
    default:
        return Destination::Page;
    }
}

std::string codePoint(unsigned c) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", c);
    return text;
}

} // namespace

std::optional<InvalidCharacter> refuseFieldText(TextField field, std::string_view cp1251) {
    const Destination to = destinationOf(field);
    if (to == Destination::Scoring) {
        for (std::size_t i = 0; i < cp1251.size(); ++i) {
            const auto b = static_cast<unsigned char>(cp1251[i]);
            if (b < 0x20 || b == 0x7F || b == 0x98)
                return InvalidCharacter{i, codePoint(b)};
        }
        return std::nullopt;
    }
    if (to == Destination::Xml)
        for (std::size_t i = 0; i < cp1251.size(); ++i)
            if (cp1251[i] == '\t' || cp1251[i] == '\r' || cp1251[i] == '\n') {
                // A control character before the blank is reported first all the same.
                if (const auto earlier = findInvalidXmlCharacter(cp1251.substr(0, i)))
                    return earlier;
                return InvalidCharacter{i, codePoint(static_cast<unsigned char>(cp1251[i]))};
            }
    return findInvalidXmlCharacter(cp1251);
}

std::variant<Text, InvalidCharacter> fieldTextOfUtf8(TextField field, std::string_view utf8) {
    const bool answer = destinationOf(field) == Destination::Scoring;
    if (auto text =
            utf8ToCp1251(utf8, answer ? Unencodable::Refuse : Unencodable::CharacterReference)) {
        if (auto invalid = refuseFieldText(field, *text))
            return *invalid;
        return std::move(*text);
    }
    // The first character that made the conversion fail, or the first byte that is no
    // UTF-8 at all.
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = b < 0x80         ? 1
                                   : (b >> 5) == 6  ? 2
                                   : (b >> 4) == 14 ? 3
                                   : (b >> 3) == 30 ? 4
                                                    : 1;
        const auto one = utf8.substr(i, length);
        if (!utf8ToCp1251(one, answer ? Unencodable::Refuse : Unencodable::CharacterReference)) {
            if (length == 1 && b >= 0x80) {
                char byte[8];
                std::snprintf(byte, sizeof byte, "0x%02X", b);
                return InvalidCharacter{i, byte};
            }
            std::uint32_t c = length == 1 ? b : b & (0xFF >> (length + 1));
            for (std::size_t k = 1; k < one.size(); ++k)
                c = c << 6 | (static_cast<unsigned char>(one[k]) & 0x3F);
            return InvalidCharacter{i, codePoint(c)};
        }
        i += length;
    }
    return InvalidCharacter{0, codePoint(0xFFFD)};
}

const Message<>& fieldWord(TextField field) {
    switch (field) {
    case TextField::Condition:
        return msg::task::fieldCondition;
    case TextField::Variant:
        return msg::task::fieldVariantWord;
    case TextField::TypedAnswer:
        return msg::task::fieldTypedAnswer;
    case TextField::EditsCondition:
        return msg::task::fieldMainCondition;
    case TextField::SubQuestion:
        return msg::task::fieldQuestionWord;
    case TextField::SubAnswer:
        return msg::task::fieldSubAnswer;
    case TextField::EditsName:
        return msg::task::fieldEditsName;
    case TextField::RussianName:
        return msg::task::fieldRussianName;
    case TextField::EnglishName:
        return msg::task::fieldEnglishName;
    case TextField::AuthorLine:
        break;
    }
    return msg::task::fieldAuthorLine;
}

Text fieldRefusalMessage(TextField field, char letter, const InvalidCharacter& invalid, Lang lang) {
    Text name = fieldWord(field).in(lang);
    if (letter != 0)
        name += std::string(" ") + letter;
    return msg::task::refusedCharacter.in(lang, {name, invalid.description});
}

Text checkFieldText(TextField field, std::string_view cp1251, Lang lang, char letter) {
    const auto invalid = refuseFieldText(field, cp1251);
    return invalid ? fieldRefusalMessage(field, letter, *invalid, lang) : Text();
}

Text checkTaskTexts(const model::Task& task, Lang lang) {
    Text refused;
    auto check = [&](TextField field, const Text& text, char letter = 0) {
        refused += checkFieldText(field, text, lang, letter);
    };
    if (task.kind == model::TaskKind::Edits) {
        check(TextField::EditsCondition, task.condition);
        for (std::size_t i = 0; i < task.subQuestions.size(); ++i) {
            const char letter = static_cast<char>('A' + i);
            check(TextField::SubQuestion, task.subQuestions[i].question, letter);
            check(TextField::SubAnswer, task.subQuestions[i].answer, letter);
        }
        return refused;
    }
    check(TextField::Condition, task.condition);
    if (model::isChoice(task.kind)) {
        for (std::size_t i = 0; i < task.variants.size(); ++i)
            if (task.variants[i])
                check(TextField::Variant, *task.variants[i], static_cast<char>('A' + i));
    } else {
        check(TextField::TypedAnswer, task.typedAnswer);
    }
    return refused;
}

} // namespace kavo
