// SPDX-License-Identifier: GPL-3.0-or-later
#include "checklistbox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyledItemDelegate>

namespace filmarin {

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
    const int centre =
        y() + frameWidth() + tickRectIn(QRect(0, 0, 1, m_itemHeight)).center().y() - m_tickOffset;
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

} // namespace filmarin
