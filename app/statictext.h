// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>

namespace filmarin {

// A caption in a single-line frame, as the form's static texts are. The text starts at
// the frame's inner edge and its ink is centred in the frame's height, so that accents and
// descenders stay clear of the lines. Glyph widths are whole pixels, as on Windows; a
// caption still a pixel too wide is set a little tighter rather than cut off.
class StaticText : public QFrame {
    Q_OBJECT
public:
    StaticText(const QString& text, QWidget* parent);
    QString text() const { return m_text; }
    // The font the caption is drawn with.
    QFont captionFont() const;
    // Where the caption's ink lies, in the widget's coordinates.
    QRect inkRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Chooses the font and the place of the caption for the frame's present size and font.
    void fit() const;

    QString m_text;
    mutable bool m_fitted = false;
    mutable QFont m_captionFont;
    mutable QPoint m_origin; // where the caption's baseline starts
    mutable QRect m_ink;
};

} // namespace filmarin
