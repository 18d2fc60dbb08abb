// SPDX-License-Identifier: MIT
#include "ui/common/guard.hpp"

#include "core/common/error.hpp"
#include "ui/common/platform.hpp"
#include "ui/common/text_bridge.hpp"

#include <QMainWindow>
#include <QStatusBar>

namespace kavo::app {

// A failure of the logic is worded in the interface language with the system's reason;
// anything else shows its own text.
QString reportText(const std::exception& error, Lang lang) {
    if (const auto* failure = dynamic_cast<const kavo::Error*>(&error))
        return QString::fromStdString(failure->report(lang));
    return fromReport(error.what());
}

QString startReportText(const std::exception& error) {
    const QString english = reportText(error, Lang::English);
    const QString russian = reportText(error, Lang::Russian);
    return english == russian ? english : english + QStringLiteral("\n\n") + russian;
}

bool Guard::run(const std::function<void()>& handler) const {
    try {
        handler();
        return true;
    } catch (const kavo::Error& error) {
        // After the teacher's No the window's status line keeps what did not happen.
        if (error.kind() == kavo::Error::Kind::Declined) {
            if (auto* window = owner_ ? qobject_cast<QMainWindow*>(owner_->window()) : nullptr)
                window->statusBar()->showMessage(reportText(error, lang_));
        } else {
            platform_->error(owner_, reportText(error, lang_));
        }
        return false;
    } catch (const std::exception& error) {
        platform_->error(owner_, reportText(error, lang_));
        return false;
    }
}

} // namespace kavo::app
