// SPDX-License-Identifier: MIT
#pragma once
// Windows on small or scaled screens: each takes its designed size where the available
// area of its screen holds it, and otherwise that area, with a client area that scrolls.

#include <QPoint>

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

} // namespace kavo::app
