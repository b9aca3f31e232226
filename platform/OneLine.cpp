#include "platform/OneLine.h"

namespace vidor::platform {

std::string oneLine(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string line;
    line.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '%') {
            line += {'%', kHex[byte >> 4], kHex[byte & 15]};
        } else {
            line += c;
        }
    }
    return line;
}

}  // namespace vidor::platform
