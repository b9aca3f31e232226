// The Qt binding's tests share one QApplication, on the offscreen platform. A test that leaves a
// modal window open would wait for a person for ever: a watchdog fails it instead.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <chrono>
#include <csignal>

namespace {

// After kModalLimit the modal window in front is closed and the test fails; a test that has not
// ended after kHardLimitSeconds (a loop that never yields) ends the test program, below the line
// where GoogleTest named it.
constexpr auto kModalLimit = std::chrono::seconds(10);
constexpr unsigned kHardLimitSeconds = 60;

void closeModal() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    ADD_FAILURE() << "a modal window was left open: \"" << modal->windowTitle().toStdString()
                  << "\"";
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    else
        modal->close();
}

class Watchdog : public ::testing::EmptyTestEventListener {
  public:
    void OnTestStart(const ::testing::TestInfo&) override {
        timer_ = std::make_unique<QTimer>();
        QObject::connect(timer_.get(), &QTimer::timeout, closeModal);
        timer_->start(kModalLimit);
        ::alarm(kHardLimitSeconds);
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        timer_.reset();
        // A test that ended the program told Qt to quit, which would end every event loop of
        // the next tests at once; running the application's loop clears that.
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
        ::alarm(0);
    }

  private:
    std::unique_ptr<QTimer> timer_;
};

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new Watchdog);
    std::signal(SIGALRM, [](int) {
        constexpr char kMessage[] = "\nthis test did not end: stopped by the watchdog\n";
        [[maybe_unused]] const auto written = ::write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
        ::_exit(1);
    });
    return RUN_ALL_TESTS();
}
