#include "korlib/Texte.h"

#include <algorithm>
#include <cmath>

namespace vidor::korlib {

namespace {

// Rounds to the nearest whole number, a half to the even neighbour.
long long roundHalfEven(double value) {
    return std::llrint(std::nearbyint(value));
}

std::string repeat(std::string_view unit, long long count) {
    std::string text;
    text.reserve(unit.size() * static_cast<std::size_t>(count > 0 ? count : 0));
    for (long long i = 0; i < count; ++i) text += unit;
    return text;
}

// True when `element` stands between double quotes (a lone quote does not).
bool quoted(std::string_view element) {
    return element.size() >= 2 && element.front() == '"' && element.back() == '"';
}

}  // namespace

std::string ElementExtrait(std::string_view& text,
                           std::initializer_list<std::string_view> separators) {
    if (text.empty()) return {};
    std::size_t cut = text.size();
    std::size_t separatorLength = 0;
    for (std::string_view separator : separators) {
        if (separator.empty()) continue;
        std::size_t at = text.find(separator);
        if (at != std::string_view::npos && at < cut) {
            cut = at;
            separatorLength = separator.size();
        }
    }
    std::string_view element = text.substr(0, cut);
    if (quoted(element)) element = element.substr(1, element.size() - 2);
    text.remove_prefix(std::min(text.size(), cut + separatorLength));
    return std::string(element);
}

std::string ElementExtrait(std::string_view& text) {
    return ElementExtrait(text, {"\t"});
}

std::string ElementExtrait(std::string& text, std::initializer_list<std::string_view> separators) {
    std::string_view rest = text;
    std::string element = ElementExtrait(rest, separators);
    text.erase(0, text.size() - rest.size());
    return element;
}

std::string ElementExtrait(std::string& text) {
    return ElementExtrait(text, {"\t"});
}

std::string SautsLigne(std::optional<double> count) {
    double n = (count && !std::isnan(*count)) ? *count : 1;
    if (n <= 0) n = 1;
    if (n > 100) n = 100;
    return repeat("\r\n", roundHalfEven(n));
}

std::string upperCase(std::string_view text) {
    std::string upper(text);
    for (std::size_t i = 0; i < upper.size(); ++i) {
        auto byte = static_cast<unsigned char>(upper[i]);
        if (byte >= 'a' && byte <= 'z') {
            upper[i] = static_cast<char>(byte - 'a' + 'A');
        } else if (byte == 0xC3 && i + 1 < upper.size()) {
            // U+00E0..U+00FE (à..þ, but for ÷) have their capital 0x20 lower, in the same two
            // bytes.
            auto next = static_cast<unsigned char>(upper[i + 1]);
            if (next >= 0xA0 && next <= 0xBE && next != 0xB7) {
                upper[i + 1] = static_cast<char>(next - 0x20);
                ++i;
            }
        }
    }
    return upper;
}

std::string trimSpaces(std::string_view text) {
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    std::size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

}  // namespace vidor::korlib
