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

TemplateScale::TemplateScale(const QWidget& widget)
    : m_factor((widget.screen() ? widget.screen()->logicalDotsPerInchY() : 96.0) / 163.0) {}

int TemplateScale::operator()(int value) const {
    return static_cast<int>(std::lround(value * m_factor));
}

QFont TemplateScale::font() const {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, (*this)(32)));
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
