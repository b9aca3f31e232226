#include "platform/linux/DesktopNotifier.h"

#include <sys/stat.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>
#include <cstdlib>

#include "platform/linux/LinuxProcess.h"

namespace vidor::platform::linux_ {

namespace {

constexpr const char* kNoticeArgument = "--avis";
constexpr int kWaitMilliseconds = 5000;

// A session bus is there to be reached: named in the environment, or where systemd puts it.
bool sessionBus() {
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address) {
        return true;
    }
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat st {};
    return runtime && *runtime && ::stat((std::string(runtime) + "/bus").c_str(), &st) == 0 &&
           S_ISSOCK(st.st_mode);
}

}  // namespace

void DesktopNotifier::notify(const std::string& summary, const std::string& text) {
    if (!sessionBus()) return;
    std::string ignored;  // a word that cannot be sent is not worth another
    LinuxProcess::startDetached(program_, {kNoticeArgument, summary, text}, ignored);
}

std::optional<int> noticeAsked(const std::vector<std::string>& arguments) {
    if (arguments.size() != 3 || arguments[0] != kNoticeArgument) return std::nullopt;
    return sendNotice(arguments[1], arguments[2]) ? 0 : 1;
}

bool sendNotice(const std::string& summary, const std::string& text) {
    int argc = 1;
    char name[] = "vidor";
    char* argv[] = {name, nullptr};
    std::optional<QCoreApplication> application;
    if (!QCoreApplication::instance()) application.emplace(argc, argv);
    QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.Notifications",
                                                       "/org/freedesktop/Notifications",
                                                       "org.freedesktop.Notifications", "Notify");
    call.setAutoStartService(false);
    const QVariantMap hints{{"desktop-entry", QString("fr.brenlo.Vidor")}};
    call << QString("Vidor") << 0u << QString("fr.brenlo.Vidor") << QString::fromStdString(summary)
         << QString::fromStdString(text) << QStringList() << hints << -1;
    const QDBusMessage reply =
        QDBusConnection::sessionBus().call(call, QDBus::Block, kWaitMilliseconds);
    return reply.type() == QDBusMessage::ReplyMessage;
}

}  // namespace vidor::platform::linux_
