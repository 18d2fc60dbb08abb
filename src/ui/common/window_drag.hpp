// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPoint>
#include <functional>
#include <optional>

class QWidget;

namespace kavo::app {

// Drags a window by a bare area of it: a press there starts the window system's move only
// once the pointer has moved the platform's drag distance with a button held, so a quick
// click never leaves the window following the pointer.
class WindowDrag : public QObject {
    Q_OBJECT
  public:
    // startMove starts the window system's move; by default the area's window's.
    explicit WindowDrag(QWidget* area, std::function<void()> startMove = {});

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* area_;
    std::function<void()> startMove_;
    std::optional<QPoint> pressedAt_; // global position of the press, while it lasts
};

} // namespace kavo::app
