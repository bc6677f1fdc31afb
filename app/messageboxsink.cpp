// SPDX-License-Identifier: GPL-3.0-or-later
#include "messageboxsink.h"

#include <QMessageBox>
#include <memory>

namespace filmarin {

QMessageBox* MessageBoxSink::makeBox(const Message& message) {
    QMessageBox::Icon boxIcon = QMessageBox::Information;
    if (message.icon == MessageIcon::Warning)
        boxIcon = QMessageBox::Warning;
    else if (message.icon == MessageIcon::Error)
        boxIcon = QMessageBox::Critical;
    // A carriage return alone ends a line in the program's texts, as in Windows boxes.
    QString shown = message.text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    auto* box = new QMessageBox(boxIcon, message.caption, shown, QMessageBox::Ok, m_parent);
    box->setTextFormat(Qt::PlainText);
    return box;
}

void MessageBoxSink::showMessage(const QString& caption, const QString& text, MessageIcon icon) {
    const std::unique_ptr<QMessageBox> box(makeBox({caption, text, icon}));
    box->exec();
}

void MessageBoxSink::postMessage(const QString& caption, const QString& text, MessageIcon icon) {
    m_posted.push_back({caption, text, icon});
    if (!m_postedBox)
        showNextPosted();
}

void MessageBoxSink::showNextPosted() {
    if (m_posted.empty())
        return;
    QMessageBox* box = makeBox(m_posted.front());
    m_posted.pop_front();
    m_postedBox = box;
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Modal as a box of showMessage is, without a loop of its own.
    box->setWindowModality(Qt::ApplicationModal);
    QObject::connect(box, &QDialog::finished, box, [this] {
        m_postedBox.clear();
        showNextPosted();
    });
    box->show();
}

} // namespace filmarin
