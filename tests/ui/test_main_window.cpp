// SPDX-License-Identifier: MIT
// The main window: size, geometry of every widget, font, captions that fit, and the folder
// picture decoded through the JPEG plugin.
#include "ui/auth/tform2.hpp"
#include "ui/edits/tform3.hpp"
#include "ui/support/ui_fixture.hpp"

#include <QAbstractButton>
#include <QAction>
#include <QFontInfo>
#include <QImageReader>
#include <QLabel>
#include <QMenuBar>

using namespace kavo::test;
using namespace Qt::Literals::StringLiterals;

namespace {

struct Place {
    const char* name;
    int x, y, w, h; // w, h 0: sized to the caption
};

// Design geometry, relative to the client area (children of GroupBox1 relative to it).
const Place Places[] = {
    {"Label1", 24, 16, 0, 0},
    {"Memo1", 24, 48, 265, 193},
    {"Label5", 336, 16, 0, 0},
    {"ListBox2", 384, 48, 49, 33},
    {"Label2", 552, 16, 0, 0},
    {"ListBox1", 656, 64, 73, 137},
    {"Label6", 584, 64, 0, 0},
    {"Label7", 584, 112, 0, 0},
    {"Label8", 584, 160, 0, 0},
    {"Edit2", 584, 80, 33, 21},
    {"Edit3", 584, 128, 33, 21},
    {"Edit4", 584, 176, 33, 21},
    {"Button2", 576, 208, 153, 25},
    {"GroupBox1", 347, 112, 182, 121},
    {"CheckBox4", 8, 16, 97, 17},
    {"Label18", 8, 40, 0, 0},
    {"Edit7", 8, 56, 169, 21},
    {"Label20", 8, 80, 0, 0},
    {"Edit8", 8, 96, 169, 21},
    {"Label3", 376, 256, 0, 0},
    {"A", 9, 304, 0, 0},
    {"B", 184, 304, 0, 0},
    {"C", 360, 304, 0, 0},
    {"D", 536, 304, 0, 0},
    {"E", 712, 304, 0, 0},
    {"VariantOtveta_1", 24, 296, 129, 21},
    {"VariantOtveta_2", 200, 296, 129, 21},
    {"VariantOtveta_3", 376, 296, 129, 21},
    {"VariantOtveta_4", 552, 296, 129, 21},
    {"VariantOtveta_5", 728, 296, 129, 21},
    {"CheckBox1", 360, 328, 145, 17},
    {"CheckBox2", 536, 328, 145, 17},
    {"CheckBox3", 712, 328, 145, 17},
    {"Label4", 32, 384, 0, 0},
    {"Edit1", 32, 416, 121, 21},
    {"Label10", 344, 384, 0, 0},
    {"ListBox3", 384, 416, 57, 33},
    {"Label9", 664, 384, 0, 0},
    {"Toolkit", 568, 408, 289, 217},
    {"Button1", 32, 520, 129, 33},
    {"Button5", 326, 520, 177, 33},
    {"Image1", 32, 560, 49, 49},
    {"Label19", 88, 576, 0, 0},
    {"Label17", 24, 624, 0, 0},
    {"Label15", 280, 624, 0, 0},
    {"Label16", 568, 624, 0, 0},
    {"Label14", 728, 624, 0, 0},
    {"Button6", 24, 520, 121, 33},
    {"Button8", 176, 520, 105, 33},
    {"Button7", 320, 520, 105, 33},
    {"ListBox4", 656, 64, 73, 137},
    {"Label11", 216, 16, 0, 0},
    {"Label12", 232, 280, 0, 0},
    {"Label13", 248, 432, 0, 0},
    {"Memo2", 24, 40, 529, 233},
    {"Memo3", 24, 304, 529, 121},
    {"Memo4", 24, 456, 529, 49},
    {"RadioGroup1", 745, 120, 113, 73},
};

class Window : public UiFixture, public ::testing::WithParamInterface<const char*> {};

} // namespace

