// SPDX-License-Identifier: MIT
// The author details dialog, built for real under the offscreen platform.
#include "ui/auth/tform2.hpp"

#include "core/common/error.hpp"
#include "support/test_support.hpp"
#include "ui/support/recording_platform.hpp"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <cerrno>
#include <memory>

namespace fs = std::filesystem;
using kavo::test::readBytes;
using kavo::test::RecordingPlatform;
using kavo::test::TempDir;
using kavo::test::writeBytes;
using namespace Qt::Literals::StringLiterals;

namespace {

// The text a caption shows: its mnemonic marks taken out.
QString shown(QString caption) {
    return caption.remove(u'&');
}

struct Dialog {
    TempDir dir;
    RecordingPlatform platform;
    std::unique_ptr<TForm2> form;
    fs::path system = dir.path() / "System_folder";

    explicit Dialog(kavo::Lang lang = kavo::Lang::Russian) {
        kavo::test::copySystemFolder(dir.path());
        form = std::make_unique<TForm2>(platform, dir.path(), lang);
    }
    template <typename W> W* find(const char* name) const {
        auto* widget = form->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void type(const QString& line) const { find<QLineEdit>("Edit1")->setText(line); }
    void click(const char* button) const {
        QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton);
    }
    std::string header1() const { return readBytes(system / "file/task_xml.txt"); }
    std::string header2() const { return readBytes(system / "file/task_xml_2.txt"); }
    std::string flag() const { return readBytes(system / "Authorisation/save.txt"); }
};

const std::string head1 = "<task name=\"TaskA1\" ename=\"TaskA1\" cost=\"1\" checker=\"test\">\r\n"
                          "  <author>";
const std::string tail = "</author>\r\n  <page>task.asp</page>\r\n  <answers>task.out</answers>\r\n"
                         "  <config>TASK.CFG</config>\r\n  <files>webfiles</files>\r\n</task>\r\n";

} // namespace

