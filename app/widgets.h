#pragma once

#include "table/tableview.h"

#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <functional>

class QDialog;
class QKeyEvent;
class QLabel;

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

signals:
    // A mouse press on any cell (the open editor, a fixed cell and the header row
    // included) or a move of the current cell by keyboard; not raised when the program
    // selects a cell.
    void gridClicked();

protected:
    void keyboardSearch(const QString&) override {}
    // The user resizes a column by dragging its line in the header row, and a row by
    // dragging its line in a fixed column.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

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

// The total field: a read-only edit with its label to the left.
class LabeledEdit : public QLineEdit, public TotalDisplay {
    Q_OBJECT
public:
    LabeledEdit(const QString& label, QWidget* parent);
    QLabel* label() const { return m_label; }
    // Places the edit and its label, which ends 3 pixels before it.
    void place(int left, int top, int width, int height, int labelWidth, int labelHeight);

    void setText(const QString& text) override { QLineEdit::setText(text); }
    void setHighlighted(bool highlighted) override;
    bool isHighlighted() const { return m_highlighted; }

private:
    QLabel* m_label;
    bool m_highlighted = false;
};

// Scales sizes given for a dialog template at 163 pixels per inch to the screen of a
// widget, as the dialogs' templates are laid out.
class TemplateScale {
public:
    explicit TemplateScale(const QWidget& widget);
    int operator()(int value) const;
    // "Arial" with 32-pixel characters at the template's resolution.
    QFont font() const;

private:
    double m_factor;
};

// Enter or Return on a focused push button of a dialog presses it, as on Windows; Enter
// elsewhere in the dialog presses nothing. Returns whether the key was taken.
bool pressFocusedButton(QDialog& dialog, const QKeyEvent& event);

// Shows messages as modal message boxes with one OK button.
class MessageBoxSink : public MessageSink {
public:
    explicit MessageBoxSink(QWidget* parent) : m_parent(parent) {}
    void showMessage(const QString& caption, const QString& text, MessageIcon icon) override;

private:
    QWidget* m_parent;
};

} // namespace filmarin
