// SPDX-License-Identifier: GPL-3.0-or-later
// Checks of the windows' layout, shared by the window tests at the usual scale and the
// tests at every screen scale.
#pragma once

#include "app/checklistbox.h"
#include "app/dialogweiter.h"
#include "app/statictext.h"
#include "app/stringgrid.h"
#include "app/unit1.h"
#include "table/excerpttable.h"

#include <QComboBox>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <cmath>

namespace filmarin::testing {

// The rectangle of the dark pixels of a picture (text drawn dark on light).
inline QRect inkOf(const QImage& image) {
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 192)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

// The ink of `text` drawn with `font` where nothing clips it, at a device pixel ratio.
inline QRect freeInk(const QString& text, const QFont& font, qreal ratio = 1.0) {
    QImage free(QSize(400, 80) * ratio, QImage::Format_RGB32);
    free.setDevicePixelRatio(ratio);
    free.fill(Qt::white);
    QPainter painter(&free);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(20, 50, text);
    painter.end();
    return inkOf(free);
}

// Play tick k stands in the middle of row k, pause tick "k-(k+1)" on the line below row k.
inline void verifyTicksLineUp(TForm1& w) {
    StringGrid* grid = w.StringGrid1;
    // Row k's cells, without the grid line below them, in the panel's coordinates.
    const auto row = [&](int k) {
        QRect cell = grid->visualRect(grid->model()->index(k, 0));
        cell.setHeight(StringGrid::kRowHeight);
        return QRect(grid->viewport()->mapTo(w.Panel1, cell.topLeft()), cell.size());
    };
    const auto tick = [&](CheckListBox* list, int item) {
        const QRect box = list->tickRect(item);
        return QRect(list->viewport()->mapTo(w.Panel1, box.topLeft()), box.size());
    };
    for (int k = 1; k <= 20; ++k) {
        const QRect play = tick(w.CheckListBox2, k - 1);
        // The play tick's middle is in the middle of its row.
        QVERIFY2(std::abs(play.center().y() - row(k).center().y()) <= 1,
                 qPrintable(QStringLiteral("play tick %1 at %2, row at %3")
                                .arg(k)
                                .arg(play.center().y())
                                .arg(row(k).center().y())));
        QVERIFY(w.CheckListBox2->viewport()->rect().contains(w.CheckListBox2->tickRect(k - 1)));
        if (k == 20)
            break;
        // The grid line between rows k and k+1 lies right below row k's cells.
        const int line = row(k).bottom() + 1;
        const QRect pause = tick(w.CheckListBox1, k - 1);
        QVERIFY2(std::abs(pause.center().y() - line) <= 1,
                 qPrintable(QStringLiteral("pause tick %1 at %2, line at %3")
                                .arg(w.CheckListBox1->item(k - 1)->text())
                                .arg(pause.center().y())
                                .arg(line)));
        QVERIFY(w.CheckListBox1->viewport()->rect().contains(w.CheckListBox1->tickRect(k - 1)));
    }
    // Row 20 ends near the grid's lower edge, with no band of a row's height below it.
    for (StringGrid* g : {w.StringGrid1, w.StringGrid2, w.StringGrid3, w.StringGrid4}) {
        const int bottom = g->rowViewportPosition(20) + g->rowHeight(20);
        QVERIFY(bottom <= g->viewport()->height());
        QVERIFY2(g->viewport()->height() - bottom < 12, qPrintable(g->objectName()));
    }
}

// Every caption, label and button shows its whole text.
inline void verifyCaptionsFit(TForm1& w, const QList<QWidget*>& windows) {
    const QString family = QFontInfo(w.StaticText1->captionFont()).family();
    if (family != QStringLiteral("Arial") && family != QStringLiteral("Liberation Sans"))
        QSKIP("the captions are measured for Arial, which this system does not have");
    for (StaticText* caption : {w.StaticText1, w.StaticText2, w.StaticText3, w.StaticText4,
                                w.StaticText5, w.StaticText6}) {
        const QString name = caption->text();
        const QRect room = caption->contentsRect();
        // The whole ink of the caption, drawn with the caption's font where nothing clips it.
        const QRect ink = freeInk(name, caption->captionFont());
        QVERIFY2(ink.width() <= room.width(), qPrintable(name));
        QVERIFY2(ink.height() <= room.height(), qPrintable(name));
        QVERIFY2(room.contains(caption->inkRect()), qPrintable(name));
        // The room the caption is placed by covers its whole ink.
        QVERIFY(caption->inkRect().width() >= ink.width());
        QVERIFY(caption->inkRect().height() >= ink.height());
        // On screen the frame stays whole: no letter is drawn over it.
        const QImage shown = caption->grab().toImage();
        const QColor frame = shown.pixelColor(0, 0);
        const auto onFrame = [&](int x, int y) {
            return QStringLiteral("%1: pixel (%2,%3) of %4x%5 is %6, the frame %7")
                .arg(name)
                .arg(x)
                .arg(y)
                .arg(shown.width())
                .arg(shown.height())
                .arg(shown.pixelColor(x, y).name(), frame.name());
        };
        // At a scale that is no whole number, the style may draw the frame's lower and right
        // lines one device pixel inside the picture, leaving the last one to the background.
        const bool fractional =
            std::abs(shown.devicePixelRatio() - std::round(shown.devicePixelRatio())) > 1e-6;
        // Where the line of frame colour ends, from the picture's start: -1 when it is whole
        // up to `last`.
        const auto row = [&](int y, int last) {
            for (int x = 0; x <= last; ++x) {
                if (shown.pixelColor(x, y) != frame)
                    return x;
            }
            return -1;
        };
        const auto column = [&](int x, int last) {
            for (int y = 0; y <= last; ++y) {
                if (shown.pixelColor(x, y) != frame)
                    return y;
            }
            return -1;
        };
        int bottom = shown.height() - 1;
        int right = shown.width() - 1;
        if (fractional && row(bottom, right) >= 0)
            --bottom;
        if (fractional && column(right, bottom) >= 0)
            --right;
        QVERIFY2(row(0, right) < 0, qPrintable(onFrame(row(0, right), 0)));
        QVERIFY2(row(bottom, right) < 0, qPrintable(onFrame(row(bottom, right), bottom)));
        QVERIFY2(column(0, bottom) < 0, qPrintable(onFrame(0, column(0, bottom))));
        QVERIFY2(column(right, bottom) < 0, qPrintable(onFrame(right, column(right, bottom))));
    }
    // Plain labels and buttons of the three windows need no more room than they have.
    for (QWidget* window : windows) {
        for (QLabel* label : window->findChildren<QLabel*>()) {
            // Trailing blanks ("Ausgewählte Gesamtspielzeit:   ") may run past the edge.
            const QString text = label->text().trimmed();
            QVERIFY2(label->fontMetrics().horizontalAdvance(text) <= label->contentsRect().width(),
                     qPrintable(text));
            QVERIFY2(label->fontMetrics().height() <= label->contentsRect().height(),
                     qPrintable(text));
        }
        for (QPushButton* button : window->findChildren<QPushButton*>()) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const QRect room =
                button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) <= room.width(),
                     qPrintable(button->text()));
        }
    }
}

// Each entry of the pause dialog's choice, up to "Ausschnitt 20", is shown whole.
inline void verifyExcerptChoiceFits(TDialogWeiter_Form& dialog) {
    ExcerptSpans spans{};
    for (ExcerptSpan& span : spans)
        span.selected = true;
    dialog.FillExcerptChoice(spans);
    QCOMPARE(dialog.ComboBox1->count(), kExcerptCount);
    QLineEdit* edit = dialog.ComboBox1->lineEdit();
    QVERIFY(edit);
    const qreal ratio = dialog.devicePixelRatioF();
    for (int i = 0; i < dialog.ComboBox1->count(); ++i) {
        dialog.ComboBox1->setCurrentIndex(i);
        const QString text = dialog.ComboBox1->itemText(i);
        // All its ink is on the screen, from the first letter to the last.
        const QImage shown = edit->grab().toImage();
        const QRect ink = inkOf(shown);
        const QRect whole = freeInk(text, edit->font(), ratio);
        QVERIFY2(std::abs(ink.width() - whole.width()) <= 1,
                 qPrintable(QStringLiteral("%1: %2 of %3 pixels shown")
                                .arg(text)
                                .arg(ink.width())
                                .arg(whole.width())));
    }
}

} // namespace filmarin::testing
