// SPDX-License-Identifier: MIT
#pragma once
// Windows on small or scaled screens: each takes its designed size where the available
// area of its screen holds it, and otherwise that area, with a client area that scrolls.
// The window manager's frame, title bar included, stays inside the area too: before a
// window is first mapped its frame is assumed, and once the window manager has framed it
// the placement runs again with the real frame when that differs.

#include <QMargins>
#include <QPoint>
#include <QSize>
#include <optional>

class QMainWindow;
class QScrollArea;
class QWidget;

namespace kavo::app {

// Makes client, a widget of the designed client size, the scrolling central widget of window.
QScrollArea* setScrollingClient(QMainWindow* window, QWidget* client);

// Sizes a window built by setScrollingClient for its screen and keeps it inside the
// available area; centred there when centre is true.
void fitToScreen(QMainWindow* window, bool centre);

// Moves a window of fixed size to its designed position, or as near to it as the
// available area of its screen allows.
void keepInside(QWidget* window, QPoint designed);

// Resizes a window to its designed size, or as much of it as the available area holds with
// the frame, and centres its frame on centre (the middle of the area when none is given),
// as near as the area allows.
void fitCentred(QWidget* window, QSize designed, std::optional<QPoint> centre);

// The frame the window system draws around window: the real one once the window manager
// has told it, before that an assumed title bar and border.
QMargins frameOf(const QWidget* window);

} // namespace kavo::app
