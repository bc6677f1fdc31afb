#include "widgets.h"

#include <QApplication>
#include <QDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cmath>
#include <cstdlib>

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
        if (event->type() == QEvent::MouseButtonPress)
            emit m_grid->gridClicked();
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
        if (!m_selectingByProgram && !m_pressing && row >= 0 && column >= 0)
            emit gridClicked();
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
    emit gridClicked();
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
}

// Draws each item as a narrow tick box with its text right after it, so that "19-20"
// fits the narrow list; a click anywhere on the item's box toggles the tick. Box and text
// stand the list's tick offset lower (or higher) than the item's middle.
class CheckListDelegate : public QStyledItemDelegate {
public:
    explicit CheckListDelegate(CheckListBox* list) : QStyledItemDelegate(list), m_list(list) {}

    QRect boxRect(const QRect& item) const { return m_list->tickRectIn(item); }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QWidget* widget = opt.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        painter->save();
        const bool selected = opt.state & QStyle::State_Selected;
        if (selected)
            painter->fillRect(opt.rect, opt.palette.brush(QPalette::Highlight));
        QStyleOptionViewItem box = opt;
        box.rect = boxRect(opt.rect);
        box.state = box.state & ~QStyle::State_HasFocus;
        box.state |= opt.checkState == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, widget);
        painter->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        const QRect text = opt.rect.adjusted(box.rect.right() + 4 - opt.rect.left(), 0, 0, 0)
                               .translated(0, m_list->tickOffset());
        painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, opt.text);
        painter->restore();
    }

    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override {
        if (!(index.flags() & Qt::ItemIsUserCheckable) || !(index.flags() & Qt::ItemIsEnabled))
            return false;
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton ||
                !boxRect(option.rect).adjusted(-2, -2, 2, 2).contains(mouse->position().toPoint()))
                return false;
        } else if (event->type() == QEvent::MouseButtonDblClick) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            return boxRect(option.rect)
                .adjusted(-2, -2, 2, 2)
                .contains(mouse->position().toPoint());
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key != Qt::Key_Space && key != Qt::Key_Select)
                return false;
        } else {
            return false;
        }
        const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        return model->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    }

private:
    CheckListBox* m_list;
};

CheckListBox::CheckListBox(const QStringList& items, int itemHeight, QWidget* parent)
    : QListWidget(parent), m_itemHeight(itemHeight) {
    setItemDelegate(new CheckListDelegate(this));
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (const QString& text : items) {
        auto* listItem = new QListWidgetItem(text, this);
        listItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        listItem->setCheckState(Qt::Unchecked);
        listItem->setSizeHint(QSize(0, itemHeight));
    }
}

bool CheckListBox::isChecked(int row) const {
    const QListWidgetItem* listItem = item(row);
    return listItem && listItem->checkState() == Qt::Checked;
}

void CheckListBox::setChecked(int row, bool checked) {
    if (QListWidgetItem* listItem = item(row))
        listItem->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void CheckListBox::setAllChecked(bool checked) {
    for (int row = 0; row < count(); ++row)
        setChecked(row, checked);
}

QRect CheckListBox::tickRectIn(const QRect& item) const {
    return {item.left() + 2, item.top() + (item.height() - kTickBox) / 2 + m_tickOffset, kTickBox,
            kTickBox};
}

QRect CheckListBox::tickRect(int row) const {
    return tickRectIn(visualItemRect(item(row)));
}

void CheckListBox::alignTicks(int firstTickCentre) {
    // The first item starts right inside the frame; its tick box is centred in it.
    const int centre = y() + frameWidth() + tickRectIn(QRect(0, 0, 1, m_itemHeight)).center().y() -
                       m_tickOffset;
    // Within its item: the items themselves stay where the list puts them.
    const int room = (m_itemHeight - kTickBox) / 2;
    m_tickOffset = std::clamp(firstTickCentre - centre, -room, room);
    viewport()->update();
}

int CheckListBox::wholeItemsHeight(int height) const {
    const int frame = 2 * frameWidth();
    const int items = (height - frame) / m_itemHeight;
    return items * m_itemHeight + frame;
}

void CheckListBox::mouseReleaseEvent(QMouseEvent* event) {
    QListWidget::mouseReleaseEvent(event);
    if (itemAt(event->position().toPoint()))
        emit listClicked();
}

void CheckListBox::keyPressEvent(QKeyEvent* event) {
    const int before = currentRow();
    const bool checkedBefore = isChecked(before);
    QListWidget::keyPressEvent(event);
    if (currentRow() != before || isChecked(currentRow()) != checkedBefore)
        emit listClicked();
}

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

LabeledEdit::LabeledEdit(const QString& label, QWidget* parent)
    : QLineEdit(parent), m_label(new QLabel(label, parent)) {
    setReadOnly(true);
    m_label->setBuddy(this);
}

void LabeledEdit::place(int left, int top, int width, int height, int labelWidth, int labelHeight) {
    setGeometry(left, top, width, height);
    m_label->setGeometry(left - 3 - labelWidth, top + (height - labelHeight) / 2, labelWidth,
                         labelHeight);
}

void LabeledEdit::setHighlighted(bool highlighted) {
    m_highlighted = highlighted;
    QPalette p = palette();
    p.setColor(QPalette::Base, highlighted ? QColor(255, 255, 0) : QColor(255, 255, 255));
    setPalette(p);
}

TemplateScale::TemplateScale(const QWidget& widget)
    : m_factor((widget.screen() ? widget.screen()->logicalDotsPerInchY() : 96.0) / 163.0) {}

int TemplateScale::operator()(int value) const {
    return static_cast<int>(std::lround(value * m_factor));
}

QFont TemplateScale::font() const {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, (*this)(32)));
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

bool pressFocusedButton(QDialog& dialog, const QKeyEvent& event) {
    if (event.key() != Qt::Key_Return && event.key() != Qt::Key_Enter)
        return false;
    auto* button = qobject_cast<QPushButton*>(dialog.focusWidget());
    if (!button || !button->isEnabled())
        return false;
    button->click();
    return true;
}

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
