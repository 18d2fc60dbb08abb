// SPDX-License-Identifier: MIT
#pragma once
// What the windows tell about their widgets beyond captions: tooltips, accessible names in
// the interface language, and the order of the Tab key.

#include <QString>
#include <initializer_list>

class QWidget;

namespace kavo::app {

// The text a caption shows: without its mnemonic marks and the spaces around it.
QString shownCaption(const QString& caption);

// Sets the tooltip and, when given, the accessible name of a widget.
void describe(QWidget* widget, const QString& tip, const QString& name = {});

// Gives each widget under root that has no accessible name the text its caption shows (a
// label, button, group box or menu) or the caption of the label whose buddy it is.
void nameByCaptions(QWidget* root);

// Tab moves through the widgets in this order (hidden and disabled ones are skipped).
void chainFocus(std::initializer_list<QWidget*> widgets);

} // namespace kavo::app
