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
#include <QTimer>
#include <QWindow>
#include <cmath>
#include <functional>

namespace kavo::app {

namespace {

const QScreen* screenOf(const QWidget* window) {
    return window->screen() ? window->screen() : QGuiApplication::primaryScreen();
}

// At a fractional scale (1.25, 1.5) the window system rounds a window's position and size
// to the screen's pixels, a pixel up or down.
bool fractionalScale(const QWidget* window) {
    const QScreen* screen = screenOf(window);
    return screen && screen->devicePixelRatio() != std::floor(screen->devicePixelRatio());
}

QRect availableArea(const QWidget* window) {
    const QScreen* screen = screenOf(window);
    if (!screen)
        return {};
    // A logical pixel is kept free at the right and the bottom where rounding could take
    // the frame one pixel past the edge.
    const int spare = fractionalScale(window) ? 1 : 0;
    return screen->availableGeometry().adjusted(0, 0, -spare, -spare);
}

// The top-left corner that keeps a frame of this size inside the area, nearest to wanted.
QPoint inside(QPoint wanted, QSize frame, const QRect& area) {
    return {std::clamp(wanted.x(), area.left(),
                       std::max(area.left(), area.right() + 1 - frame.width())),
            std::clamp(wanted.y(), area.top(),
                       std::max(area.top(), area.bottom() + 1 - frame.height()))};
}

// The height of the menu bar at this width and of the status bar, where the window has one.
int barsHeight(const QMainWindow* window, int width) {
    const auto* status = window->findChild<QStatusBar*>(QString(), Qt::FindDirectChildrenOnly);
    return window->menuBar()->heightForWidth(width) +
           (status && !status->isHidden() ? status->sizeHint().height() : 0);
}

// False for a window system without frames, and for margins read while the window manager
// was still framing the window (a side missing or negative).
bool knownFrame(QMargins frame) {
    return !frame.isNull() && frame.left() >= 0 && frame.top() >= 0 && frame.right() >= 0 &&
           frame.bottom() >= 0;
}

// Puts the top-left corner of the window's frame at corner. Until the window manager has
// framed the window Qt knows no frame and would put the client area at corner, its title bar
// above it: the client area goes below and right of corner by the assumed frame instead.
void moveFrameTo(QWidget* window, QPoint corner, QMargins frame) {
    if (!window->testAttribute(Qt::WA_WState_Created))
        return window->move(corner); // placed with its frame when the window is made
    // QWidget::move places the client area by the frame Qt knows, as x() and y() count it.
    const QPoint known = window->geometry().topLeft() - QPoint(window->x(), window->y());
    window->move(corner + QPoint(frame.left(), frame.top()) - known);
}

// Runs a window's placement again when the window manager frames the window with another
// frame than the placement assumed: first mapped, or decorated anew.
class FrameWatch : public QObject {
  public:
    // Notes the placement that has just run with frame, to be run again on a new frame.
    static void placed(QWidget* window, QMargins frame, std::function<void()> place) {
        QWindow* handle = window->windowHandle();
        if (!handle)
            return;
        auto* watch = dynamic_cast<FrameWatch*>(
            window->findChild<QObject*>(Name, Qt::FindDirectChildrenOnly));
        if (!watch)
            watch = new FrameWatch(window);
        if (watch->handle_ != handle) {
            if (watch->handle_)
                watch->handle_->removeEventFilter(watch);
            handle->installEventFilter(watch);
            watch->handle_ = handle;
        }
        watch->frame_ = frame;
        watch->place_ = std::move(place);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto type = event->type();
        if (watched != handle_ || pending_ || !place_ ||
            (type != QEvent::Expose && type != QEvent::Move && type != QEvent::Resize))
            return false;
        // Only once the window manager has mapped the window: while it frames the window
        // the margins Qt reads are half known, and a move then may be overridden.
        if (!handle_->isExposed())
            return false;
        const QMargins frame = handle_->frameMargins();
        if (!knownFrame(frame) || frame == frame_)
            return false;
        // Placed from the event loop: not while the window system delivers this event.
        pending_ = true;
        QTimer::singleShot(0, this, [this] {
            pending_ = false;
            if (window_->isVisible())
                place_();
        });
        return false;
    }

  private:
    static inline const QString Name = QStringLiteral("kavoFrameWatch");

    explicit FrameWatch(QWidget* window) : QObject(window), window_(window) { setObjectName(Name); }

    QWidget* window_;
    QWindow* handle_ = nullptr;
    QMargins frame_;
    std::function<void()> place_;
    bool pending_ = false;
};

} // namespace

// Some window systems know the frame only once the window has been mapped: until then a
// title bar and a border are assumed.
QMargins frameOf(const QWidget* window) {
    const QWindow* handle = window->windowHandle();
    const QMargins frame = handle ? handle->frameMargins() : QMargins();
    if (knownFrame(frame))
        return frame;
    const int border = window->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    return {border, window->style()->pixelMetric(QStyle::PM_TitleBarHeight) + border, border,
            border};
}

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

    // A scroll bar in one direction takes room from the other; at a fractional scale the
    // other direction gets a pixel to spare, so that rounding does not make it scroll too.
    const int spare = fractionalScale(window) ? 1 : 0;
    int width = client.width();
    int height = client.height() + barsHeight(window, width);
    const bool scrollsDown = height > room.height();
    if (scrollsDown) {
        height = room.height();
        width += bar;
    }
    if (width > room.width()) {
        width = room.width();
        height = std::min(room.height(), client.height() + barsHeight(window, width) + bar + spare);
    } else if (scrollsDown) {
        width = std::min(room.width(), width + spare);
    }
    window->setFixedSize(width, height);

    const QSize outer = QSize(width, height).grownBy(frame);
    const QPoint wanted = centre
                              ? available.center() - QPoint(outer.width() / 2, outer.height() / 2)
                              : window->frameGeometry().topLeft();
    moveFrameTo(window, inside(wanted, outer, available), frame);
    FrameWatch::placed(window, frame, [window, centre] { fitToScreen(window, centre); });
}

void keepInside(QWidget* window, QPoint designed) {
    const QRect available = availableArea(window);
    if (available.isEmpty())
        return;
    const QMargins frame = frameOf(window);
    moveFrameTo(window, inside(designed, window->size().grownBy(frame), available), frame);
    FrameWatch::placed(window, frame, [window, designed] { keepInside(window, designed); });
}

void fitCentred(QWidget* window, QSize designed, std::optional<QPoint> centre) {
    const QRect available = availableArea(window);
    if (available.isEmpty())
        return;
    const QMargins frame = frameOf(window);
    window->resize(designed.boundedTo(available.size().shrunkBy(frame)));
    const QSize outer = window->size().grownBy(frame);
    const QPoint middle = centre.value_or(available.center());
    moveFrameTo(window,
                inside(middle - QPoint(outer.width() / 2, outer.height() / 2), outer, available),
                frame);
    FrameWatch::placed(window, frame,
                       [window, designed, centre] { fitCentred(window, designed, centre); });
}

} // namespace kavo::app
