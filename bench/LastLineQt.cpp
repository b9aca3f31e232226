// The list's last line as Qt draws it: a paint of the view's viewport that covers it.

#include <QListView>
#include <QPaintEvent>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "bench/LastLine.h"
#include "platform/qt/QtForm.h"
#include "platform/qt/QtWindowSystem.h"

namespace vidor::bench {

struct LastLineWatch::Native : QObject {
    Native(const platform::ListBox& list, QListView* view) : list(list), view(view) {
        view->viewport()->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Paint) return false;
        const int rows = view->model()->rowCount();
        if (rows == 0) return false;
        const QRect last = view->visualRect(view->model()->index(rows - 1, 0));
        if (!static_cast<QPaintEvent*>(event)->region().intersects(last)) return false;
        ++draws;
        if (rows == list.count() && done) {
            // Told once this paint is over and on the screen.
            QTimer::singleShot(0, this, [this, finish = std::move(done)] { finish(Clock::now()); });
            done = nullptr;
        }
        return false;
    }

    const platform::ListBox& list;
    QListView* view;
    int draws = 0;
    Done done;
};

LastLineWatch::LastLineWatch(platform::GuardedWindowSystem& windows, platform::Window& window,
                             const platform::ListBox& list) {
    auto* qt = dynamic_cast<platform::qt::QtWindowSystem*>(&windows);
    platform::qt::QtForm* form = qt ? qt->formOf(window) : nullptr;
    auto* view = form ? qobject_cast<QListView*>(form->widgetOf(list)) : nullptr;
    if (!view) {
        std::fprintf(stderr, "list_bench: the list is not shown by Qt\n");
        std::exit(1);
    }
    native_ = std::make_unique<Native>(list, view);
}

LastLineWatch::~LastLineWatch() = default;

int LastLineWatch::draws() const {
    return native_->draws;
}

void LastLineWatch::whenDrawn(Done done, std::chrono::seconds limit) {
    native_->done = std::move(done);
    QTimer::singleShot(limit, native_.get(), [native = native_.get()] {
        if (auto finish = std::move(native->done)) finish(std::nullopt);
    });
}

}  // namespace vidor::bench
