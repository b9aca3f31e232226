#include "platform/linux/PathSet.h"

#include <bit>

#include "platform/linux/PathSetBuilder.h"
#include "platform/linux/PathSetLayout.h"

namespace vidor::platform::linux_ {

using namespace path_set;

namespace {

// Whether a table of `size` cells holding `count` entries fits in `bytes`; each size is checked
// against a bound it cannot overflow.
bool tableFits(std::uint64_t count, std::uint64_t size, std::string_view bytes) {
    return size >= 4 && std::has_single_bit(size) && roomFor(count, size) &&
           bytes.size() == size * sizeof(Cell);
}

Cell cellAt(std::string_view cells, std::size_t index) {
    return load<Cell>(cells.data() + index * sizeof(Cell));
}

// Eight bytes at a time: damage, not an attacker, is what it looks for.
class Checksum {
  public:
    void add(std::string_view bytes) {
        total_ += bytes.size();
        // A word the last piece began is finished first.
        for (; pending_ != 0 && !bytes.empty(); bytes.remove_prefix(1)) push(bytes.front());
        // In a local: the hash kept in the object would be written back at every word.
        std::uint64_t hash = hash_;
        const char* at = bytes.data();
        const char* const end = at + bytes.size() / sizeof word_ * sizeof word_;
        for (; at != end; at += sizeof word_) hash = mixed(hash, load<std::uint64_t>(at));
        hash_ = hash;
        for (const char byte : bytes.substr(bytes.size() / sizeof word_ * sizeof word_)) push(byte);
    }

    std::uint64_t value() const {
        std::uint64_t hash = hash_ ^ total_;
        for (std::size_t i = 0; i < pending_; ++i)
            hash = (hash ^ static_cast<unsigned char>(word_[i])) * 1099511628211ull;
        return hash;
    }

  private:
    void push(char byte) {
        word_[pending_++] = byte;
        if (pending_ == sizeof word_) {
            hash_ = mixed(hash_, load<std::uint64_t>(word_));
            pending_ = 0;
        }
    }

    static std::uint64_t mixed(std::uint64_t hash, std::uint64_t word) {
        hash = (hash ^ word) * 0xFF51AFD7ED558CCDull;
        return hash ^ (hash >> 29);
    }

    std::uint64_t hash_ = 0x9E3779B97F4A7C15ull;
    std::uint64_t total_ = 0;
    char word_[8] = {};
    std::size_t pending_ = 0;
};

}  // namespace

PathSet::PathSet(std::string_view text) {
    PathSetBuilder builder;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view path = text.substr(start, end - start);
        start = end + 1;
        const std::size_t slash = path.rfind('/');
        if (slash == std::string_view::npos || slash == 0) continue;
        builder.add(builder.folder(path.substr(0, slash)), path.substr(slash + 1));
    }
    *this = std::move(builder).build();
}

std::optional<PathSet> PathSet::fromImage(std::string_view image,
                                          std::shared_ptr<const void> storage) {
    std::array<std::uint64_t, 4> head{};
    if (image.size() < sizeof head) return std::nullopt;
    std::memcpy(head.data(), image.data(), sizeof head);
    image.remove_prefix(sizeof head);
    const std::uint64_t folderBytes = head[3] * sizeof(Cell);
    const std::uint64_t pathBytes = head[1] * sizeof(Cell);
    if (head[3] > image.size() / sizeof(Cell) ||
        head[1] > (image.size() - folderBytes) / sizeof(Cell)) {
        return std::nullopt;
    }
    return fromParts(head, image.substr(0, folderBytes), image.substr(folderBytes, pathBytes),
                     image.substr(folderBytes + pathBytes), std::move(storage));
}

std::optional<PathSet> PathSet::fromParts(const std::array<std::uint64_t, 4>& head,
                                          std::string_view folderCells, std::string_view pathCells,
                                          std::string_view text,
                                          std::shared_ptr<const void> storage) {
    if (!tableFits(head[0], head[1], pathCells) || !tableFits(head[2], head[3], folderCells) ||
        (!text.empty() && text.back() != '\n')) {
        return std::nullopt;
    }
    PathSet set;
    set.storage_ = std::move(storage);
    set.head_ = head;
    set.folderCells_ = folderCells;
    set.pathCells_ = pathCells;
    set.text_ = text;
    return set;
}

std::array<std::string_view, 4> PathSet::image() const {
    return {std::string_view(reinterpret_cast<const char*>(head_.data()), sizeof head_),
            folderCells_, pathCells_, text_};
}

std::optional<std::uint32_t> PathSet::folderId(std::string_view folder) const {
    const std::size_t mask = head_[3] - 1;
    std::size_t at = hashOf(folder) & mask;
    // Bounded, so that a damaged image without a free cell cannot hold the question forever.
    for (std::size_t tried = 0; tried <= mask; ++tried, at = (at + 1) & mask) {
        const Cell cell = cellAt(folderCells_, at);
        if (cell.first == 0) return std::nullopt;
        if (textIs(text_, cell.first, folder)) return cell.second;
    }
    return std::nullopt;
}

bool PathSet::holds(std::uint32_t folder, std::string_view name) const {
    const std::size_t mask = head_[1] - 1;
    std::size_t at = hashOf(folder, name) & mask;
    for (std::size_t tried = 0; tried <= mask; ++tried, at = (at + 1) & mask) {
        const Cell cell = cellAt(pathCells_, at);
        if (cell.second == 0) return false;
        if (cell.first == folder && textIs(text_, cell.second, name)) return true;
    }
    return false;
}

bool PathSet::contains(std::string_view path) const {
    const std::size_t slash = path.rfind('/');
    if (head_[1] == 0 || slash == std::string_view::npos || slash == 0 ||
        slash + 1 == path.size() || path.find('\n') != std::string_view::npos) {
        return false;
    }
    const auto folder = folderId(path.substr(0, slash));
    return folder && holds(*folder, path.substr(slash + 1));
}

std::uint64_t PathSet::checksum(std::span<const std::string_view> pieces) {
    Checksum sum;
    for (const std::string_view piece : pieces) sum.add(piece);
    return sum.value();
}

}  // namespace vidor::platform::linux_
