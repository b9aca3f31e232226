// Stands for a new version of the program in the update tests: writes the parameters it was
// started with, one a line between brackets, then the Qt platform its environment names, to
// the file that VIDOR_PROBE names.

#include <cstdlib>
#include <fstream>

int main(int argc, char** argv) {
    std::ofstream out(std::getenv("VIDOR_PROBE"));
    for (int i = 1; i < argc; ++i) out << '[' << argv[i] << "]\n";
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    out << "QT_QPA_PLATFORM=" << (platform ? platform : "(absent)") << "\n";
}
