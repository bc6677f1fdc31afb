// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/views.h"

#include <QListWidget>

namespace filmarin {

// A list of ticked items whose click event covers mouse clicks and key presses.
class CheckListBox : public QListWidget, public CheckList {
    Q_OBJECT
public:
    CheckListBox(const QStringList& items, int itemHeight, QWidget* parent);

    int count() const override { return QListWidget::count(); }
    bool isChecked(int item) const override;
    void setChecked(int item, bool checked) override;
    // Ticks or unticks every item, first to last.
    void setAllChecked(bool checked);
    // Height of a list that shows whole items only, at most `height`.
    int wholeItemsHeight(int height) const;
    // Moves every tick box up or down within its item so that the first one's middle lies at
    // `firstTickCentre`, a y in the coordinates of the list's parent: the ticks then stand
    // beside the grid rows whatever frames the style gives the grids and the list.
    void alignTicks(int firstTickCentre);
    int tickOffset() const { return m_tickOffset; }
    // Where the tick box of an item is, in the viewport's coordinates.
    QRect tickRect(int row) const;
    QRect tickRectIn(const QRect& item) const;

signals:
    void listClicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyboardSearch(const QString&) override {}

private:
    static constexpr int kTickBox = 13;
    int m_itemHeight;
    int m_tickOffset = 0;
};

} // namespace filmarin
