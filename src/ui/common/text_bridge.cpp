// SPDX-License-Identifier: MIT
#include "ui/common/text_bridge.hpp"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QStringDecoder>
#include <QTextDocument>

namespace kavo::app {

std::optional<Text> toText(const QString& text, Unencodable mode) {
    const QByteArray utf8 = text.toUtf8();
    auto bytes = utf8ToCp1251(std::string_view(utf8.constData(), utf8.size()), mode);
    if (!bytes)
        return std::nullopt;
    return normaliseBreaks(*bytes);
}

Text toPageText(const QString& text) {
    return *toText(text, Unencodable::CharacterReference);
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
    for (const char32_t c : text.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        const QByteArray utf8 = one.toUtf8();
        if (!utf8ToCp1251(std::string_view(utf8.constData(), utf8.size()), Unencodable::Refuse) &&
            !out.contains(one))
            out += one;
    }
    return out;
}

QString plainText(const QPlainTextEdit* edit) {
    QString text = edit->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QChar(u'\n'));
    text.replace(QChar::LineSeparator, QChar(u'\n'));
    return text;
}

QString text(const Message& message, Lang lang, std::initializer_list<std::string_view> args) {
    return QString::fromStdString(message.utf8(lang, args));
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
