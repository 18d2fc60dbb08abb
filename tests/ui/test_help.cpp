// SPDX-License-Identifier: MIT
// Help where the teacher looks: a tooltip on every input and button, an accessible name on
// every widget, both in the interface language; placeholders in the empty name fields; a
// removed variant greyed out.
#include "ui/common/click_label.hpp"
#include "ui/support/ui_fixture.hpp"

#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

using namespace kavo::test;
using namespace Qt::Literals::StringLiterals;

namespace {

bool cyrillic(const QString& text) {
    for (const QChar c : text)
        if (c.script() == QChar::Script_Cyrillic)
            return true;
    return false;
}

// Captions the same in both languages: the name a screen reader reads may stay so.
const QStringList SameInBothLanguages = {u"Ok"_s, u"Part A"_s, u"Part B"_s, u"Part C"_s, u"A"_s,
                                         u"B"_s,  u"C"_s,      u"D"_s,      u"E"_s,      u"A)"_s,
                                         u"B)"_s, u"C)"_s,     u"D)"_s};

// The program's own widgets of a window (Qt's inner parts have no name of ours or "qt_" ones).
QList<QWidget*> ownWidgets(QWidget* window) {
    QList<QWidget*> widgets;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        const QString name = widget->objectName();
        // The olympiad language group is never shown.
        const bool neverShown = name.startsWith(u"Radio"_s);
        if (!name.isEmpty() && !name.startsWith(u"qt_"_s) && !neverShown)
            widgets << widget;
    }
    return widgets;
}

bool takesInput(const QWidget* widget) {
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget) ||
           qobject_cast<const QListWidget*>(widget) ||
           qobject_cast<const QAbstractButton*>(widget) ||
           qobject_cast<const kavo::app::ClickLabel*>(widget);
}

using Help = UiFixture;

} // namespace

TEST_F(Help, EveryWidgetIsNamedAndEveryInputExplainedInTheInterfaceLanguage) {
    prepare("En\r\n");
    for (const char* language : {"En\r\n", "Rus\r\n"}) {
        program.reset();
        writeBytes(systemFolder() / "Language" / "Language.txt", language);
        ASSERT_TRUE(start());
        form1()->showOverview(); // a window of Form1's: its widgets are checked with Form1's
        const bool russian = language[0] == 'R';
        for (QWidget* window : {static_cast<QWidget*>(form1()), static_cast<QWidget*>(form2()),
                                static_cast<QWidget*>(form3())}) {
            for (QWidget* widget : ownWidgets(window)) {
                const std::string where = language + window->objectName().toStdString() + "." +
                                          widget->objectName().toStdString();
                QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
                ASSERT_NE(accessible, nullptr) << where;
                const QString name = accessible->text(QAccessible::Name);
                EXPECT_FALSE(name.isEmpty()) << where;
                if (russian && !SameInBothLanguages.contains(name)) {
                    EXPECT_TRUE(cyrillic(name)) << where << ": " << name.toStdString();
                }
                if (!takesInput(widget))
                    continue;
                EXPECT_FALSE(widget->toolTip().isEmpty()) << where;
                EXPECT_EQ(cyrillic(widget->toolTip()), russian) << where;
            }
        }
        // The empty name fields show an example.
        const std::pair<QWidget*, const char*> names[] = {{form1(), "Edit7"},
                                                          {form1(), "Edit8"},
                                                          {form2(), "Edit1"},
                                                          {form3(), "Edit5"},
                                                          {form3(), "Edit6"}};
        for (const auto& [window, field] : names) {
            const QString example =
                window->findChild<QLineEdit*>(QString::fromLatin1(field))->placeholderText();
            EXPECT_FALSE(example.isEmpty()) << field;
            EXPECT_EQ(cyrillic(example.section(u':', 0, 0)), russian) << field;
        }
    }
}

TEST_F(Help, ATickedRemoveBoxGreysOutWhatItRemoves) {
    struct Case {
        bool edits; // the Edits builder, else the main window
        std::vector<const char*> clicks;
        std::vector<const char*> greyed; // of all the fields a remove box can grey out
    };
    const std::vector<const char*> mainFields = {"VariantOtveta_3", "VariantOtveta_4",
                                                 "VariantOtveta_5"};
    const std::vector<const char*> editsFields = {"Memo4", "Edit3", "Memo5", "Edit4"};
    const Case cases[] = {
        {false, {"CheckBox3"}, {"VariantOtveta_5"}},
        {false, {"CheckBox1"}, {"VariantOtveta_3", "VariantOtveta_4", "VariantOtveta_5"}},
        {false, {"CheckBox1", "CheckBox2"}, {"VariantOtveta_5"}},
        {false, {"CheckBox1", "CheckBox3"}, {}},
        {true, {"CheckBox2"}, {"Memo5", "Edit4"}},
        {true, {"CheckBox1"}, {"Memo4", "Edit3", "Memo5", "Edit4"}},
        {true, {"CheckBox1", "CheckBox2"}, {}},
    };
    started();
    for (const Case& c : cases) {
        QWidget* window = c.edits ? static_cast<QWidget*>(form3()) : form1();
        window->show();
        const auto box = [&](const char* name) {
            return window->findChild<QCheckBox*>(QString::fromLatin1(name));
        };
        for (const char* name : {"CheckBox1", "CheckBox2", "CheckBox3"})
            if (box(name) && box(name)->isChecked())
                QTest::mouseClick(box(name), Qt::LeftButton);
        for (const char* click : c.clicks)
            QTest::mouseClick(box(click), Qt::LeftButton);
        for (const char* field : c.edits ? editsFields : mainFields) {
            const bool greyed = std::find(c.greyed.begin(), c.greyed.end(),
                                          std::string_view(field)) != c.greyed.end();
            EXPECT_EQ(window->findChild<QWidget*>(QString::fromLatin1(field))->isEnabled(), !greyed)
                << c.clicks.back() << " " << field;
        }
    }
}
