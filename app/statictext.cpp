// SPDX-License-Identifier: GPL-3.0-or-later
#include "statictext.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

namespace filmarin {

StaticText::StaticText(const QString& text, QWidget* parent) : QFrame(parent), m_text(text) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
}

QFont StaticText::captionFont() const {
    fit();
    return m_captionFont;
}

QRect StaticText::inkRect() const {
    fit();
    return m_ink;
}

void StaticText::fit() const {
    if (m_fitted)
        return;
    m_fitted = true;
    QFont caption = font();
    caption.setHintingPreference(QFont::PreferFullHinting);
    const QRect room = contentsRect();
    // At most half a pixel less between two letters.
    QRect glyphs;
    for (int step = 0; step <= 10; ++step) {
        caption.setLetterSpacing(QFont::AbsoluteSpacing, -0.05 * step);
        glyphs = QFontMetrics(caption).tightBoundingRect(m_text);
        if (glyphs.width() <= room.width())
            break;
    }
    m_captionFont = caption;
    const int left = room.left() - std::min(0, glyphs.left());
    const int baseline = room.top() + (room.height() - glyphs.height()) / 2 - glyphs.top();
    m_origin = QPoint(left, baseline);
    m_ink = glyphs.translated(m_origin);
}

void StaticText::resizeEvent(QResizeEvent* event) {
    m_fitted = false;
    QFrame::resizeEvent(event);
}

void StaticText::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        m_fitted = false;
    QFrame::changeEvent(event);
}

void StaticText::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    fit();
    QPainter painter(this);
    painter.setFont(m_captionFont);
    painter.setPen(palette().color(foregroundRole()));
    painter.setClipRect(contentsRect());
    painter.drawText(m_origin, m_text);
}

} // namespace filmarin
