#include "platform/linux/PathSet.h"

#include <bit>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <vector>

namespace vidor::platform::linux_ {

namespace {

// Counts and slots are stored as they are in memory: the image is read on the machine that
// wrote it.
constexpr std::size_t kHead = 2 * sizeof(std::uint64_t);

// FNV-1a: the same on every run, as the image outlives the process that made it.
std::uint64_t hashOf(std::string_view path) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : path) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return hash;
}

template <typename T>
T load(const char* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

template <typename T>
void store(std::string& image, std::size_t at, T value) {
    std::memcpy(image.data() + at, &value, sizeof value);
}

}  // namespace

PathSet::PathSet(std::string_view text) {
    std::size_t lines = 0;
    for (const char c : text) lines += c == '\n';
    if (!text.empty() && text.back() != '\n') ++lines;
    const std::size_t slots = std::bit_ceil(2 * lines + 2);
    std::vector<std::uint32_t> table(slots, 0);
    // The paths go straight after the head and the table, which are filled in at the end.
    const std::size_t base = kHead + slots * sizeof(std::uint32_t);
    auto image = std::make_shared<std::string>(base, '\0');
    image->reserve(base + text.size() + 1);
    const auto pathAt = [&](std::uint32_t slot) {
        const std::size_t from = base + slot - 1;
        return std::string_view(*image).substr(from, image->find('\n', from) - from);
    };
    std::size_t count = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view path = text.substr(start, end - start);
        start = end + 1;
        std::size_t at = hashOf(path) & (slots - 1);
        while (table[at] != 0 && pathAt(table[at]) != path) at = (at + 1) & (slots - 1);
        if (table[at] != 0) continue;
        if (image->size() - base >= std::numeric_limits<std::uint32_t>::max() - path.size() - 1) {
            throw std::length_error("too many package files");
        }
        table[at] = static_cast<std::uint32_t>(image->size() - base + 1);
        image->append(path) += '\n';
        ++count;
    }
    store<std::uint64_t>(*image, 0, count);
    store<std::uint64_t>(*image, sizeof(std::uint64_t), slots);
    std::memcpy(image->data() + kHead, table.data(), slots * sizeof(std::uint32_t));
    *this = *fromImage(*image, image);
}

std::optional<PathSet> PathSet::fromImage(std::string_view image,
                                          std::shared_ptr<const void> storage) {
    if (image.size() < kHead) return std::nullopt;
    const auto count = load<std::uint64_t>(image.data());
    const auto slots = load<std::uint64_t>(image.data() + sizeof(std::uint64_t));
    const std::size_t table = kHead + slots * sizeof(std::uint32_t);
    // Each size is checked against a bound it cannot overflow.
    if (slots < 2 || !std::has_single_bit(slots) || count > slots / 2 ||
        slots > (image.size() - kHead) / sizeof(std::uint32_t)) {
        return std::nullopt;
    }
    PathSet set;
    set.storage_ = std::move(storage);
    set.image_ = image;
    set.text_ = image.substr(table);
    set.count_ = count;
    set.slots_ = slots;
    if (!set.text_.empty() && set.text_.back() != '\n') return std::nullopt;
    return set;
}

std::uint64_t PathSet::checksum(std::string_view bytes) {
    // Eight bytes at a time: damage, not an attacker, is what it looks for.
    std::uint64_t hash = 0x9E3779B97F4A7C15ull ^ bytes.size();
    std::size_t at = 0;
    for (; at + sizeof hash <= bytes.size(); at += sizeof hash) {
        hash = (hash ^ load<std::uint64_t>(bytes.data() + at)) * 0xFF51AFD7ED558CCDull;
        hash ^= hash >> 29;
    }
    for (; at < bytes.size(); ++at) {
        hash = (hash ^ static_cast<unsigned char>(bytes[at])) * 1099511628211ull;
    }
    return hash;
}

std::uint32_t PathSet::slot(std::size_t index) const {
    return load<std::uint32_t>(image_.data() + kHead + index * sizeof(std::uint32_t));
}

// The path a slot names; an offset outside the paths (a damaged image) names nothing.
std::string_view PathSet::textAt(std::uint32_t slot) const {
    const std::size_t from = slot - 1;
    if (from >= text_.size()) return {};
    return text_.substr(from, text_.find('\n', from) - from);
}

bool PathSet::contains(std::string_view path) const {
    if (slots_ == 0 || path.empty() || path.find('\n') != std::string_view::npos) return false;
    std::size_t at = hashOf(path) & (slots_ - 1);
    // Bounded, so that a damaged image without an empty slot cannot hold the question forever.
    for (std::size_t tried = 0; tried < slots_; ++tried, at = (at + 1) & (slots_ - 1)) {
        const std::uint32_t found = slot(at);
        if (found == 0) return false;
        if (textAt(found) == path) return true;
    }
    return false;
}

}  // namespace vidor::platform::linux_
