#include "platform/qt/QtForm.h"

#include <QAbstractEventDispatcher>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <algorithm>

#include "platform/Stacking.h"
#include "platform/controls/Button.h"
#include "platform/controls/CheckBox.h"
#include "platform/controls/Label.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/Panel.h"
#include "platform/controls/TextBox.h"
#include "platform/qt/DesignedPalette.h"
#include "platform/qt/FormWidget.h"
#include "platform/qt/ListModel.h"
#include "platform/qt/ListView.h"
#include "platform/qt/QtText.h"
#include "platform/qt/QtWindowSystem.h"

namespace vidor::platform::qt {

namespace {

// Only lists of at least so many lines are shown at a pace: a short list is always shown at once,
// however busy the machine that made it slow.
constexpr int kLongList = 10000;

void setBold(QWidget* widget, bool bold) {
    QFont font = widget->font();
    font.setBold(bold);
    widget->setFont(font);
}

}  // namespace

QtForm::QtForm(Window& window, QtWindowSystem& system, const PixelScale& scale)
    : window_(window), system_(system), scale_(scale) {
    top_ = new FormWidget(*this);
    top_->setAttribute(Qt::WA_DeleteOnClose, false);
    // Its own colours, whatever the desktop's theme, before the controls inherit them.
    top_->setPalette(designedPalette());
    showTimer_.setSingleShot(true);
    connect(&showTimer_, &QTimer::timeout, this, [this] { showLists(); });
    // A walk lets the loop run without ever waiting: only once it is over does the loop wait.
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &QtForm::idle);
    window.setObserver(this);
    for (Control* child : window.children()) build(*child, top_);
    stack(window);
    for (Property property :
         {Property::Caption, Property::Geometry, Property::Pointer, Property::Default}) {
        applyWindow(property);
    }
    const std::pair<QKeySequence, Key> keys[] = {
        {Qt::Key_Return, Key::Enter}, {Qt::Key_Enter, Key::Enter}, {Qt::Key_Escape, Key::Escape}};
    for (const auto& [sequence, key] : keys) {
        connect(new QShortcut(sequence, top_), &QShortcut::activated, this,
                [this, key] { pressKey(key); });
    }
}

QtForm::~QtForm() {
    window_.setObserver(nullptr);
    for (auto& [control, widget] : widgets_) const_cast<Control*>(control)->setObserver(nullptr);
    delete top_;
}

QWidget* QtForm::widgetOf(const Control& control) const {
    if (&control == &window_) return top_;
    auto it = widgets_.find(&control);
    return it == widgets_.end() ? nullptr : it->second;
}

Control* QtForm::controlOf(const QWidget* widget) const {
    for (; widget && widget != top_; widget = widget->parentWidget()) {
        if (auto it = controls_.find(widget); it != controls_.end()) return it->second;
    }
    return nullptr;
}

QWidget* QtForm::build(Control& control, QWidget* parent) {
    QWidget* widget = buildWidget(control, parent);
    widgets_[&control] = widget;
    controls_[widget] = &control;
    control.setObserver(this);
    name(control);
    for (Control* child : control.children()) build(*child, widget);
    stack(control);
    for (Property property : {Property::Geometry, Property::Enabled, Property::Visible}) {
        applyControl(control, widget, property);
    }
    if (dynamic_cast<ListBox*>(&control)) applyControl(control, widget, Property::Selection);
    return widget;
}

QWidget* QtForm::buildWidget(Control& control, QWidget* parent) {
    if (auto* button = dynamic_cast<Button*>(&control)) {
        auto* push = new QPushButton(text(button->caption()), parent);
        setBold(push, button->bold());
        push->setAutoDefault(false);
        connect(push, &QPushButton::clicked, this,
                [this, button] { system_.guard([button] { button->press(); }); });
        if (button->onMouseMove) {
            push->setMouseTracking(true);
            push->installEventFilter(this);
            hovered_[push] = button;
        }
        return push;
    }
    if (auto* box = dynamic_cast<CheckBox*>(&control)) {
        auto* check = new QCheckBox(text(box->caption()), parent);
        check->setChecked(box->value() == 1);
        connect(check, &QCheckBox::clicked, this, [this, box](bool checked) {
            system_.guard([box, checked] { box->setValue(checked ? 1 : 0); });
        });
        return check;
    }
    if (auto* label = dynamic_cast<Label*>(&control)) {
        auto* shown = new QLabel(text(label->caption()), parent);
        shown->setWordWrap(true);
        shown->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        setBold(shown, label->bold());
        applyControl(control, shown, Property::ForeColor);
        return shown;
    }
    if (auto* list = dynamic_cast<ListBox*>(&control)) {
        auto* view = new ListView(*list, parent);
        connectList(*list, view);
        return view;
    }
    if (auto* box = dynamic_cast<TextBox*>(&control)) {
        auto* edit = new QPlainTextEdit(text(box->text()), parent);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        edit->setReadOnly(true);
        edit->setTabChangesFocus(true);
        return edit;
    }
    return buildSurface(control, parent);
}

