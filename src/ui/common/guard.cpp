// SPDX-License-Identifier: MIT
#include "ui/common/guard.hpp"

#include "ui/common/platform.hpp"
#include "ui/common/text_bridge.hpp"

namespace kavo::app {

// The logic's reports are UTF-8 (paths) or Windows-1251 (text typed in the form).
QString reportText(const std::exception& error, Lang) {
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
    } catch (const std::exception& error) {
        platform_->error(owner_, reportText(error, lang_));
        return false;
    }
}

} // namespace kavo::app
