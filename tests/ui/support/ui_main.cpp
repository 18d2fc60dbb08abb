// SPDX-License-Identifier: MIT
// Entry point of the GUI tests: the real windows under the offscreen platform, on a screen of
// KAVO_TEST_SCREEN (default 1920x1080) scaled by QT_SCALE_FACTOR when it is set.
#include "ui/support/offscreen_screen.hpp"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    kavo::test::useOffscreenScreen(
        kavo::test::parseSize(qgetenv("KAVO_TEST_SCREEN"), QSize(1920, 1080)));
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
