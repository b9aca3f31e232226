#include "tests/platform/cache/CacheFixtures.h"

#include <cstdio>

#include "tests/support/TempDir.h"

namespace vidor::test {

namespace {

namespace fs = std::filesystem;

// Appends the `size` bytes of `value`, most significant first when `bigEndian`.
void append(std::string& bytes, std::uint64_t value, int size, bool bigEndian) {
    for (int i = 0; i < size; ++i)
        bytes += static_cast<char>(value >> (8 * (bigEndian ? size - 1 - i : i)));
}

// What Firefox keeps after the key: pairs of NUL-ended texts.
constexpr char kElements[] = "request-method\0GET\0response-head\0HTTP/1.1 200 OK\r\n";

}  // namespace

std::string FirefoxEntry::bytes() const {
    std::string bytes(dataSize, 'd');
    append(bytes, 0x1234abcd, 4, true);  // the metadata's hash, which the program never checks
    const std::size_t chunks = (dataSize + 256 * 1024 - 1) / (256 * 1024);
    bytes.append(2 * chunks, 'h');
    append(bytes, version, 4, true);
    for (std::uint32_t field = 0; field < 5; ++field) append(bytes, 1000 + field, 4, true);
    append(bytes, keySize.value_or(static_cast<std::uint32_t>(key.size())), 4, true);
    if (version >= 2) append(bytes, 0, 4, true);
    bytes += key + '\0';
    bytes.append(kElements, sizeof kElements);
    append(bytes, offset.value_or(static_cast<std::uint32_t>(dataSize)), 4, true);
    return bytes;
}

std::string ChromiumEntry::bytes() const {
    std::string bytes;
    append(bytes, 0xfcfb6d1ba7725c30, 8, false);  // the magic number
    append(bytes, 5, 4, false);
    append(bytes, keyLength.value_or(static_cast<std::uint32_t>(key.size())), 4, false);
    append(bytes, 0x5eed, 8, false);  // the key's hash and the padding
    bytes += key + "<html>body</html>";
    // The end record: its magic number, then flags, data CRC, stream size and padding.
    append(bytes, 0xf4fa6f45970d41d8, 8, false);
    bytes.append(16, '\0');
    return bytes;
}

fs::path browserProfiles(const std::string& browser) {
#ifdef _WIN32
    static const std::map<std::string, std::string> windows = {
        {"mozilla/firefox", "Mozilla/Firefox/Profiles"},
        {"chromium", "Chromium/User Data"},
        {"google-chrome", "Google/Chrome/User Data"},
        {"BraveSoftware/Brave-Browser", "BraveSoftware/Brave-Browser/User Data"},
        {"microsoft-edge", "Microsoft/Edge/User Data"},
        {"vivaldi", "Vivaldi/User Data"}};
    return windows.at(browser);
#else
    return browser;
#endif
}

fs::path firefoxEntries(const fs::path& cache, const std::string& profile) {
    return cache / browserProfiles("mozilla/firefox") / profile / "cache2" / "entries";
}

fs::path chromiumEntries(const fs::path& cache, const std::string& browser,
                         const std::string& profile) {
    return cache / browserProfiles(browser) / profile / "Cache" / "Cache_Data";
}

// Firefox writes its names in capitals, Chromium in small letters.
std::string firefoxName(unsigned n) {
    char text[41];
    std::snprintf(text, sizeof text, "%040X", n);
    return text;
}

std::string chromiumName(unsigned n, char stream) {
    char text[17];
    std::snprintf(text, sizeof text, "%016x", n);
    return text + std::string("_") + stream;
}

fs::path put(const fs::path& file, const std::string& bytes) {
    writeFile(file, bytes);
    return file;
}

Files snapshot(const fs::path& root) {
    Files files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const fs::file_status status = entry.symlink_status();
        const std::string name = fs::relative(entry.path(), root).generic_string();
        if (fs::is_symlink(status))
            files[name] = "-> " + fs::read_symlink(entry.path()).string();
        else if (fs::is_regular_file(status))
            files[name] = readFile(entry.path());
        else if (!fs::is_directory(status))
            files[name] = "(special file)";
    }
    return files;
}

}  // namespace vidor::test
