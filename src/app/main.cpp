// SPDX-License-Identifier: MIT
#include "app/program.hpp"
#include "core/common/memory.hpp"
#include "ui/common/qt_platform.hpp"

#include <QApplication>
#include <iostream>
#include <string>
#include <vector>

using namespace Qt::Literals::StringLiterals;

int main(int argc, char** argv) {
    kavo::keepFreedMemory();
    // Takes Qt's own options (-platform, -style ...) out of argv.
    QApplication application(argc, argv);
    // The rest as bytes: a file name that is not valid in the locale still opens.
    const auto arguments =
        kavo::app::startArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!arguments.refusal.empty()) {
        std::cerr << arguments.refusal << "\n";
        return 2;
    }
    // Lets the desktop match the windows to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(u"kavo-program"_s);
    kavo::app::QtPlatform platform;
    kavo::app::Program program(platform);
    if (!program.start(arguments.olympiadFile))
        return 1;
    return QApplication::exec();
}
