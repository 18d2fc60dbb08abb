// SPDX-License-Identifier: MIT
#pragma once
// The boundary between the widgets (Unicode, LF) and the program's text (Windows-1251,
// CR LF), plus the few widget reads every window needs.

#include "core/common/codepage.hpp"
#include "core/common/lang.hpp"
#include "core/common/text.hpp"

#include <QString>
#include <filesystem>
#include <optional>

class QListWidget;
class QPlainTextEdit;

namespace kavo::app {

// Widget text to program text: LF becomes CR LF; a character the code page cannot hold
// becomes "&#N;" (CharacterReference) or makes the result empty (Refuse). A lone surrogate,
// a non-character or a control character that the code page cannot hold makes it empty in
// either mode.
std::optional<Text> toText(const QString& text, Unencodable mode);
// Page and description text. Throws kavo::Error naming the characters when toText gives
// none: check with unencodableCharacters first to word it in the interface language.
Text toPageText(const QString& text);
// Program text to widget text: CR LF (and a lone CR) becomes LF.
QString fromText(std::string_view text);

// The characters of text that the code page cannot hold, each once, in order; one that
// cannot be seen (a lone surrogate, a control character) by its code point, "≤ U+D800 ≠".
QString unencodableCharacters(const QString& text);

// The exact text of a multi-line field: unlike toPlainText(), keeps no-break spaces.
QString plainText(const QPlainTextEdit* edit);

// A text of the message table in the interface language, "%1" ... replaced by the
// arguments (UTF-8); as many arguments as the message has.
inline QString text(const Message<>& message, Lang lang) {
    return QString::fromStdString(message.utf8(lang));
}
template <int N, std::size_t K>
requires(K == N) QString
    text(const Message<N>& message, Lang lang, const std::string_view (&args)[K]) {
    return QString::fromStdString(message.utf8(lang, args));
}

// A report of the logic (UTF-8 paths, or Windows-1251 text typed in the form).
QString fromReport(std::string_view report);

// File paths are UTF-8 on disk.
QString fromPath(const std::filesystem::path& path);
std::filesystem::path toPath(const QString& path);

// A list's selected position is its selection model, never its current row.
std::optional<int> selectedRow(const QListWidget* list);
// Selects the row; a row outside the list leaves nothing selected.
void selectRow(QListWidget* list, std::optional<int> row);

} // namespace kavo::app
