// "/LISTE": the census an unattended run would take, printed instead of removed.

#include "app/F_Main.h"
#include "platform/OneLine.h"

namespace vidor::app {

namespace {

// Printed in blocks: a census may list a great many files.
constexpr std::size_t kBlock = 1 << 16;

}  // namespace

void F_Main::runPreview(const std::string& line) {
    if (line.empty()) {
        // Alone, it lists what a manual start would: the local hard disks.
        bLocal.press();
    } else {
        chooseFromCommandLine(line);
    }
    // As in an unattended run: no purge, no web cache; nothing goes on into a deletion.
    flags.tousIE = false;
    flags.tousTP = false;
    flags.modeAuto = false;
    census_.walkOnly();
    printPreview();
    sys_.windows.endProgram(platform::kExitNormal);
}

void F_Main::printPreview() {
    std::string text;
    for (const std::string& path : lDel.items()) {
        const auto info = sys_.files.info(path);
        text += std::to_string(info ? info->size : 0) + '\t' + platform::oneLine(path) + '\n';
        if (text.size() >= kBlock) sys_.process.writeOutput(std::exchange(text, {}));
    }
    const int count = lDel.count();
    text += std::to_string(count) + (count > 1 ? " fichiers, " : " fichier, ") + eTaille.caption() +
            '\n';
    sys_.process.writeOutput(text);
}

}  // namespace vidor::app
