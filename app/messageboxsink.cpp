// SPDX-License-Identifier: GPL-3.0-or-later
#include "messageboxsink.h"

#include <QMessageBox>

namespace filmarin {

void MessageBoxSink::showMessage(const QString& caption, const QString& text, MessageIcon icon) {
    QMessageBox::Icon boxIcon = QMessageBox::Information;
    if (icon == MessageIcon::Warning)
        boxIcon = QMessageBox::Warning;
    else if (icon == MessageIcon::Error)
        boxIcon = QMessageBox::Critical;
    // A carriage return alone ends a line in the program's texts, as in Windows boxes.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(boxIcon, caption, shown, QMessageBox::Ok, m_parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace filmarin
