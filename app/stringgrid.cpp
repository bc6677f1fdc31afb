// SPDX-License-Identifier: GPL-3.0-or-later
#include "stringgrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>

namespace filmarin {

// Paints fixed cells like the grid's header and marked cells black on yellow; its
// editors write every change into the cell at once.
class StringGridDelegate : public QStyledItemDelegate {
public:
    explicit StringGridDelegate(StringGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const int column = index.column();
        const int row = index.row();
        const bool marked = m_grid->m_marked && m_grid->m_marked(column, row);
        if (!marked && !m_grid->isFixedCell(column, row)) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        const QPalette& palette = m_grid->palette();
        const QColor background = marked ? QColor(255, 255, 0) : palette.color(QPalette::Button);
        const QColor text = marked ? QColor(0, 0, 0) : palette.color(QPalette::WindowText);
        painter->save();
        painter->fillRect(option.rect, background);
        painter->setPen(text);
        painter->setFont(option.font);
        const QRect textRect = option.rect.adjusted(2, 2, 0, 0);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        const QPersistentModelIndex cell(index);
        QObject::connect(editor, &QLineEdit::textEdited, editor, [cell](const QString& text) {
            if (cell.isValid())
                const_cast<QAbstractItemModel*>(cell.model())->setData(cell, text, Qt::EditRole);
        });
        return editor;
    }

    // A click into the open cell editor is a click into the grid as well.
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress) {
            // The row first: the check the click starts may put the cursor elsewhere.
            if (m_grid->currentRow() >= 0)
                emit m_grid->rowTouched(m_grid->currentRow());
            emit m_grid->gridClicked();
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        // Keeps the cursor where it is while the user types into the cell.
        auto* line = qobject_cast<QLineEdit*>(editor);
        const QString text = index.data(Qt::EditRole).toString();
        if (line && line->text() != text)
            line->setText(text);
    }

private:
    StringGrid* m_grid;
};

StringGrid::StringGrid(int fixedColumns, QWidget* parent)
    : QTableWidget(parent), m_fixedColumns(fixedColumns) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(kRowPitch);
    verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::AllEditTriggers);
    setTabKeyNavigation(true);
    setMouseTracking(true);
    setWordWrap(false);
    setItemDelegate(new StringGridDelegate(this));
    // A move of the current cell by keyboard counts as a click; a mouse press is handled
    // once, in mousePressEvent.
    connect(this, &QTableWidget::currentCellChanged, this, [this](int row, int column, int, int) {
        if (!m_selectingByProgram && !m_pressing && row >= 0 && column >= 0) {
            emit rowTouched(row);
            emit gridClicked();
        }
    });
}

void StringGrid::setShape(int columns, int rows) {
    QTableWidget::setRowCount(rows);
    QTableWidget::setColumnCount(columns);
    for (int row = 0; row < rows; ++row) {
        verticalHeader()->resizeSection(row, kRowPitch);
        for (int column = 0; column < columns; ++column) {
            if (!item(row, column))
                makeItem(row, column);
        }
    }
}

void StringGrid::makeItem(int row, int column) {
    auto* cellItem = new QTableWidgetItem;
    // Fixed cells cannot be selected or edited; the delegate paints them like a header.
    cellItem->setFlags(isFixedCell(column, row)
                           ? Qt::NoItemFlags
                           : (Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable));
    setItem(row, column, cellItem);
}

void StringGrid::setMarkedCells(std::function<bool(int, int)> marked) {
    m_marked = std::move(marked);
    viewport()->update();
}

bool StringGrid::isFixedCell(int column, int row) const {
    return row < 1 || column < m_fixedColumns;
}

QString StringGrid::cell(int column, int row) const {
    const QTableWidgetItem* cellItem = item(row, column);
    return cellItem ? cellItem->text() : QString();
}

void StringGrid::setCell(int column, int row, const QString& text) {
    if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
        return;
    if (!item(row, column))
        makeItem(row, column);
    // An open editor on that cell takes the new text through the model.
    item(row, column)->setText(text);
}

