// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/views.h"

#include <QLineEdit>

class QLabel;

namespace filmarin {

// The total field: a read-only edit with its label to the left.
class LabeledEdit : public QLineEdit, public TotalDisplay {
    Q_OBJECT
public:
    LabeledEdit(const QString& label, QWidget* parent);
    QLabel* label() const { return m_label; }
    // Places the edit and its label, which ends 3 pixels before it.
    void place(int left, int top, int width, int height, int labelWidth, int labelHeight);

    void setText(const QString& text) override { QLineEdit::setText(text); }
    void setHighlighted(bool highlighted) override;
    bool isHighlighted() const { return m_highlighted; }

private:
    QLabel* m_label;
    bool m_highlighted = false;
};

} // namespace filmarin
