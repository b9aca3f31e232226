#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vidor::platform {

// What a folder entry is, read without following a link: a link is a file.
enum class EntryKind { File, Folder, Unknown };

struct FolderEntry {
    std::string name;
    EntryKind kind = EntryKind::Unknown;
};

// What a caller does with the entries of listings: the sub-folders it opens, and the files whose
// size it asks. Both may be called from other threads, and only read.
struct ListingUse {
    std::function<bool(const FolderEntry&)> opens;
    std::function<bool(const FolderEntry&)> sized;
};

// Why a folder could not be opened. Silent failures (no right to list it, gone, not a folder,
// a link, another volume, a name too long) are passed over without a word; the others are
// shown to the user with their description.
struct FolderError {
    bool silent = true;
    std::string description;
    int code = 0;  // the system's own code for it, where the backend keeps one
};

// What became of a file the program was to remove.
struct Removal {
    bool done = false;
    // When not done: why, in words the user can act on (empty when the system gave no reason).
    std::string reason;
    // When moved to the recycle bin: where it lies there, in the machine's own form, when the
    // system tells it (empty otherwise).
    std::string trashedAs;
    // When done: the size the file had, when the system told it.
    std::optional<std::uint64_t> size;

    explicit operator bool() const { return done; }
    static Removal failed(std::string why) { return {false, std::move(why), {}, {}}; }
};

// What a file or folder is, read without following a link below a drive root.
struct FileInfo {
    bool folder = false;
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // seconds since 1970, to compare dates
};

// A regular file open for reading: reads reach the file that was opened, whatever becomes of its
// name meanwhile.
class ReadableFile {
  public:
    virtual ~ReadableFile() = default;

    // Its size when it was opened.
    virtual std::uint64_t size() const = 0;

    // Exactly `count` bytes from `offset`; nullopt when the file ends before or the read fails.
    virtual std::optional<std::string> readAt(std::uint64_t offset, std::size_t count) const = 0;
};

// An open folder: its listing, and operations on its entries by name. Whatever happens to
// the paths meanwhile, they act on this very folder and never follow a link out of it.
class Folder {
  public:
    virtual ~Folder() = default;

    // The next entry of the listing, in the system's order; "." and ".." are not returned.
    // False at the end of the listing, or when fetching the next name fails.
    virtual bool next(FolderEntry& entry) = 0;

    // Opens a sub-folder of this one. Never enters a link or another mounted volume.
    virtual std::unique_ptr<Folder> openFolder(std::string_view name, FolderError& error) = 0;

    // Size of a file of this folder, or nullopt when it cannot be read.
    virtual std::optional<std::uint64_t> fileSize(std::string_view name) = 0;

    // Opens a file of this folder for reading; null when it is missing, a link or not a regular
    // file. It never waits: a pipe or a device in the file's place is refused at once.
    virtual std::unique_ptr<ReadableFile> openFile(std::string_view name) = 0;

    // Clears the attributes that would keep a file from being removed (read-only and the like).
    virtual bool setNormal(std::string_view name) = 0;

    // Removes a file (a link is removed, never its target).
    virtual Removal deleteFile(std::string_view name) = 0;

    // Moves a file to the recycle bin; a file that could not be moved is left where it was.
    virtual Removal moveToTrash(std::string_view name) = 0;

    // Removes an empty sub-folder. True when done.
    virtual bool removeFolder(std::string_view name) = 0;

    // Creates a sub-folder with the access rights (and, where allowed, the owner) that
    // `model` had; `model` is a folder opened before. Never creates through a link.
    virtual bool createFolderLike(std::string_view name, Folder& model) = 0;

    // Tells which sub-folders of this one the caller opens next: `names`, in this order, each
    // listed to its end and its own sub-folders (the entries `use` opens) opened the same way
    // before the next one. The folder may open and list them ahead, in the background, and look
    // ahead at the files whose size is asked; what the other calls return is the same as without
    // it. Does nothing by default.
    virtual void readAhead(const std::vector<std::string>& /*names*/,
                           std::shared_ptr<const ListingUse> /*use*/) {}
};

// Files and folders by path. A path is either in the program's form (a drive letter, a colon,
// then names separated by backslashes), where no link below the drive's root is followed and no
// other mounted volume is entered, or in the machine's own form (used by the self-update).
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // Opens a folder for listing.
    virtual std::unique_ptr<Folder> openFolder(const std::string& path, FolderError& error) = 0;

    // What the path names, or nullopt when it cannot be read.
    virtual std::optional<FileInfo> info(const std::string& path) = 0;

    // Removes a file (a link, never its target).
    virtual Removal deleteFile(const std::string& path) = 0;

    // Moves a file to the recycle bin; a file that could not be moved is left where it was.
    virtual Removal moveToTrash(const std::string& path) = 0;

    // Creates one folder whose parent exists; true when done.
    virtual bool createFolder(const std::string& path) = 0;

    // Copies a file over another in one step: the destination is the old file or the whole
    // copy, never a part of it. On failure it is as before, and `error` says why.
    virtual bool copyFile(const std::string& from, const std::string& to, std::string& error) = 0;

    // True for a file that belongs to the system (an installed package owns it): it is no
    // temporary file, and is never listed nor removed.
    virtual bool systemFile(const std::string& /*path*/) { return false; }

    // Tells that a walk starts that will ask systemFile() about the files it finds: what the
    // answers need may be made ready meanwhile, and looked at again for this walk.
    virtual void systemFilesAhead() {}
};

}  // namespace vidor::platform
