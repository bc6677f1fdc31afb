// SPDX-License-Identifier: GPL-3.0-or-later
#include "labelededit.h"

#include <QLabel>

namespace filmarin {

LabeledEdit::LabeledEdit(const QString& label, QWidget* parent)
    : QLineEdit(parent), m_label(new QLabel(label, parent)) {
    setReadOnly(true);
    m_label->setBuddy(this);
}

void LabeledEdit::place(int left, int top, int width, int height, int labelWidth, int labelHeight) {
    setGeometry(left, top, width, height);
    m_label->setGeometry(left - 3 - labelWidth, top + (height - labelHeight) / 2, labelWidth,
                         labelHeight);
}

void LabeledEdit::setHighlighted(bool highlighted) {
    m_highlighted = highlighted;
    QPalette p = palette();
    p.setColor(QPalette::Base, highlighted ? QColor(255, 255, 0) : QColor(255, 255, 255));
    setPalette(p);
}

} // namespace filmarin
