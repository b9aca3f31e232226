#include "platform/linux/SystemCommand.h"

#include <QProcess>
#include <QStringList>

namespace vidor::platform::linux_ {

CommandResult runCommand(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& input) {
    QStringList list;
    for (const std::string& argument : arguments) list << QString::fromStdString(argument);
    QProcess process;
    process.start(QString::fromStdString(program), list);
    CommandResult result;
    if (!process.waitForStarted()) {
        result.errors = process.errorString().toStdString();
        return result;
    }
    result.started = true;
    process.write(input.data(), static_cast<qint64>(input.size()));
    process.closeWriteChannel();
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        result.errors = "il ne s'est pas terminé en une minute";
        return result;
    }
    result.ran = process.exitStatus() == QProcess::NormalExit;
    result.status = process.exitCode();
    result.output = process.readAllStandardOutput().toStdString();
    result.errors = process.readAllStandardError().toStdString();
    return result;
}

std::string reasonOf(const CommandResult& result) {
    const std::string firstLine = result.errors.substr(0, result.errors.find('\n'));
    if (!firstLine.empty()) return firstLine;
    return "code de sortie " + std::to_string(result.status);
}

}  // namespace vidor::platform::linux_
