#include "tests/support/ChildReport.h"

#include <fstream>

namespace vidor::test {

namespace fs = std::filesystem;

ChildReport::ChildReport() : file_(dir_ / "failures") {
    writeFile(file_);
    // The child may run as another user.
    fs::permissions(dir_.path(), fs::perms::others_exec, fs::perm_options::add);
    fs::permissions(file_, fs::perms::all);
}

int ChildReport::fail(const std::string& what) const {
    std::ofstream(file_, std::ios::app) << what << '\n';
    return 1;
}

std::string ChildReport::said() const {
    return readFile(file_);
}

std::string quotedList(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) text += (text.empty() ? "\"" : ", \"") + item + '"';
    return text.empty() ? "nothing" : text;
}

}  // namespace vidor::test
