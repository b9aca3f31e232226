#include "platform/linux/LinuxSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>

namespace vidor::platform::linux_ {

namespace {

QString userConfigFolder() {
    QString folder = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (folder.isEmpty() || QDir::isRelativePath(folder)) folder = QDir::homePath() + "/.config";
    return folder;
}

QStringList machineConfigFolders() {
    QStringList folders;
    for (const QString& folder :
         qEnvironmentVariable("XDG_CONFIG_DIRS").split(':', Qt::SkipEmptyParts)) {
        if (!QDir::isRelativePath(folder)) folders << folder;
    }
    if (folders.isEmpty()) folders << "/etc/xdg";
    return folders;
}

std::optional<StoredValue> readFile(const QString& file, const std::string& name) {
    if (!QFileInfo(file).isFile()) return std::nullopt;
    QSettings ini(file, QSettings::IniFormat);
    const QString key = QString::fromStdString(name);
    if (!ini.contains(key)) return std::nullopt;
    const QVariant value = ini.value(key);
    if (value.typeId() != QMetaType::QString) return StoredValue{false, {}};
    return StoredValue{true, value.toString().toStdString()};
}

}  // namespace

QString LinuxSettings::fileOf(const QString& base, const std::string& keyPath) {
    // Software\Brenlo\Vidor gives Brenlo/Vidor.conf; empty names (doubled or final
    // backslashes) are dropped, as the registry drops them.
    QStringList names = QString::fromStdString(keyPath).split('\\', Qt::SkipEmptyParts);
    if (!names.isEmpty() && names.front().compare("Software", Qt::CaseInsensitive) == 0) {
        names.pop_front();
    }
    if (names.isEmpty()) names << "Software";
    return base + '/' + names.join('/') + ".conf";
}

std::optional<StoredValue> LinuxSettings::read(Hive hive, const std::string& keyPath,
                                               const std::string& name) {
    if (auto value = readFile(fileOf(userConfigFolder(), keyPath), name)) return value;
    if (hive == Hive::LocalMachine) {
        for (const QString& folder : machineConfigFolders()) {
            if (auto value = readFile(fileOf(folder, keyPath), name)) return value;
        }
    }
    return std::nullopt;
}

std::int32_t LinuxSettings::write(Hive, const std::string& keyPath, const std::string& name,
                                  const std::string& text) {
    const QString file = fileOf(userConfigFolder(), keyPath);
    if (!QDir().mkpath(QFileInfo(file).path())) return 1;
    QSettings ini(file, QSettings::IniFormat);
    ini.setValue(QString::fromStdString(name), QString::fromStdString(text));
    ini.sync();
    return ini.status() == QSettings::NoError ? 0 : 1;
}

}  // namespace vidor::platform::linux_
