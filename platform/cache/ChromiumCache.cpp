#include "platform/cache/ChromiumCache.h"

namespace vidor::platform::cache {

namespace {

constexpr std::size_t kHashDigits = 16;
constexpr std::string_view kKeyFileSuffix = "_0";

// The header: magic number (64 bits), version, key length, key hash and padding (32 bits each),
// all least significant byte first; the key follows it.
constexpr std::uint64_t kMagic = 0xfcfb6d1ba7725c30;
constexpr std::size_t kHeaderSize = 24;
constexpr std::size_t kKeyLengthAt = 12;

std::string_view withoutNumberPrefixes(std::string_view key) {
    // "1/0/..." and the older "0/...": numbers the browser keys requests by besides the URL.
    for (;;) {
        std::size_t digits = 0;
        while (digits < key.size() && key[digits] >= '0' && key[digits] <= '9') ++digits;
        if (digits == 0 || digits == key.size() || key[digits] != '/') return key;
        key.remove_prefix(digits + 1);
    }
}

}  // namespace

bool ChromiumCache::isEntryFile(std::string_view name) const {
    return name.size() == kHashDigits + kKeyFileSuffix.size() && name.ends_with(kKeyFileSuffix) &&
           isHex(name.substr(0, kHashDigits), kHashDigits);
}

std::vector<std::string> ChromiumCache::companions(std::string_view name) const {
    const std::string hash(name.substr(0, name.size() - kKeyFileSuffix.size()));
    return {hash + "_1", hash + "_s"};
}

std::optional<std::string> chromiumKeyUrl(std::string_view key) {
    key = withoutNumberPrefixes(key);
    // Keys partitioned by site start with a marker such as "_dk_".
    if (key.starts_with('_')) {
        const std::size_t space = key.rfind(' ');
        if (space == std::string_view::npos) return std::nullopt;
        key.remove_prefix(space + 1);
    }
    return isUrl(key) ? std::optional<std::string>(key) : std::nullopt;
}

std::optional<std::string> ChromiumCache::entryUrl(const ReadableFile& file) const {
    const auto header = file.readAt(0, kHeaderSize);
    if (!header || littleEndian(*header, 0, 8) != kMagic) return std::nullopt;
    const std::uint64_t keyLength = littleEndian(*header, kKeyLengthAt, 4);
    if (keyLength > kMaxCacheKeySize || kHeaderSize + keyLength > file.size()) return std::nullopt;
    const auto key = file.readAt(kHeaderSize, keyLength);
    if (!key) return std::nullopt;
    return chromiumKeyUrl(*key);
}

}  // namespace vidor::platform::cache
