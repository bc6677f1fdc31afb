// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

class QDialog;
class QKeyEvent;
class QWidget;

namespace filmarin {

// Scales the dialogs' design sizes, given at 163 pixels per inch, to the screen of a widget,
// as Qt scales the rest of the dialog.
class TemplateScale {
public:
    explicit TemplateScale(const QWidget& widget);
    int operator()(int value) const;
    // "Arial" with 32-pixel characters at the design sizes' resolution.
    QFont font() const;

private:
    double m_factor;
};

// Enter or Return on a focused push button of a dialog presses it, as on Windows; Enter
// elsewhere in the dialog presses nothing. Returns whether the key was taken.
bool pressFocusedButton(QDialog& dialog, const QKeyEvent& event);

} // namespace filmarin
