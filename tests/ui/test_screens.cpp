// SPDX-License-Identifier: MIT
// Each window on the screen the test runs on (KAVO_TEST_SCREEN, QT_SCALE_FACTOR; CTest runs
// this for 1366x768 and 1920x1080 at 1, 1.25, 1.5 and 2, and a portrait 768x1366): its
// designed size where it fits, otherwise the available area with a client area that
// scrolls to every control.
#include "ui/support/ui_fixture.hpp"

#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QWindow>

using namespace kavo::test;
using namespace Qt::Literals::StringLiterals;

namespace {

using Screen = UiFixture;

// The window and its frame lie inside the available area of the screen.
void expectInside(QWidget* window) {
    const QRect available = window->screen()->availableGeometry();
    EXPECT_TRUE(available.contains(window->frameGeometry()))
        << window->objectName().toStdString() << " frame " << window->frameGeometry().x() << ","
        << window->frameGeometry().y() << " " << window->frameGeometry().width() << "x"
        << window->frameGeometry().height() << " in " << available.width() << "x"
        << available.height();
}

// A main window: its designed size when that fits with its frame, else the client area
// scrolls far enough to bring each control's top-left corner into view, and the scroll range
// covers the whole client area.
void expectReachable(QMainWindow* window, QSize designedClient) {
    expectInside(window);
    auto* area = qobject_cast<QScrollArea*>(window->centralWidget());
    ASSERT_NE(area, nullptr);
    QWidget* client = area->widget();
    EXPECT_EQ(client->size(), designedClient);
    const QMargins frame = window->windowHandle()->frameMargins();
    const auto* status = window->findChild<QStatusBar*>(QString(), Qt::FindDirectChildrenOnly);
    const QSize designed(designedClient.width(), designedClient.height() +
                                                     window->menuBar()->sizeHint().height() +
                                                     (status ? status->sizeHint().height() : 0));
    const QSize room = window->screen()->availableGeometry().size().shrunkBy(frame);
    if (room.width() >= designed.width() && room.height() >= designed.height()) {
        EXPECT_EQ(window->size(), designed) << window->objectName().toStdString();
        EXPECT_FALSE(area->verticalScrollBar()->isVisible());
        EXPECT_FALSE(area->horizontalScrollBar()->isVisible());
        return;
    }
    EXPECT_GE(area->horizontalScrollBar()->maximum() + area->viewport()->width(), client->width());
    EXPECT_GE(area->verticalScrollBar()->maximum() + area->viewport()->height(), client->height());
    // A direction with room for the client area and the other direction's scroll bar never
    // scrolls.
    const int bar = window->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    if (room.height() >= designed.height() + bar) {
        EXPECT_FALSE(area->verticalScrollBar()->isVisible()) << window->objectName().toStdString();
    }
    if (room.width() >= designed.width() + bar) {
        EXPECT_FALSE(area->horizontalScrollBar()->isVisible())
            << window->objectName().toStdString();
    }
    for (QWidget* control : client->findChildren<QWidget*>()) {
        if (!control->isVisible() || control->objectName().isEmpty() ||
            control->objectName().startsWith(u"qt_"_s))
            continue;
        const QPoint inClient = control->mapTo(client, QPoint(0, 0));
        area->ensureVisible(inClient.x(), inClient.y(), 1, 1);
        const QPoint corner = control->mapTo(area->viewport(), QPoint(0, 0));
        EXPECT_TRUE(area->viewport()->rect().contains(corner))
            << window->objectName().toStdString() << "." << control->objectName().toStdString();
    }
}

} // namespace

TEST_F(Screen, EveryWindowFitsOrScrollsToEveryControl) {
    for (const char* language : {"Rus\r\n", "En\r\n"}) {
        SCOPED_TRACE(language);
        program.reset();
        ASSERT_NE(started(language), nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form1()));
        expectReachable(form1(), QSize(TForm1::ClientWidth, TForm1::ClientHeight));
        trigger("N1");
        expectReachable(form1(), QSize(TForm1::ClientWidth, TForm1::ClientHeight));

        trigger("Authorisation1");
        TForm2* author = program->form2();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(author));
        expectInside(author);
        EXPECT_EQ(author->size(), QSize(399, 182));
        // Its designed place where the screen holds it there.
        const QRect designed(QPoint(580, 367), author->frameGeometry().size());
        if (author->screen()->availableGeometry().contains(designed)) {
            EXPECT_EQ(author->frameGeometry().topLeft(), QPoint(580, 367));
        }

        trigger("N4");
        ASSERT_TRUE(QTest::qWaitForWindowExposed(program->form3()));
        expectReachable(program->form3(), QSize(871, 638));
    }
}
