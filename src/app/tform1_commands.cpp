// SPDX-License-Identifier: MIT
// The small commands of the main window.
#include "app/tform1.hpp"

void TForm1::k1Click() {}

void TForm1::information1Click() {}

void TForm1::N3Click() {}

void TForm1::chooseFolder() {}

void TForm1::openLink(int) {}

void TForm1::checkBoxClick(int) {}

void TForm1::Timer1Timer() {}

void TForm1::Button5Click() {}