TEST_P(Window, PlacesEveryWidgetAndFitsEveryCaption) {
    TForm1* form = started(GetParam());
    ASSERT_NE(form, nullptr);
    QWidget* client = form->client();

    // What a Windows frame of 888 x 706 leaves below the menu bar, and no resizing.
    EXPECT_EQ(client->size(), QSize(872, 648));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    EXPECT_EQ(client->mapTo(form, QPoint(0, 0)).y(), form->menuBar()->height());

    for (const Place& place : Places) {
        auto* widget = find<QWidget>(place.name);
        ASSERT_NE(widget, nullptr);
        const QRect geometry = widget->geometry();
        EXPECT_EQ(geometry.topLeft(), QPoint(place.x, place.y)) << place.name;
        if (place.w == 0) {
            EXPECT_EQ(geometry.size(), widget->sizeHint()) << place.name;
        } else {
            // A button or box grows wide enough for its caption, never narrower than designed.
            EXPECT_EQ(geometry.size(),
                      QSize(std::max(place.w, qobject_cast<QAbstractButton*>(widget)
                                                  ? widget->sizeHint().width()
                                                  : place.w),
                            place.h))
                << place.name;
        }
    }
    for (const auto& [name, y] : {std::pair{"RadioButton1", 144}, std::pair{"RadioButton2", 168}})
        EXPECT_EQ(find<QWidget>(name)->mapTo(client, QPoint(0, 0)), QPoint(752, y)) << name;

    // No caption is clipped: every label and button holds its caption inside the window.
    for (QWidget* widget : client->findChildren<QWidget*>()) {
        if (!qobject_cast<QLabel*>(widget) && !qobject_cast<QAbstractButton*>(widget))
            continue;
        const QString name = widget->objectName();
        EXPECT_GE(widget->width(), widget->sizeHint().width()) << name.toStdString();
        EXPECT_GE(widget->height(), std::min(widget->sizeHint().height(), 17))
            << name.toStdString();
        const QRect inClient(widget->mapTo(client, QPoint(0, 0)), widget->size());
        EXPECT_TRUE(client->rect().contains(inClient)) << name.toStdString();
        if (auto* label = qobject_cast<QLabel*>(widget); label && !label->text().isEmpty()) {
            EXPECT_EQ(label->textFormat(), Qt::PlainText) << name.toStdString();
        }
    }
    const QString font = u"DejaVu Sans Condensed"_s;
    EXPECT_EQ(QFontInfo(find<QLabel>("Label1")->font()).family(), font);
    // The dialog and the Edits builder: the same font, every caption whole inside the window.
    QWidget* dialog = form2();
    QMainWindow* edits = form3();
    for (QWidget* window : {dialog, edits->findChild<QWidget*>(u"Client"_s)}) {
        EXPECT_EQ(QFontInfo(window->findChild<QLabel*>(u"Label1"_s)->font()).family(), font);
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            if (!qobject_cast<QLabel*>(widget) && !qobject_cast<QAbstractButton*>(widget))
                continue;
            const QString name = widget->objectName();
            const auto* button = qobject_cast<QAbstractButton*>(widget);
            EXPECT_GE(widget->width(),
                      button ? button->fontMetrics().horizontalAdvance(button->text()) + 8
                             : widget->sizeHint().width())
                << name.toStdString();
            const QRect inWindow(widget->mapTo(window, QPoint(0, 0)), widget->size());
            EXPECT_TRUE(window->rect().contains(inWindow)) << name.toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, Window, ::testing::Values("Rus", "En"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param);
                         });

using MainWindow = UiFixture;

TEST_F(MainWindow, FolderPictureIsAJpegDecodedByThePlugin) {
    started();
    EXPECT_TRUE(QImageReader::supportedImageFormats().contains("jpeg"));
    QImageReader reader(u":/kavo/folder.jpg"_s);
    EXPECT_EQ(reader.format(), "jpeg");
    const QImage image = reader.read();
    EXPECT_EQ(image.size(), QSize(45, 45)) << reader.errorString().toStdString();
    const QPixmap shown = find<QLabel>("Image1")->pixmap();
    EXPECT_EQ(shown.size(), QSize(45, 45));
}
