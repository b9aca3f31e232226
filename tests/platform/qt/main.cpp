// The Qt binding's tests share one QApplication, on the offscreen platform. A test that leaves a
// modal window open would wait for a person for ever: a watchdog fails it instead.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

namespace {

// After kModalLimit the modal window in front is closed and the test fails; a test that has not
// ended by kHardLimit (a loop that never yields) ends the test program.
constexpr auto kModalLimit = std::chrono::seconds(10);
constexpr auto kHardLimit = std::chrono::seconds(60);

class Watchdog : public ::testing::EmptyTestEventListener {
  public:
    void OnTestStart(const ::testing::TestInfo& test) override {
        timer_ = std::make_unique<QTimer>();
        QObject::connect(timer_.get(), &QTimer::timeout, [] { closeModal(); });
        timer_->start(kModalLimit);
        std::lock_guard lock(mutex_);
        running_ = true;
        thread_ = std::thread([this, name = std::string(test.name())] {
            std::unique_lock lock(mutex_);
            if (!ended_.wait_for(lock, kHardLimit, [this] { return !running_; })) {
                std::fprintf(stderr, "%s did not end: stopped by the watchdog\n", name.c_str());
                std::_Exit(1);
            }
        });
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        timer_.reset();
        // A test that ended the program told Qt to quit, which would end every event loop of
        // the next tests at once; running the application's loop clears that.
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
        {
            std::lock_guard lock(mutex_);
            running_ = false;
        }
        ended_.notify_all();
        thread_.join();
    }

  private:
    static void closeModal() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        ADD_FAILURE() << "a modal window was left open: \"" << modal->windowTitle().toStdString()
                      << "\"";
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    }

    std::unique_ptr<QTimer> timer_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable ended_;
    bool running_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new Watchdog);
    return RUN_ALL_TESTS();
}
