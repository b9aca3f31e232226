#include "platform/linux/LinuxSettings.h"

#include <unistd.h>

#include <QDir>
#include <QStringList>
#include <cerrno>

#include "platform/linux/IniText.h"
#include "platform/linux/OwnFile.h"

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
    const auto text = readOwnFile(file.toStdString());
    return text ? iniValue(*text, name) : std::nullopt;
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

std::string LinuxSettings::userFile(const std::string& keyPath) {
    return fileOf(userConfigFolder(), keyPath).toStdString();
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
    const std::string file = userFile(keyPath);
    // A file that is there but cannot be read is not replaced: its values would be lost.
    std::string old;
    if (::access(file.c_str(), F_OK) == 0 || errno != ENOENT) {
        const auto contents = readOwnFile(file);
        if (!contents) return 1;
        old = *contents;
    }
    return writeOwnFile(file, withIniValue(old, name, text)) ? 0 : 1;
}

}  // namespace vidor::platform::linux_
