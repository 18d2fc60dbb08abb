// SPDX-License-Identifier: MIT
#include "edits/tform3.hpp"

TForm3::TForm3(kavo::app::Platform& platform, const std::filesystem::path& programDir,
               std::function<std::filesystem::path()> outputDir, QWidget* parent)
    : QMainWindow(parent), platform_(platform), programDir_(programDir),
      outputDir_(std::move(outputDir)) {
    setObjectName("Form3");
}
