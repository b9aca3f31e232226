#include "platform/linux/LinuxProcess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QProcess>
#include <QStringList>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "platform/linux/ProgramFolderRule.h"

namespace vidor::platform::linux_ {

LinuxProcess::LinuxProcess(std::string programPath, std::vector<std::string> arguments)
    : programPath_(std::move(programPath)), arguments_(std::move(arguments)) {
    const std::string mark = std::string(kFailedUpdateVariable) + "=";
    for (char** variable = environ; *variable; ++variable) {
        // The updater's mark is for this run only, never for the programs it starts.
        if (std::string_view(*variable).starts_with(mark)) {
            updateFailed_ = std::string_view(*variable).substr(mark.size()) == "1";
        } else {
            environment_.emplace_back(*variable);
        }
    }
}

LinuxProcess::~LinuxProcess() = default;

std::string LinuxProcess::runningProgram() {
    char target[4096];
    const ssize_t length = ::readlink("/proc/self/exe", target, sizeof target - 1);
    return length > 0 ? std::string(target, static_cast<std::size_t>(length))
                      : std::string("Vidor");
}

bool LinuxProcess::previousInstance() {
    if (claim_) return false;
    auto claim = std::make_unique<SingleInstance>(exeName());
    if (claim->anotherRuns()) return true;
    claim_ = std::move(claim);
    return false;
}

std::string LinuxProcess::commandLine() {
    // Arguments arrive split: joined by single spaces, an empty one makes two spaces in a row.
    std::string line;
    for (std::size_t i = 0; i < arguments_.size(); ++i) {
        if (i > 0) line += ' ';
        line += arguments_[i];
    }
    return line;
}

std::string LinuxProcess::exeName() {
    std::string name = programPath_.substr(programPath_.rfind('/') + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name;
}

std::string LinuxProcess::exeFolder() {
    const std::size_t slash = programPath_.rfind('/');
    if (slash == std::string::npos) return QDir::currentPath().toStdString();
    return slash == 0 ? "/" : programPath_.substr(0, slash);
}

void LinuxProcess::writeStandardError(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

void LinuxProcess::writeOutput(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

bool LinuxProcess::programReplaceable() {
    struct stat folder {};
    if (::lstat(exeFolder().c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode)) return false;
    if (!writableByOwnerOnly(folder)) return false;
    // The effective user is the one whose rights the updater will have.
    return ::faccessat(AT_FDCWD, exeFolder().c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

bool LinuxProcess::handOver(const std::string& program, const std::vector<std::string>& arguments,
                            std::string& error) {
    std::vector<std::string> texts{program};
    texts.insert(texts.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv, envp;
    for (std::string& text : texts) argv.push_back(text.data());
    argv.push_back(nullptr);
    std::vector<std::string> environment = environment_;
    for (std::string& variable : environment) envp.push_back(variable.data());
    envp.push_back(nullptr);
    std::fflush(nullptr);
    ::execve(program.c_str(), argv.data(), envp.data());
    error = std::strerror(errno);
    return false;
}

bool LinuxProcess::startDetached(const std::string& program,
                                 const std::vector<std::string>& arguments, std::string& error) {
    QStringList list;
    for (const std::string& text : arguments) list << QString::fromStdString(text);
    QProcess process;
    process.setProgram(QString::fromStdString(program));
    process.setArguments(list);
    if (process.startDetached()) return true;
    error = process.errorString().toStdString();
    return false;
}

}  // namespace vidor::platform::linux_
