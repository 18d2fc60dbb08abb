// SPDX-License-Identifier: MIT
#include "ui/common/text_bridge.hpp"

#include "core/common/error.hpp"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QStringDecoder>
#include <QTextDocument>

#include <algorithm>
#include <vector>

namespace kavo::app {

namespace {

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
        return;
    }
    static constexpr unsigned char lead[] = {0, 0xC0, 0xE0, 0xF0};
    const int tail = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    out += static_cast<char>(lead[tail] | (c >> (6 * tail)));
    for (int i = tail - 1; i >= 0; --i)
        out += static_cast<char>(0x80 | ((c >> (6 * i)) & 0x3F));
}

// The characters of a widget's text, a lone surrogate as itself (QString::toUtf8 and
// toUcs4 would make "?" and U+FFFD of it, hiding it).
std::vector<char32_t> charactersOf(const QString& text) {
    std::vector<char32_t> out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            out.push_back(QChar::surrogateToUcs4(unit, text[++i].unicode()));
        else
            out.push_back(unit);
    }
    return out;
}

// UTF-8 bytes of the characters, a lone surrogate as the three bytes of its code point, so
// that the code page refuses it by name. Qt's own conversion is exact unless it wrote a "?"
// for a lone surrogate: only a text with a "?" is converted here character by character.
std::string utf8Of(const QString& text) {
    const QByteArray fast = text.toUtf8();
    if (!fast.contains('?'))
        return std::string(fast.constData(), static_cast<std::size_t>(fast.size()));
    std::string out;
    out.reserve(static_cast<std::size_t>(fast.size()));
    for (const char32_t c : charactersOf(text))
        appendUtf8(out, c);
    return out;
}

// A character as a message shows it: itself when it can be seen, else its code point.
QString shown(char32_t c) {
    if (QChar::isPrint(c))
        return QString::fromUcs4(&c, 1);
    return QStringLiteral("U+%1").arg(static_cast<uint>(c), 4, 16, QChar(u'0')).toUpper();
}

} // namespace

std::optional<Text> toText(const QString& text, Unencodable mode) {
    auto bytes = utf8ToCp1251(utf8Of(text), mode);
    if (!bytes)
        return std::nullopt;
    return normaliseBreaks(*bytes);
}

Text toPageText(const QString& text) {
    auto bytes = toText(text, Unencodable::CharacterReference);
    if (!bytes) {
        // A window names such characters in its own language before it converts; this
        // keeps any caller from writing a replacement in their place.
        const QString report =
            QString::fromUtf8("The text holds characters that cannot be written: %1\n"
                              "Текст содержит символы, которые нельзя записать: %1")
                .arg(unencodableCharacters(text));
        throw Error(report.toStdString());
    }
    return *bytes;
}

QString fromText(std::string_view text) {
    const std::string utf8 = cp1251ToUtf8(text);
    QString out = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(QChar(u'\r'), QChar(u'\n'));
    return out;
}

QString unencodableCharacters(const QString& text) {
    QString out;
    std::vector<char32_t> seen;
    bool named = false; // the last one shown is a code point: a space keeps it apart
    for (const char32_t c : charactersOf(text)) {
        std::string utf8;
        appendUtf8(utf8, c);
        if (utf8ToCp1251(utf8, Unencodable::Refuse) ||
            std::find(seen.begin(), seen.end(), c) != seen.end())
            continue;
        seen.push_back(c);
        const QString one = shown(c);
        const bool name = !QChar::isPrint(c);
        if (!out.isEmpty() && (name || named))
            out += u' ';
        out += one;
        named = name;
    }
    return out;
}

QString plainText(const QPlainTextEdit* edit) {
    QString text = edit->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QChar(u'\n'));
    text.replace(QChar::LineSeparator, QChar(u'\n'));
    return text;
}

QString fromReport(std::string_view report) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text =
        utf8.decode(QByteArrayView(report.data(), static_cast<qsizetype>(report.size())));
    return utf8.hasError() ? fromText(report) : text;
}

QString fromPath(const std::filesystem::path& path) {
    const auto u8 = path.u8string();
    return QString::fromUtf8(reinterpret_cast<const char*>(u8.data()),
                             static_cast<qsizetype>(u8.size()));
}

std::filesystem::path toPath(const QString& path) {
    const QByteArray utf8 = path.toUtf8();
    return std::filesystem::path(
        std::u8string(reinterpret_cast<const char8_t*>(utf8.constData()), utf8.size()));
}

std::optional<int> selectedRow(const QListWidget* list) {
    const auto rows = list->selectionModel()->selectedIndexes();
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first().row();
}

void selectRow(QListWidget* list, std::optional<int> row) {
    if (!row || *row < 0 || *row >= list->count()) {
        list->selectionModel()->clear();
        return;
    }
    list->setCurrentRow(*row, QItemSelectionModel::ClearAndSelect);
}

} // namespace kavo::app
