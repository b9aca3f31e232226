#include "platform/linux/PathSetBuilder.h"

#include <bit>
#include <limits>
#include <memory>
#include <stdexcept>

namespace vidor::platform::linux_ {

using namespace path_set;

namespace {

std::vector<Cell> cellsFor(std::size_t entries) {
    return std::vector<Cell>(std::bit_ceil(std::max<std::size_t>(16, entries + entries / 3 + 1)));
}

// The memory a set is laid out in, kept alive by the set.
struct Parts {
    std::vector<Cell> folders;
    std::vector<Cell> paths;
    std::string text;
};

std::string_view bytesOf(const std::vector<Cell>& cells) {
    return {reinterpret_cast<const char*>(cells.data()), cells.size() * sizeof(Cell)};
}

}  // namespace

PathSetBuilder::PathSetBuilder(std::size_t paths, std::size_t textBytes)
    : folders_{cellsFor(paths / 8), 0}, paths_{cellsFor(paths), 0} {
    text_.reserve(textBytes);
}

std::uint32_t PathSetBuilder::append(std::string_view text) {
    if (text_.size() + text.size() + 1 >= std::numeric_limits<std::uint32_t>::max()) {
        throw std::length_error("too many package files");
    }
    const auto at = static_cast<std::uint32_t>(text_.size() + 1);
    text_.append(text) += '\n';
    return at;
}

std::size_t PathSetBuilder::folderCell(std::string_view path) const {
    const std::size_t mask = folders_.cells.size() - 1;
    std::size_t at = hashOf(path) & mask;
    while (folders_.cells[at].first != 0 && !textIs(text_, folders_.cells[at].first, path)) {
        at = (at + 1) & mask;
    }
    return at;
}

std::size_t PathSetBuilder::pathCell(std::uint32_t id, std::string_view name) const {
    const std::size_t mask = paths_.cells.size() - 1;
    std::size_t at = hashOf(id, name) & mask;
    for (Cell cell = paths_.cells[at]; cell.second != 0; cell = paths_.cells[at]) {
        if (cell.first == id && textIs(text_, cell.second, name)) break;
        at = (at + 1) & mask;
    }
    return at;
}

// Doubles the cells of a table that one more entry would fill beyond its share.
void PathSetBuilder::makeRoom(Table& table, bool folders) {
    if (roomFor(table.count + 1, table.cells.size())) return;
    std::vector<Cell> old(table.cells.size() * 2);
    old.swap(table.cells);
    for (const Cell& cell : old) {
        if (folders && cell.first != 0) {
            table.cells[folderCell(textAt(text_, cell.first))] = cell;
        } else if (!folders && cell.second != 0) {
            table.cells[pathCell(cell.first, textAt(text_, cell.second))] = cell;
        }
    }
}

std::optional<std::uint32_t> PathSetBuilder::knownFolder(std::string_view path) const {
    const Cell cell = folders_.cells[folderCell(path)];
    return cell.first != 0 ? std::optional(cell.second) : std::nullopt;
}

std::uint32_t PathSetBuilder::folder(std::string_view path) {
    if (auto id = knownFolder(path)) return *id;
    makeRoom(folders_, true);
    const std::uint32_t at = append(path);
    folders_.cells[folderCell(path)] = {at, at};
    ++folders_.count;
    return at;
}

void PathSetBuilder::alias(std::string_view path, std::uint32_t id) {
    if (knownFolder(path)) return;
    makeRoom(folders_, true);
    folders_.cells[folderCell(path)] = {append(path), id};
    ++folders_.count;
}

void PathSetBuilder::add(std::uint32_t id, std::string_view name) {
    if (name.empty()) return;
    std::size_t at = pathCell(id, name);
    if (paths_.cells[at].second != 0) return;
    if (!roomFor(paths_.count + 1, paths_.cells.size())) {
        makeRoom(paths_, false);
        at = pathCell(id, name);
    }
    paths_.cells[at] = {id, append(name)};
    ++paths_.count;
}

PathSet PathSetBuilder::build() && {
    auto parts = std::make_shared<Parts>(
        Parts{std::move(folders_.cells), std::move(paths_.cells), std::move(text_)});
    const std::array<std::uint64_t, 4> head = {paths_.count, parts->paths.size(), folders_.count,
                                               parts->folders.size()};
    return *PathSet::fromParts(head, bytesOf(parts->folders), bytesOf(parts->paths), parts->text,
                               parts);
}

}  // namespace vidor::platform::linux_
