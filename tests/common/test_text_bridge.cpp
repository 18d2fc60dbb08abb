// SPDX-License-Identifier: MIT
// Widget text with characters the code page cannot hold, lone surrogates included: none is
// turned into "?" or a replacement on its way to the core.
#include "core/common/error.hpp"
#include "ui/common/text_bridge.hpp"
#include "ui/common/widget_help.hpp"

#include <gtest/gtest.h>

using kavo::Unencodable;
using namespace kavo::app;

namespace {

QString withUnits(const QString& before, std::initializer_list<char16_t> units,
                  const QString& after = {}) {
    QString text = before;
    for (const char16_t unit : units)
        text += QChar(unit);
    return text + after;
}

} // namespace

TEST(TextBridge, LoneSurrogatesAndNonCharactersAreRefusedByName) {
    struct Case {
        const char* name;
        QString text;
        std::optional<kavo::Text> page, answer; // none: refused
        QString named;                          // as the window names the refused ones
    };
    const Case cases[] = {
        {"Cyrillic and a line break",
         QString::fromUtf8("Да\nнет"),
         "\xC4\xE0\r\n\xED\xE5\xF2",
         "\xC4\xE0\r\n\xED\xE5\xF2",
         {}},
        {"a sign", QString::fromUtf8("x≤2"), "x&#8804;2", {}, QString::fromUtf8("≤")},
        {"a question", QString::fromUtf8("Да?"), "\xC4\xE0?", "\xC4\xE0?", {}},
        {"a pair",
         withUnits(u"a"_qs, {0xD83D, 0xDE00}),
         "a&#128512;",
         {},
         withUnits({}, {0xD83D, 0xDE00})},
        {"a lone high surrogate", withUnits(u"a"_qs, {0xD800}, u"b"_qs), {}, {}, u"U+D800"_qs},
        {"a pair the wrong way round",
         withUnits({}, {0xDE00, 0xD83D}),
         {},
         {},
         u"U+DE00 U+D83D"_qs},
        {"a non-character",
         withUnits(QString::fromUtf8("≤"), {0xFFFE}),
         {},
         {},
         QString::fromUtf8("≤ U+FFFE")},
        {"a C1 control", withUnits({}, {0x0085}), {}, {}, u"U+0085"_qs},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(toText(c.text, Unencodable::CharacterReference), c.page) << c.name;
        EXPECT_EQ(toText(c.text, Unencodable::Refuse), c.answer) << c.name;
        EXPECT_EQ(unencodableCharacters(c.text), c.named) << c.name;
        if (c.page) {
            EXPECT_EQ(toPageText(c.text), *c.page) << c.name;
        } else {
            try {
                toPageText(c.text);
                ADD_FAILURE() << c.name;
            } catch (const kavo::Error& e) {
                EXPECT_TRUE(QString::fromUtf8(e.what()).contains(c.named)) << e.what();
            }
        }
    }
}

// A caption as a reader hears it: the mnemonic's "&" gone, "&&" one "&", a last "&" kept.
TEST(TextBridge, ShownCaptionDropsOnlyMnemonicMarks) {
    const std::pair<QString, QString> cases[] = {
        {u"&Add task"_qs, u"Add task"_qs},  {u"Save && go"_qs, u"Save & go"_qs},
        {u"Ends in &"_qs, u"Ends in &"_qs}, {u"&"_qs, u"&"_qs},
        {u" W&rite "_qs, u"Write"_qs},      {QString::fromUtf8("&Да"), QString::fromUtf8("Да")},
    };
    for (const auto& [caption, shown] : cases)
        EXPECT_EQ(shownCaption(caption), shown) << caption.toStdString();
}
