// SPDX-License-Identifier: MIT
#include "ui/common/window_drag.hpp"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace kavo::app {

WindowDrag::WindowDrag(QWidget* area, std::function<void()> startMove)
    : QObject(area), area_(area), startMove_(std::move(startMove)) {
    if (!startMove_)
        startMove_ = [area] {
            if (QWindow* window = area->window()->windowHandle())
                window->startSystemMove();
        };
    area->installEventFilter(this);
}

bool WindowDrag::eventFilter(QObject* watched, QEvent* event) {
    if (watched != area_)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        pressedAt_ = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        break;
    case QEvent::MouseMove: {
        const auto* move = static_cast<QMouseEvent*>(event);
        if (pressedAt_ && move->buttons() != Qt::NoButton &&
            (move->globalPosition().toPoint() - *pressedAt_).manhattanLength() >=
                QApplication::startDragDistance()) {
            pressedAt_.reset();
            startMove_();
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        pressedAt_.reset();
        break;
    default:
        break;
    }
    return false;
}

} // namespace kavo::app
