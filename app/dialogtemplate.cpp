// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogtemplate.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace filmarin {

double designFactor(const QWidget& widget) {
    return (widget.screen() ? widget.screen()->logicalDotsPerInchY() : 96.0) / 163.0;
}

QFont designFont(const QWidget& widget) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, designScale(widget)(32)));
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

bool pressFocusedButton(QDialog& dialog, const QKeyEvent& event) {
    if (event.key() != Qt::Key_Return && event.key() != Qt::Key_Enter)
        return false;
    auto* button = qobject_cast<QPushButton*>(dialog.focusWidget());
    if (!button || !button->isEnabled())
        return false;
    button->click();
    return true;
}

} // namespace filmarin
