// SPDX-License-Identifier: MIT
// The desktop's own dialogs as the program opens them: the program's name as their title,
// and Qt's texts (buttons, the folder chooser) in the interface language.
#include "ui/common/qt_platform.hpp"
#include "ui/common/text_bridge.hpp"
#include "ui/support/ui_fixture.hpp"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

using namespace kavo::test;
using namespace Qt::Literals::StringLiterals;

namespace {

// The texts a teacher reads in the dialog that open() shows; the dialog is then closed.
QStringList textsOf(const std::function<void()>& open,
                    const std::function<QStringList(QWidget*)>& read) {
    QStringList texts;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        texts = read(dialog);
        qobject_cast<QDialog*>(dialog)->reject();
    });
    open();
    return texts;
}

QStringList title(QWidget* dialog) {
    return {dialog->windowTitle()};
}

QStringList titleAndButtons(QWidget* dialog) {
    QStringList texts{dialog->windowTitle()};
    for (QAbstractButton* button : qobject_cast<QMessageBox*>(dialog)->buttons())
        texts << button->text();
    return texts;
}

QStringList chooserTexts(QWidget* dialog) {
    QStringList texts{dialog->windowTitle(), dialog->findChild<QLabel*>(u"lookInLabel"_s)->text()};
    for (QAbstractButton* button : dialog->findChild<QDialogButtonBox*>(u"buttonBox"_s)->buttons())
        texts << button->text();
    return texts;
}

bool cyrillic(const QString& text) {
    for (const QChar c : text)
        if (c.script() == QChar::Script_Cyrillic)
            return true;
    return false;
}

using QtDialogs = UiFixture;

} // namespace

TEST_F(QtDialogs, CarryTheProgramsNameAndQtsTextsInTheInterfaceLanguage) {
    kavo::app::QtPlatform desktop;
    struct Case {
        const char* dialog;
        std::function<void()> open;
        std::function<QStringList(QWidget*)> read;
        QStringList english; // Russian: the title the same, every other text Cyrillic
    };
    const Case cases[] = {
        {"question",
         [&] { desktop.question(form1(), u"?"_s); },
         titleAndButtons,
         {u"Kavo Program"_s, u"&Yes"_s, u"&No"_s}},
        // Their "OK" is Qt's in both languages.
        {"information", [&] { desktop.information(form1(), u"i"_s); }, title, {u"Kavo Program"_s}},
        {"error", [&] { desktop.error(form1(), u"e"_s); }, title, {u"Kavo Program"_s}},
        {"folder chooser",
         [&] { desktop.chooseFolder(form1(), u"Kavo Program"_s, kavo::app::fromPath(dir.path())); },
         chooserTexts,
         {u"Kavo Program"_s, u"Look in:"_s, u"&Choose"_s, u"Cancel"_s}},
    };
    prepare("En\r\n");
    for (const char* language : {"En\r\n", "Rus\r\n"}) {
        program.reset();
        writeBytes(systemFolder() / "Language" / "Language.txt", language);
        ASSERT_TRUE(start());
        const bool english = language[0] == 'E';
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.dialog) + " " + language);
            const QStringList texts = textsOf(c.open, c.read);
            ASSERT_EQ(texts.size(), c.english.size()) << texts.join(u'|').toStdString();
            EXPECT_EQ(texts[0], c.english[0]);
            for (qsizetype i = 1; i < texts.size(); ++i) {
                if (english)
                    EXPECT_EQ(texts[i], c.english[i]);
                else
                    EXPECT_TRUE(cyrillic(texts[i])) << texts[i].toStdString();
            }
        }
    }
}
