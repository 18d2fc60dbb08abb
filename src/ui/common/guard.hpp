// SPDX-License-Identifier: MIT
#pragma once
// The one guard of the windows' handlers: a failure of the logic shows its report in an
// error box owned by the window and ends the handler; no exception crosses a Qt frame.

#include "core/common/lang.hpp"

#include <QObject>
#include <QString>
#include <exception>
#include <functional>

class QWidget;

namespace kavo::app {

class Platform;

// The report of a failure, in the interface language.
QString reportText(const std::exception& error, Lang lang);

// The report of a start-up failure, when the interface language may not be known yet: in
// both languages (once when they agree).
QString startReportText(const std::exception& error);

class Guard {
  public:
    Guard(Platform& platform, QWidget* owner, Lang lang)
        : platform_(&platform), owner_(owner), lang_(lang) {}

    // Runs the handler; a kavo::Error or any std::exception shows its report. False when
    // the handler failed.
    bool run(const std::function<void()>& handler) const;

    // Connects a signal of sender to the handler, run inside this guard.
    template <typename Sender, typename Signal>
    void connect(Sender* sender, Signal signal, std::function<void()> handler) const {
        QObject::connect(sender, signal, owner_,
                         [guard = *this, handler = std::move(handler)] { guard.run(handler); });
    }

  private:
    Platform* platform_;
    QWidget* owner_;
    Lang lang_;
};

} // namespace kavo::app
