#include "tests/platform/linux/CacheFixtures.h"

#include <fcntl.h>

#include <cstdio>

#include "platform/linux/UniqueFd.h"
#include "tests/support/TempDir.h"

namespace vidor::test {

namespace {

namespace fs = std::filesystem;

void appendBigEndian(std::string& bytes, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>(value >> shift);
}

void appendLittleEndian(std::string& bytes, std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i) bytes += static_cast<char>(value >> (8 * i));
}

// Firefox writes its names in capitals, Chromium in small letters.
std::string hexName(unsigned n, int digits, bool capitals) {
    char text[41];
    if (capitals)
        std::snprintf(text, sizeof text, "%0*X", digits, n);
    else
        std::snprintf(text, sizeof text, "%0*x", digits, n);
    return text;
}

// What Firefox keeps after the key: pairs of NUL-ended texts.
constexpr char kElements[] = "request-method\0GET\0response-head\0HTTP/1.1 200 OK\r\n";

}  // namespace

std::string FirefoxEntry::bytes() const {
    std::string bytes(dataSize, 'd');
    appendBigEndian(bytes, 0x1234abcd);  // the metadata's hash, which the program never checks
    const std::size_t chunks = (dataSize + 256 * 1024 - 1) / (256 * 1024);
    bytes.append(2 * chunks, 'h');
    appendBigEndian(bytes, version);
    for (int field = 0; field < 5; ++field) appendBigEndian(bytes, 1000 + field);
    appendBigEndian(bytes, keySize.value_or(static_cast<std::uint32_t>(key.size())));
    if (version >= 2) appendBigEndian(bytes, 0);
    bytes += key;
    bytes += keyEndsWithNul ? '\0' : 'X';
    bytes.append(kElements, sizeof kElements);
    appendBigEndian(bytes, offset.value_or(static_cast<std::uint32_t>(dataSize)));
    return bytes;
}

std::string ChromiumEntry::bytes() const {
    std::string bytes;
    appendLittleEndian(bytes, magic, 8);
    appendLittleEndian(bytes, 5, 4);
    appendLittleEndian(bytes, keyLength.value_or(static_cast<std::uint32_t>(key.size())), 4);
    appendLittleEndian(bytes, 0x5eed, 4);
    appendLittleEndian(bytes, 0, 4);
    bytes += key;
    bytes += "<html>body</html>";
    // The end record: its magic number, then flags, data CRC, stream size and padding.
    appendLittleEndian(bytes, 0xf4fa6f45970d41d8, 8);
    for (int field = 0; field < 4; ++field) appendLittleEndian(bytes, 0, 4);
    return bytes;
}

fs::path firefoxEntries(const fs::path& cache, const std::string& profile) {
    return cache / "mozilla" / "firefox" / profile / "cache2" / "entries";
}

fs::path chromiumEntries(const fs::path& cache, const std::string& browser,
                         const std::string& profile) {
    return cache / browser / profile / "Cache" / "Cache_Data";
}

std::string firefoxName(unsigned n) {
    return hexName(n, 40, true);
}

std::string chromiumName(unsigned n, char stream) {
    return hexName(n, 16, false) + '_' + stream;
}

std::optional<std::string> entryUrl(const platform::linux_::CacheFormat& format,
                                    const std::string& bytes) {
    TempDir dir;
    writeFile(dir / "entry", bytes);
    const platform::linux_::UniqueFd folder(::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY));
    const auto file = platform::linux_::openRegularFile(folder.get(), "entry");
    return file ? format.entryUrl(*file) : std::nullopt;
}

}  // namespace vidor::test
