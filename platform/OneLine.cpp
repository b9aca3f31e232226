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

std::string fromOneLine(std::string_view line) {
    const auto digit = [](char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    };
    std::string text;
    text.reserve(line.size());
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '%' && i + 2 < line.size() && digit(line[i + 1]) >= 0 &&
            digit(line[i + 2]) >= 0) {
            text += static_cast<char>(digit(line[i + 1]) * 16 + digit(line[i + 2]));
            i += 2;
        } else {
            text += line[i];
        }
    }
    return text;
}

}  // namespace vidor::platform
