// SPDX-License-Identifier: MIT
// Dragging a window by its bare client area starts only after the pointer has moved the drag
// distance with a button held, so a quick click never leaves the window following the pointer.
#include "ui/common/window_drag.hpp"
#include "ui/support/ui_fixture.hpp"

#include <QMouseEvent>

using namespace kavo::test;
using namespace Qt::Literals::StringLiterals;

namespace {

struct Step {
    QEvent::Type type;
    int dx; // from the press position, in multiples of the drag distance (or pixels below 0)
    Qt::MouseButtons held;
};

void send(QWidget* area, const Step& step) {
    const int distance = QApplication::startDragDistance();
    const int offset = step.dx >= 0 ? step.dx * distance : -step.dx;
    const QPointF local(20 + offset, 20);
    const Qt::MouseButton button = step.type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(step.type, local, area->mapToGlobal(local), button, step.held,
                      Qt::NoModifier);
    QApplication::sendEvent(area, &event);
}

using WindowDragTest = UiFixture;

} // namespace

TEST_F(WindowDragTest, StartsAMoveOnlyAfterTheDragDistanceWithAButtonHeld) {
    using E = QEvent;
    struct Case {
        const char* what;
        std::vector<Step> steps;
        int moves;
    };
    const Qt::MouseButtons left = Qt::LeftButton, none = Qt::NoButton;
    const Case cases[] = {
        {"a quick click", {{E::MouseButtonPress, 0, left}, {E::MouseButtonRelease, 0, none}}, 0},
        {"a click with a tremble",
         {{E::MouseButtonPress, 0, left},
          {E::MouseMove, -1, left},
          {E::MouseButtonRelease, -1, none}},
         0},
        {"a drag", {{E::MouseButtonPress, 0, left}, {E::MouseMove, 1, left}}, 1},
        {"a drag in small steps",
         {{E::MouseButtonPress, 0, left},
          {E::MouseMove, -1, left},
          {E::MouseMove, 2, left},
          {E::MouseMove, 3, left}},
         1},
        {"a move after the release",
         {{E::MouseButtonPress, 0, left},
          {E::MouseButtonRelease, 0, none},
          {E::MouseMove, 2, left}},
         0},
        {"two drags",
         {{E::MouseButtonPress, 0, left},
          {E::MouseMove, 1, left},
          {E::MouseButtonRelease, 1, none},
          {E::MouseButtonPress, 0, Qt::RightButton},
          {E::MouseMove, 2, Qt::RightButton}},
         2},
    };
    for (const Case& c : cases) {
        QWidget area;
        int moves = 0;
        new kavo::app::WindowDrag(&area, [&] { ++moves; });
        for (const Step& step : c.steps)
            send(&area, step);
        EXPECT_EQ(moves, c.moves) << c.what;
    }

    // The main window drags by its client area.
    started();
    EXPECT_NE(form1()->client()->findChild<kavo::app::WindowDrag*>(), nullptr);
}
