// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Texts in times files are single bytes of the Windows-1252 code page.
namespace filmarin {

// Every byte maps to one character; the five bytes the code page leaves undefined map to
// the control characters of the same number, as Windows maps them.
QString fromWindows1252(const QByteArray& bytes);

// One byte per character; a character the code page lacks becomes "?".
QByteArray toWindows1252(const QString& text);

} // namespace filmarin
