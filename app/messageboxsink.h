// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/views.h"

class QWidget;

namespace filmarin {

// Shows messages as modal message boxes with one OK button.
class MessageBoxSink : public MessageSink {
public:
    explicit MessageBoxSink(QWidget* parent) : m_parent(parent) {}
    void showMessage(const QString& caption, const QString& text, MessageIcon icon) override;

private:
    QWidget* m_parent;
};

} // namespace filmarin