QWidget* QtForm::buildSurface(Control& control, QWidget* parent) {
    auto* panel = dynamic_cast<Panel*>(&control);
    QWidget* surface = nullptr;
    if (panel && panel->kind() == Panel::Kind::Frame) {
        surface = new QGroupBox(text(panel->caption()), parent);
    } else {
        auto* frame = new QFrame(parent);
        frame->setFrameShape(QFrame::NoFrame);
        surface = frame;
    }
    if (panel && panel->onMouseMove) {
        surface->setMouseTracking(true);
        surface->installEventFilter(this);
        hovered_[surface] = panel;
    }
    return surface;
}

void QtForm::connectList(ListBox& list, ListView* view) {
    ListModel* model = view->listModel();
    models_[&list] = model;
    connect(
        view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        [this, &list, view, model](const QItemSelection& selected,
                                   const QItemSelection& deselected) {
            if (syncing_) return;
            system_.guard([&] {
                if (!list.multiple()) {
                    // The program's selected line is the highlighted one, or none at all:
                    // "Conserver" must never take off a line the user no longer sees selected.
                    const QModelIndexList rows = view->selectionModel()->selectedIndexes();
                    list.setListIndex(rows.isEmpty() ? -1 : model->listLine(rows.front().row()));
                    return;
                }
                const auto select = [&](const QItemSelection& rows, bool selected) {
                    for (const QModelIndex& index : rows.indexes()) {
                        const int line = model->listLine(index.row());
                        if (line >= 0) list.setSelected(line, selected);
                    }
                };
                select(deselected, false);
                select(selected, true);
            });
        });
    connect(view, &QListView::doubleClicked, this,
            [this, &list] { system_.guard([&list] { list.doubleClick(); }); });
}

void QtForm::syncSelection(ListBox& list) {
    auto* view = static_cast<QListView*>(widgetOf(list));
    ListModel* model = models_.at(&list);
    // A deletion marks each line as it goes: lines it took off wait to be announced, in one
    // batch, rather than have the view lay out its lines again at each one.
    if (list.multiple() || model->viewRow(list.listIndex()) >= model->rowCount()) model->flush();
    if (!view) return;
    syncing_ = true;
    QItemSelectionModel* selection = view->selectionModel();
    if (list.multiple()) {
        QItemSelection wanted;
        for (int row = 0; row < list.count(); ++row) {
            if (list.selected(row)) wanted.select(model->index(row), model->index(row));
        }
        selection->select(wanted, QItemSelectionModel::ClearAndSelect);
    } else if (list.listIndex() >= 0) {
        const QModelIndex index = model->index(model->viewRow(list.listIndex()));
        selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        view->scrollTo(index);
    } else {
        selection->clearSelection();
    }
    syncing_ = false;
}

void QtForm::changed(Control& control, Property property) {
    if (&control == &window_) {
        applyWindow(property);
    } else if (QWidget* widget = widgetOf(control)) {
        applyControl(control, widget, property);
    }
    if (property == Property::Visible || property == Property::Enabled ||
        property == Property::Default) {
        keepFocusUsable();
    }
}

void QtForm::listChanged(ListBox& list, ListChange change, int index) {
    auto it = models_.find(&list);
    if (it == models_.end()) return;
    syncing_ = true;
    it->second->listChanged(change, index);
    syncing_ = false;
    if (it->second->pending()) queueShowLists();
}

void QtForm::queueShowLists(qint64 delay) {
    if (!showTimer_.isActive()) showTimer_.start(static_cast<int>(delay));
}

void QtForm::idle() {
    if (!showTimer_.isActive()) return;
    showTimer_.stop();
    showLists(false);
}

void QtForm::showLists(bool paced) {
    // Laying out a list of a hundred thousand lines takes milliseconds.
    if (const auto wait = pace_.wait(); paced && longestShown_ >= kLongList && wait.count() > 0) {
        queueShowLists(wait.count());
        return;
    }
    const auto start = DrawPace::Clock::now();
    bool laid = false;
    longestShown_ = 0;
    for (auto& [control, model] : models_) {
        model->shown();
        if (!model->pending() && !topMoved_.contains(control)) continue;
        laid = true;
        model->flush();
        auto* view = static_cast<QListView*>(widgetOf(*control));
        // Laid out now rather than later, so that the view scrolls to lines it knows of and is
        // drawn by this very turn of the event loop.
        view->doItemsLayout();
        longestShown_ = std::max(longestShown_, model->rowCount());
        if (topMoved_.erase(control)) {
            const int top = static_cast<const ListBox*>(control)->topIndex();
            view->scrollTo(model->index(top), QAbstractItemView::PositionAtTop);
        }
    }
    // A turn with nothing to lay out says nothing of what laying out costs.
    if (laid) pace_.drawn(start, DrawPace::Clock::now());
}

void QtForm::stack(const Control& container) {
    for (Control* control : bottomToTop(container.children())) widgetOf(*control)->raise();
}

bool QtForm::eventFilter(QObject* watched, QEvent* event) {
    auto it = hovered_.find(watched);
    if (event->type() == QEvent::MouseMove && it != hovered_.end()) {
        Control* control = it->second;
        // A move over a control that the control leaves unhandled comes on to the panel that
        // holds it; the panel's handler is for its own surface only.
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (auto* panel = dynamic_cast<Panel*>(control)) {
            if (!static_cast<QWidget*>(watched)->childAt(at))
                system_.guard([panel] { panel->onMouseMove(); });
        } else {
            system_.guard([control] { static_cast<Button*>(control)->onMouseMove(); });
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace vidor::platform::qt
