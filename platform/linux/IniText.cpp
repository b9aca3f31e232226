#include "platform/linux/IniText.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vidor::platform::linux_ {

namespace {

constexpr std::string_view kHex = "0123456789ABCDEF";

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

void appendUtf8(std::string& text, std::uint32_t code) {
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The code points of a UTF-8 text; a byte that starts no valid sequence stands for itself.
std::vector<std::uint32_t> codePoints(std::string_view text) {
    std::vector<std::uint32_t> codes;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const int length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        std::uint32_t code = length == 1 ? byte : byte & (0x3F >> (length - 1));
        bool valid = length > 1 && i + length <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        codes.push_back(valid ? code : byte);
        i += valid ? length : 1;
    }
    return codes;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads the hex (or octal) digits of an escape from `at`, moving past them.
std::uint32_t escapedNumber(std::string_view text, std::size_t& at, int base, int maxDigits) {
    std::uint32_t code = 0;
    for (int digits = 0; at < text.size() && digits < maxDigits; ++at, ++digits) {
        const int value = hexValue(text[at]);
        if (value < 0 || value >= base) break;
        code = code * base + value;
    }
    return code;
}

// A name as the file writes it: %XX and %UXXXX escapes, a backslash for a slash.
std::string decodedName(std::string_view raw) {
    std::string name;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '%' && i + 1 < raw.size()) {
            std::size_t at = i + (raw[i + 1] == 'U' ? 2 : 1);
            const std::size_t start = at;
            const std::uint32_t code = escapedNumber(raw, at, 16, at == i + 2 ? 4 : 2);
            if (at > start) {
                appendUtf8(name, code);
                i = at - 1;
                continue;
            }
        }
        name += raw[i] == '\\' ? '/' : raw[i];
    }
    return name;
}

std::string encodedName(const std::string& name) {
    std::string raw;
    for (const std::uint32_t code : codePoints(name)) {
        const bool plain = (code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z') ||
                           (code >= '0' && code <= '9') || code == '_' || code == '-' ||
                           code == '.';
        if (plain) {
            raw += static_cast<char>(code);
        } else if (code == '/') {
            raw += '\\';
        } else {
            raw += code < 0x100 ? "%" : "%U";
            for (int shift = code < 0x100 ? 4 : 12; shift >= 0; shift -= 4) {
                raw += kHex[(code >> shift) & 15];
            }
        }
    }
    return raw;
}

void appendEscape(std::string& text, std::string_view raw, std::size_t& at) {
    static constexpr std::string_view kLetters = "abfnrtv";
    static constexpr std::array<char, 7> kCodes = {'\a', '\b', '\f', '\n', '\r', '\t', '\v'};
    const char c = raw[at];
    if (const std::size_t k = kLetters.find(c); k != std::string_view::npos) {
        text += kCodes[k];
        ++at;
    } else if (c == 'x') {
        ++at;
        appendUtf8(text, escapedNumber(raw, at, 16, 4));
    } else if (c >= '0' && c <= '7') {
        appendUtf8(text, escapedNumber(raw, at, 8, 3));
    } else {
        text += c;
        ++at;
    }
}

// The value as the file writes it.
StoredValue decodedValue(std::string_view raw) {
    std::string text;
    bool quoted = false;
    for (std::size_t at = 0; at < raw.size();) {
        const char c = raw[at];
        if (c == ',' && !quoted) return {true, std::string(raw)};  // written by hand: as is
        ++at;
        if (c == '"') {
            quoted = !quoted;
        } else if (c == '\\' && at < raw.size()) {
            appendEscape(text, raw, at);
        } else {
            text += c;
        }
    }
    if (text.starts_with("@@")) return {true, text.substr(1)};
    for (std::string_view typed : {"@ByteArray(", "@Variant(", "@DateTime(", "@Rect(", "@Size(",
                                   "@Point(", "@Invalid(", "@String("}) {
        if (text.starts_with(typed)) return {false, {}};
    }
    return {true, text};
}

std::string encodedValue(const std::string& value) {
    std::string raw = value.starts_with('@') ? "\"@" : "\"";
    bool afterHex = false;
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        const bool hexDigit = hexValue(c) >= 0;
        if (c == '\\' || c == '"') {
            raw += {'\\', c};
        } else if (c == '\n' || c == '\r' || c == '\t') {
            raw += c == '\n' ? "\\n" : c == '\r' ? "\\r" : "\\t";
        } else if (byte < 0x20 || byte == 0x7F || (afterHex && hexDigit)) {
            // A digit right after a \x escape would be read as part of it.
            raw += {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
            afterHex = true;
            continue;
        } else {
            raw += c;
        }
        afterHex = false;
    }
    return raw + "\"";
}

struct Line {
    std::string_view text;
    bool section = false;
    bool general = false;  // a line of the [General] section
    std::string name;      // decoded, for a value line
};

std::vector<Line> linesOf(std::string_view text) {
    std::vector<Line> lines;
    bool general = true;  // values before any section belong to [General]
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        Line line;
        line.text = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        const std::string_view content = trimmed(line.text);
        if (content.starts_with('[') && content.ends_with(']')) {
            general = content == "[General]";
            line.section = true;
        } else if (const std::size_t equals = content.find('='); equals != std::string_view::npos &&
                                                                 !content.starts_with(';') &&
                                                                 !content.starts_with('#')) {
            line.name = decodedName(trimmed(content.substr(0, equals)));
        }
        line.general = general;
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace

std::vector<std::pair<std::string, StoredValue>> iniValues(std::string_view text) {
    std::vector<std::pair<std::string, StoredValue>> values;
    for (const Line& line : linesOf(text)) {
        if (!line.general || line.name.empty()) continue;
        const std::string_view content = trimmed(line.text);
        values.emplace_back(line.name,
                            decodedValue(trimmed(content.substr(content.find('=') + 1))));
    }
    return values;
}

std::optional<StoredValue> iniValue(std::string_view text, const std::string& name) {
    std::optional<StoredValue> value;
    for (auto& [named, found] : iniValues(text)) {
        if (named == name) value = std::move(found);
    }
    return value;
}

std::string withIniValue(std::string_view text, const std::string& name, const std::string& value) {
    const std::vector<Line> lines = linesOf(text);
    const std::string entry = encodedName(name) + "=" + encodedValue(value);
    // The line to replace, else the place after the last value of [General].
    std::optional<std::size_t> replaced, after;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i].general) continue;
        if (lines[i].name == name) replaced = i;
        if (!lines[i].name.empty() || lines[i].section) after = i;
    }
    std::string result;
    if (!after) result = "[General]\n" + entry + (lines.empty() ? "\n" : "\n\n");
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i != replaced) result.append(lines[i].text) += '\n';
        if (i == replaced || (!replaced && i == after)) result += entry + "\n";
    }
    return result;
}

}  // namespace vidor::platform::linux_
