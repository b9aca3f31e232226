#include "platform/cache/FirefoxCache.h"

namespace vidor::platform::cache {

namespace {

// The data is hashed by chunks of this size; the metadata starts with one hash per chunk.
constexpr std::uint64_t kChunkSize = 256 * 1024;
// The metadata's own hash, then each chunk's.
constexpr std::uint64_t kMetadataHashSize = 4;
constexpr std::uint64_t kChunkHashSize = 2;
// Version, fetch count, last fetched, last modified, frecency, expiration and key size, each
// a 32-bit number; from version 2 on a word of flags follows.
constexpr std::size_t kFieldsSize = 7 * 4;
constexpr std::size_t kKeySizeAt = 6 * 4;
constexpr std::size_t kFlagsSize = 4;
// The file ends with the metadata's offset.
constexpr std::uint64_t kOffsetSize = 4;

// Moves `at` to the comma that ends a tag's value, passing over doubled commas.
bool skipValue(std::string_view key, std::size_t& at) {
    for (; at < key.size(); ++at) {
        if (key[at] != ',') continue;
        if (at + 1 < key.size() && key[at + 1] == ',') {
            ++at;
            continue;
        }
        return true;
    }
    return false;
}

bool skipDigits(std::string_view key, std::size_t& at) {
    const std::size_t start = at;
    while (at < key.size() && key[at] >= '0' && key[at] <= '9') ++at;
    return at > start;
}

}  // namespace

std::optional<std::string> firefoxKeyUrl(std::string_view key) {
    std::size_t at = 0;
    while (at < key.size()) {
        const char tag = key[at++];
        if (tag == ':') {
            const std::string_view url = key.substr(at);
            return isUrl(url) ? std::optional<std::string>(url) : std::nullopt;
        }
        bool valid = true;
        if (tag == 'i') valid = skipDigits(key, at);
        // Tags with a value: "O", "~", and any a later Firefox may add.
        else if (tag != 'a' && tag != 'p' && tag != 'b')
            valid = skipValue(key, at);
        if (!valid || at >= key.size() || key[at] != ',') return std::nullopt;
        ++at;
    }
    return std::nullopt;
}

std::optional<std::string> FirefoxCache::entryUrl(const ReadableFile& file) const {
    if (file.size() < kOffsetSize) return std::nullopt;
    const std::uint64_t end = file.size() - kOffsetSize;
    const auto offset = file.readAt(end, kOffsetSize);
    if (!offset) return std::nullopt;
    // The metadata follows the data, so its offset is also the data's size.
    const std::uint64_t metadata = bigEndian32(*offset, 0);
    const std::uint64_t chunks = (metadata + kChunkSize - 1) / kChunkSize;
    const std::uint64_t fieldsAt = metadata + kMetadataHashSize + chunks * kChunkHashSize;
    if (fieldsAt + kFieldsSize > end) return std::nullopt;
    const auto fields = file.readAt(fieldsAt, kFieldsSize);
    if (!fields) return std::nullopt;
    const std::uint32_t version = bigEndian32(*fields, 0);
    const std::uint32_t keySize = bigEndian32(*fields, kKeySizeAt);
    const std::uint64_t keyAt = fieldsAt + kFieldsSize + (version >= 2 ? kFlagsSize : 0);
    if (version == 0 || keySize > kMaxCacheKeySize || keyAt + keySize + 1 > end) {
        return std::nullopt;
    }
    const auto key = file.readAt(keyAt, keySize + 1);
    if (!key || key->back() != '\0') return std::nullopt;
    return firefoxKeyUrl(std::string_view(*key).substr(0, keySize));
}

}  // namespace vidor::platform::cache
