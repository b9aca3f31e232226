#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/PathSet.h"
#include "platform/linux/PathSetLayout.h"

namespace vidor::platform::linux_ {

// Gathers the folders and files of a PathSet, laid out as its image as they come.
class PathSetBuilder {
  public:
    // Room for about `paths` paths and `textBytes` bytes of folders and names: more is made when
    // needed, at the cost of copying what is there.
    explicit PathSetBuilder(std::size_t paths = 0, std::size_t textBytes = 0);

    // The id of the folder whose path is `path`, added when new.
    std::uint32_t folder(std::string_view path);
    // The id of the folder `path` names, if any.
    std::optional<std::uint32_t> knownFolder(std::string_view path) const;
    // Makes `path` another path of the folder `id` (through a link); a path already known keeps
    // its folder.
    void alias(std::string_view path, std::uint32_t id);
    // Adds the file `name` of the folder `id`, once.
    void add(std::uint32_t id, std::string_view name);

    // The set of everything added, which takes over the builder's memory. Throws
    // std::length_error beyond 4 GB of folders and names.
    PathSet build() &&;

  private:
    struct Table {
        std::vector<path_set::Cell> cells;
        std::size_t count = 0;
    };

    std::uint32_t append(std::string_view text);
    // The cell where the folder path `path` is, or the free one where it would go.
    std::size_t folderCell(std::string_view path) const;
    std::size_t pathCell(std::uint32_t id, std::string_view name) const;
    void makeRoom(Table& table, bool folders);

    std::string text_;
    Table folders_;
    Table paths_;
};

}  // namespace vidor::platform::linux_
