// SPDX-License-Identifier: MIT
#include "app/program.hpp"
#include "ui/common/qt_platform.hpp"

#include <QApplication>

using namespace Qt::Literals::StringLiterals;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // Lets the desktop match the windows to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(u"kavo-program"_s);
    kavo::app::QtPlatform platform;
    kavo::app::Program program(platform);
    if (!program.start())
        return 1;
    return QApplication::exec();
}
