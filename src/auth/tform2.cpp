// SPDX-License-Identifier: MIT
#include "auth/tform2.hpp"

TForm2::TForm2(kavo::app::Platform& platform, const std::filesystem::path& programDir,
               QWidget* parent)
    : QWidget(parent, Qt::Window), platform_(platform), programDir_(programDir) {
    setObjectName("Form2");
}

void TForm2::showDialog() {
    show();
    raise();
}