int StringGrid::columnLineAt(const QPoint& pos) const {
    if (rowAt(pos.y()) != 0)
        return -1;
    for (int column = 0; column < QTableWidget::columnCount(); ++column) {
        const int line = columnViewportPosition(column) + QTableWidget::columnWidth(column);
        if (std::abs(pos.x() - line) <= 3)
            return column;
    }
    return -1;
}

int StringGrid::rowLineAt(const QPoint& pos) const {
    const int column = columnAt(pos.x());
    if (column < 0 || column >= m_fixedColumns)
        return -1;
    for (int row = 0; row < QTableWidget::rowCount(); ++row) {
        const int line = rowViewportPosition(row) + QTableWidget::rowHeight(row);
        if (std::abs(pos.y() - line) <= 3)
            return row;
    }
    return -1;
}

void StringGrid::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        if (const int column = columnLineAt(pos); column >= 0) {
            m_sizing = Sizing::Column;
            m_sizingIndex = column;
            m_sizingStart = pos.x();
            m_sizingOrigin = QTableWidget::columnWidth(column);
            return;
        }
        if (const int row = rowLineAt(pos); row >= 0) {
            m_sizing = Sizing::Row;
            m_sizingIndex = row;
            m_sizingStart = pos.y();
            m_sizingOrigin = QTableWidget::rowHeight(row);
            return;
        }
    }
    // Every click counts, also one on the current cell, a fixed cell or the header row.
    m_pressing = true;
    QTableWidget::mousePressEvent(event);
    m_pressing = false;
    if (const int row = rowAt(pos.y()); row >= 0)
        emit rowTouched(row);
    emit gridClicked();
}

void StringGrid::focusInEvent(QFocusEvent* event) {
    QTableWidget::focusInEvent(event);
    if (!m_selectingByProgram && currentRow() >= 0)
        emit rowTouched(currentRow());
}

void StringGrid::followRow(int row) {
    if (row < 0 || row >= rowCount() || currentRow() == row)
        return;
    int column = currentColumn();
    if (column < m_fixedColumns || column >= columnCount())
        column = m_fixedColumns;
    const EditTriggers triggers = editTriggers();
    setEditTriggers(NoEditTriggers);
    m_selectingByProgram = true;
    setCurrentCell(row, column, QItemSelectionModel::ClearAndSelect);
    m_selectingByProgram = false;
    setEditTriggers(triggers);
}

void StringGrid::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (m_sizing == Sizing::Column) {
        setColumnWidth(m_sizingIndex, std::max(1, m_sizingOrigin + pos.x() - m_sizingStart));
        return;
    }
    if (m_sizing == Sizing::Row) {
        setRowHeight(m_sizingIndex, std::max(1, m_sizingOrigin + pos.y() - m_sizingStart));
        return;
    }
    if (columnLineAt(pos) >= 0)
        viewport()->setCursor(Qt::SplitHCursor);
    else if (rowLineAt(pos) >= 0)
        viewport()->setCursor(Qt::SplitVCursor);
    else
        viewport()->unsetCursor();
    QTableWidget::mouseMoveEvent(event);
}

void StringGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (m_sizing != Sizing::None) {
        m_sizing = Sizing::None;
        return;
    }
    QTableWidget::mouseReleaseEvent(event);
}

void StringGrid::changeEvent(QEvent* event) {
    QTableWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && isEnabled() && m_focusWhenEnabled) {
        m_focusWhenEnabled = false;
        setFocus(Qt::OtherFocusReason);
        // The editor opens again on the selected cell.
        if (currentIndex().isValid())
            edit(currentIndex());
    }
}

void StringGrid::selectCell(int column, int row) {
    // Disabling and enabling the grid ends an open cell editor.
    setEnabled(false);
    setEnabled(true);
    setFocus(Qt::OtherFocusReason);
    m_focusWhenEnabled = !isEnabled();
    m_selectingByProgram = true;
    setCurrentCell(row, column, QItemSelectionModel::ClearAndSelect);
    m_selectingByProgram = false;
    // The cursor is where the preview's commands now go.
    if (currentRow() == row)
        emit rowTouched(row);
}

} // namespace filmarin
