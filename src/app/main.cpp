// SPDX-License-Identifier: MIT
#include "app/program.hpp"
#include "app/qt_platform.hpp"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    kavo::app::QtPlatform platform;
    kavo::app::Program program(platform);
    if (!program.start())
        return 1;
    return QApplication::exec();
}
