// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/views.h"

#include <QPointer>
#include <deque>

class QMessageBox;
class QWidget;

namespace filmarin {

// Shows messages as modal message boxes with one OK button.
class MessageBoxSink : public MessageSink {
public:
    explicit MessageBoxSink(QWidget* parent) : m_parent(parent) {}
    void showMessage(const QString& caption, const QString& text, MessageIcon icon) override;
    // The box is modal as well, but nothing waits for it: it runs no loop of its own.
    void postMessage(const QString& caption, const QString& text, MessageIcon icon) override;

private:
    struct Message {
        QString caption;
        QString text;
        MessageIcon icon;
    };
    QMessageBox* makeBox(const Message& message);
    void showNextPosted();

    QWidget* m_parent;
    std::deque<Message> m_posted;
    QPointer<QMessageBox> m_postedBox;
};

} // namespace filmarin
