#include "platform/qt/ListView.h"

#include <QHelpEvent>
#include <QStyledItemDelegate>
#include <QToolTip>

#include "platform/qt/FocusFrame.h"
#include "platform/qt/ListModel.h"

namespace vidor::platform::qt {

namespace {

// Every line is as wide as the widest one: the view asks the size of one line only.
class LineDelegate : public QStyledItemDelegate {
  public:
    LineDelegate(ListModel& model, QObject* parent) : QStyledItemDelegate(parent), model_(model) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        const int margins =
            size.width() - option.fontMetrics.horizontalAdvance(index.data().toString());
        size.setWidth(margins + model_.widest(option.fontMetrics));
        return size;
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        if (option.state & QStyle::State_HasFocus) drawFocusFrame(*painter, option);
    }

  private:
    ListModel& model_;
};

}  // namespace

ListView::ListView(ListBox& list, QWidget* parent)
    : QListView(parent), list_(list), model_(new ListModel(list, this)) {
    setModel(model_);
    setItemDelegate(new LineDelegate(*model_, this));
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(list.multiple() ? QAbstractItemView::MultiSelection
                                     : QAbstractItemView::SingleSelection);
}

bool ListView::cut(const QModelIndex& index) {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    option.text = index.data().toString();
    option.features |= QStyleOptionViewItem::HasDisplay;
    const QRect text = style()->subElementRect(QStyle::SE_ItemViewItemText, &option, this);
    return text.left() < 0 ||
           text.left() + fontMetrics().horizontalAdvance(option.text) > viewport()->width();
}

bool ListView::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip || list_.toolTip) return QListView::viewportEvent(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = indexAt(help->pos());
    if (index.isValid() && cut(index)) {
        QToolTip::showText(help->globalPos(), index.data().toString(), viewport(),
                           visualRect(index));
    } else {
        QToolTip::hideText();
    }
    return true;
}

}  // namespace vidor::platform::qt
