// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QLabel>

namespace kavo::app {

// A label that acts on a click (the links, the output folder and its picture), or on Space
// or Enter while it has the focus. A link shows the hot-light colour while the mouse is
// over it and its own colour otherwise.
class ClickLabel : public QLabel {
    Q_OBJECT
  public:
    explicit ClickLabel(QWidget* parent);

    // Text colour at rest; hot-tracking applies only to labels that have one.
    void setLinkColour(const QColor& colour);

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void paintText(const QColor& colour);
    QColor rest_;
};

} // namespace kavo::app
