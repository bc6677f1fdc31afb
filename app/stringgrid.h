// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/views.h"

#include <QTableWidget>
#include <functional>

namespace filmarin {

// A grid of free-text cells with a fixed header row (and optionally fixed leading
// columns). The cell editor is always shown and writes every keystroke into its cell.
class StringGrid : public QTableWidget, public CellGrid {
    Q_OBJECT
public:
    // A row is 24 pixels high, and the grid line below it takes one more: rows repeat
    // every 25 pixels, as the tick lists beside the grids do.
    static constexpr int kRowHeight = 24;
    static constexpr int kGridLineWidth = 1;
    static constexpr int kRowPitch = kRowHeight + kGridLineWidth;

    StringGrid(int fixedColumns, QWidget* parent);

    // Row and column counts; new cells start empty.
    void setShape(int columns, int rows);
    // Decides which cells are painted black on yellow (called for every painted cell).
    void setMarkedCells(std::function<bool(int column, int row)> marked);
    bool isFixedCell(int column, int row) const;

    int columnCount() const override { return QTableWidget::columnCount(); }
    int rowCount() const override { return QTableWidget::rowCount(); }
    QString cell(int column, int row) const override;
    void setCell(int column, int row, const QString& text) override;
    void selectCell(int column, int row) override;
    // Moves the cell cursor to `row`, in the current column where that is not fixed, when
    // another grid's cursor has gone there; raises nothing and opens no editor.
    void followRow(int row);

signals:
    // A mouse press on any cell (the open editor, a fixed cell and the header row
    // included) or a move of the current cell by keyboard; not raised when the program
    // selects a cell.
    void gridClicked();
    // The user has touched a cell of `row`: pressed a mouse button on it or on its open
    // editor, moved the cursor there by keyboard, or come into the grid with it there; or
    // the program has put the cursor there (selectCell).
    void rowTouched(int row);

protected:
    void keyboardSearch(const QString&) override {}
    // The user resizes a column by dragging its line in the header row, and a row by
    // dragging its line in a fixed column.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    friend class StringGridDelegate;
    void makeItem(int row, int column);
    // The column (or row) whose right (or lower) line lies under `pos`, or -1.
    int columnLineAt(const QPoint& pos) const;
    int rowLineAt(const QPoint& pos) const;

    enum class Sizing { None, Column, Row };
    Sizing m_sizing = Sizing::None;
    int m_sizingIndex = -1;
    int m_sizingStart = 0;
    int m_sizingOrigin = 0;

    int m_fixedColumns;
    bool m_selectingByProgram = false;
    bool m_pressing = false;
    // A cell was selected while the window was locked: focus it once it is unlocked.
    bool m_focusWhenEnabled = false;
    std::function<bool(int, int)> m_marked;
};

} // namespace filmarin
