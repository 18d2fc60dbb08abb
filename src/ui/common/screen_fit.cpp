// SPDX-License-Identifier: MIT
#include "ui/common/screen_fit.hpp"

#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QWindow>

namespace kavo::app {

namespace {

QRect availableArea(const QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

// The frame the window system draws around the window; before the window is first mapped
// some window systems do not know it yet, so a title bar is assumed.
QMargins frameOf(const QWidget* window) {
    const QWindow* handle = window->windowHandle();
    const QMargins frame = handle ? handle->frameMargins() : QMargins();
    if (!frame.isNull())
        return frame;
    const int border = window->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    return {border, window->style()->pixelMetric(QStyle::PM_TitleBarHeight) + border, border,
            border};
}

// The top-left corner that keeps a frame of this size inside the area, nearest to wanted.
QPoint inside(QPoint wanted, QSize frame, const QRect& area) {
    return {std::clamp(wanted.x(), area.left(),
                       std::max(area.left(), area.right() + 1 - frame.width())),
            std::clamp(wanted.y(), area.top(),
                       std::max(area.top(), area.bottom() + 1 - frame.height()))};
}

// The menu bar above the client area, and the status bar below it where the window has one.
int barsHeight(QMainWindow* window, int width) {
    int height = window->menuBar()->heightForWidth(width);
    const auto* status = window->findChild<QStatusBar*>(QString(), Qt::FindDirectChildrenOnly);
    if (status && !status->isHidden())
        height += status->sizeHint().height();
    return height;
}

} // namespace

QScrollArea* setScrollingClient(QMainWindow* window, QWidget* client) {
    auto* area = new QScrollArea(window);
    area->setObjectName(QStringLiteral("ClientScroll"));
    area->setFrameShape(QFrame::NoFrame);
    area->setBackgroundRole(QPalette::Window);
    area->setWidgetResizable(false);
    area->setFocusPolicy(Qt::NoFocus); // Tab goes round the controls, never to the frame
    area->setWidget(client);
    window->setCentralWidget(area);
    return area;
}

void fitToScreen(QMainWindow* window, bool centre) {
    const auto* area = qobject_cast<const QScrollArea*>(window->centralWidget());
    const QRect available = availableArea(window);
    if (!area || !area->widget() || available.isEmpty())
        return;
    const QMargins frame = frameOf(window);
    const QSize room = available.size().shrunkBy(frame);
    const QSize client = area->widget()->size();
    const int bar = window->style()->pixelMetric(QStyle::PM_ScrollBarExtent);

    // A scroll bar in one direction takes room from the other.
    int width = client.width();
    int height = client.height() + barsHeight(window, width);
    if (height > room.height()) {
        height = room.height();
        width += bar;
    }
    if (width > room.width()) {
        width = room.width();
        height = std::min(room.height(), client.height() + barsHeight(window, width) + bar);
    }
    window->setFixedSize(width, height);

    const QSize outer = QSize(width, height).grownBy(frame);
    const QPoint wanted = centre
                              ? available.center() - QPoint(outer.width() / 2, outer.height() / 2)
                              : window->frameGeometry().topLeft();
    window->move(inside(wanted, outer, available));
}

void keepInside(QWidget* window, QPoint designed) {
    const QRect available = availableArea(window);
    if (available.isEmpty())
        return;
    window->move(inside(designed, window->size().grownBy(frameOf(window)), available));
}

} // namespace kavo::app
