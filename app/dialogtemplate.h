// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <cmath>

class QDialog;
class QKeyEvent;
class QWidget;

namespace filmarin {

// The factor from the dialogs' design sizes, given at 163 pixels per inch, to the screen of
// a widget, as Qt scales the rest of the dialog.
double designFactor(const QWidget& widget);

// Scales a design size to the screen of `widget`: designScale(dialog)(584).
inline auto designScale(const QWidget& widget) {
    return [factor = designFactor(widget)](int value) {
        return static_cast<int>(std::lround(value * factor));
    };
}

// "Arial" with 32-pixel characters at the design sizes' resolution, on the screen of `widget`.
QFont designFont(const QWidget& widget);

// Enter or Return on a focused push button of a dialog presses it, as on Windows; Enter
// elsewhere in the dialog presses nothing. Returns whether the key was taken.
bool pressFocusedButton(QDialog& dialog, const QKeyEvent& event);

} // namespace filmarin