TEST(Form2Window, WidgetsInBothLanguages) {
    struct Case {
        kavo::Lang language;
        const char* title;
        const char* label1;
        const char* save;
        const char* cancel;
    };
    const Case cases[] = {
        {kavo::Lang::Russian, "Авторизация", "Введите свои данные согласно образцу :", "Сохранить",
         "Отмена"},
        {kavo::Lang::English, "Authorization",
         "Enter your details in accordance with the model :", "Save", "Cancel"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        Dialog d(c.language);
        EXPECT_EQ(d.form->objectName(), u"Form2"_s);
        EXPECT_FALSE(d.form->isVisible());
        EXPECT_EQ(d.form->windowTitle(), QString::fromUtf8(c.title));
        EXPECT_TRUE(d.form->windowFlags() & Qt::WindowStaysOnTopHint);
        // What a Windows frame of 415 x 220 leaves, as for the main window.
        EXPECT_EQ(d.form->minimumSize(), QSize(399, 182));
        EXPECT_EQ(d.form->maximumSize(), QSize(399, 182));
        EXPECT_EQ(d.form->pos(), QPoint(580, 367));
        EXPECT_EQ(shown(d.find<QLabel>("Label1")->text()), QString::fromUtf8(c.label1));
        EXPECT_EQ(d.find<QLabel>("Label1")->pos(), QPoint(72, 24));
        EXPECT_EQ(d.find<QLabel>("Label2")->pos(), QPoint(104, 48));
        EXPECT_TRUE(d.find<QLabel>("Label2")->text().contains(QRegularExpression(
            u"^[A-Z][a-z]+ [A-Z][a-z]+,  [A-Z]+-[0-9]{2}, [A-Z][a-z]+  [0-9]{4}$"_s)));
        EXPECT_EQ(d.find<QLineEdit>("Edit1")->geometry(), QRect(72, 88, 265, 21));
        EXPECT_EQ(d.find<QLineEdit>("Edit1")->text(), u""_s);
        EXPECT_EQ(d.find<QPushButton>("Button1")->geometry(), QRect(72, 144, 75, 25));
        EXPECT_EQ(shown(d.find<QPushButton>("Button1")->text()), QString::fromUtf8(c.save));
        EXPECT_EQ(d.find<QPushButton>("Button2")->geometry(), QRect(264, 144, 75, 25));
        EXPECT_EQ(shown(d.find<QPushButton>("Button2")->text()), QString::fromUtf8(c.cancel));
    }
}

// How the headers are built is the logic's (SaveAuthor tests); here the typed line reaches
// them through the code page, a character outside it as a reference.
TEST(Form2Window, SaveRebuildsBothHeadersThenClearsTheFlag) {
    const std::string written = "\xC8\xE2\xE0\xED\xEE\xE2\xE0 \xCE\xEB\xFC\xE3\xE0 &#8804; "
                                "\xABx\xBB &amp; &lt;y> &quot;z&quot; &#171;";
    Dialog d;
    QSignalSpy saved(d.form.get(), &TForm2::authorSaved);
    d.form->showDialog();
    ASSERT_TRUE(d.form->isVisible());
    d.type(QString::fromUtf8("Иванова Ольга ≤ «x» & <y> \"z\" &#171;"));
    d.click("Button1");
    EXPECT_EQ(d.header1(), head1 + written + tail);
    EXPECT_NE(d.header2().find("<author>" + written + "</author>"), std::string::npos);
    EXPECT_EQ(d.flag(), "0\r\n");
    EXPECT_FALSE(d.form->isVisible());
    EXPECT_EQ(saved.count(), 1);
    EXPECT_TRUE(d.platform.boxes.empty());
}

// The dialog shows the line of the last Save, read back from the first header: what a new
// start shows, and nothing when the header was not built from the current templates.
TEST(Form2Window, ShowsTheLineOfTheLastSave) {
    struct Case {
        QString saved;
        const char* editedHead; // written over Author_1.txt after the Save, or none
        QString shown;
    };
    const QString markup = QString::fromUtf8("Иванова \"Q\" & <b> &#171;Ок&#187; ≤");
    const Case cases[] = {
        {u"Sorokina Vera,  MF-12, October  2025"_s, nullptr,
         u"Sorokina Vera,  MF-12, October  2025"_s},
        {markup, nullptr, QString::fromUtf8("Иванова \"Q\" & <b> &#171;Ок&#187; &#8804;")},
        {u""_s, nullptr, u""_s},
        {u"Sorokina Vera"_s, "<task name=\"TaskA1\" ename=\"TaskA1\" cost=\"1\">\r\n", u""_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.saved.toStdString());
        QString shown;
        {
            Dialog d;
            d.type(c.saved);
            d.click("Button1");
            if (c.editedHead)
                writeBytes(d.system / "Authorisation/Author_1.txt", c.editedHead);
            TForm2 next(d.platform, d.dir.path(), kavo::Lang::English);
            shown = next.findChild<QLineEdit*>(u"Edit1"_s)->text();
        }
        EXPECT_EQ(shown, c.shown);
    }
}

TEST(Form2Window, CancelWritesNothingAndKeepsTheText) {
    Dialog d;
    const auto before = kavo::test::listTree(d.system);
    const auto header = d.header1();
    QSignalSpy saved(d.form.get(), &TForm2::authorSaved);
    d.form->showDialog();
    d.type(u"Typed, not saved"_s);
    d.click("Button2");
    EXPECT_FALSE(d.form->isVisible());
    EXPECT_EQ(d.header1(), header);
    EXPECT_EQ(d.flag(), "1\r\n");
    EXPECT_EQ(kavo::test::listTree(d.system), before);
    EXPECT_EQ(saved.count(), 0);
    d.form->showDialog();
    EXPECT_EQ(d.find<QLineEdit>("Edit1")->text(), u"Typed, not saved"_s);
}

TEST(Form2Window, AMissingTemplateKeepsTheDialogOpenAndChangesNothing) {
    Dialog d;
    fs::remove(d.system / "Authorisation/Author_2.txt");
    const auto header1 = d.header1();
    const auto header2 = d.header2();
    QSignalSpy saved(d.form.get(), &TForm2::authorSaved);
    d.form->showDialog();
    d.type(u"New Author"_s);
    d.click("Button1");
    ASSERT_EQ(d.platform.errors().size(), 1);
    // The report in the interface language, with the system's reason.
    EXPECT_EQ(d.platform.errors()[0].toStdString(),
              kavo::Error::cannotOpen(d.system / "Authorisation/Author_2.txt", ENOENT)
                  .report(kavo::Lang::Russian));
    EXPECT_TRUE(d.form->isVisible());
    EXPECT_EQ(d.flag(), "1\r\n");
    EXPECT_EQ(d.header1(), header1);
    EXPECT_EQ(d.header2(), header2);
    EXPECT_EQ(saved.count(), 0);
    EXPECT_EQ(d.find<QLineEdit>("Edit1")->text(), u"New Author"_s);
}
