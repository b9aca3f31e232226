#include "platform/qt/ListModel.h"

#include <algorithm>
#include <utility>

namespace vidor::platform::qt {

ListModel::ListModel(ListBox& list, QObject* parent)
    : QAbstractListModel(parent), list_(list), rows_(list.count()) {}

int ListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

QString ListModel::displayed(const std::string& text) {
    const std::string shown = displayedLine(text);
    return QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size()));
}

int ListModel::listLine(int row) const {
    if (removed_ == 0 || row < removedAt_) return row;
    return row < removedAt_ + removed_ ? -1 : row - removed_;
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_) return {};
    const int line = listLine(index.row());
    if (line < 0 || line >= list_.count()) return {};
    if (role == Qt::DisplayRole) return displayed(list_.item(line));
    if (role == Qt::ToolTipRole && list_.toolTip) {
        return QString::fromStdString(list_.toolTip(line));
    }
    return {};
}

int ListModel::widest(const QFontMetrics& metrics) {
    // Shaping a line takes microseconds, too long for a census's hundred thousand lines: a line
    // is measured as the sum of its characters' widths, read from a table, which is never less
    // than its drawn width but for kerning. A byte that is no printable ASCII character counts
    // as the widest character once per character.
    if (advances_.empty()) {
        advances_.assign(256, metrics.maxWidth());
        for (int c = 0x20; c < 0x7F; ++c) advances_[c] = metrics.horizontalAdvance(QChar(c));
        for (int c = 0x80; c < 0xC0; ++c) advances_[c] = 0;  // inside a UTF-8 character
    }
    for (; measured_ < std::min(rows_, list_.count()); ++measured_) {
        int width = 0;
        for (unsigned char c : list_.item(measured_)) width += advances_[c];
        widest_ = std::max(widest_, width);
    }
    return widest_;
}

void ListModel::flush() {
    if (removed_ > 0) {
        beginRemoveRows({}, removedAt_, removedAt_ + removed_ - 1);
        rows_ -= removed_;
        measured_ = std::min(measured_, removedAt_);
        removed_ = 0;
        endRemoveRows();
    }
    if (pending_ == 0) return;
    beginInsertRows({}, rows_, rows_ + pending_ - 1);
    rows_ += pending_;
    pending_ = 0;
    endInsertRows();
}

void ListModel::listChanged(ListChange change, int index) {
    if (change == ListChange::Inserted && removed_ == 0 && index == rows_ + pending_) {
        ++pending_;
        return;
    }
    if (change == ListChange::Removed && std::exchange(removedSinceShown_, true) && pending_ == 0 &&
        (removed_ == 0 || index == removedAt_) && index < rows_ - removed_) {
        removedAt_ = index;
        ++removed_;
        return;
    }
    flush();
    switch (change) {
        case ListChange::Inserted:
            beginInsertRows({}, index, index);
            ++rows_;
            endInsertRows();
            break;
        case ListChange::Removed:
            beginRemoveRows({}, index, index);
            --rows_;
            if (index < measured_) --measured_;
            endRemoveRows();
            break;
        case ListChange::Cleared:
            beginResetModel();
            rows_ = 0;
            measured_ = 0;
            widest_ = 0;
            endResetModel();
            break;
    }
}

}  // namespace vidor::platform::qt
