// The least a walk can do: one thread, getdents64 on folders opened from their parent without
// following links, names ending in .tmp counted. What the census is measured against, beside find
// and fd.
//
//   bare_walk <root>

#include <dirent.h>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

struct Counts {
    long entries = 0;
    long matching = 0;
};

void walk(int folder, Counts& counts, std::vector<char>& buffer) {
    std::vector<int> stack{folder};
    while (!stack.empty()) {
        const int fd = stack.back();
        stack.pop_back();
        for (;;) {
            const long read = ::syscall(SYS_getdents64, fd, buffer.data(), buffer.size());
            if (read <= 0) break;
            for (long at = 0; at < read;) {
                auto* entry = reinterpret_cast<dirent64*>(buffer.data() + at);
                at += entry->d_reclen;
                const char* name = entry->d_name;
                if (name[0] == '.') continue;
                ++counts.entries;
                if (entry->d_type == DT_DIR) {
                    const int sub = ::openat(fd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
                    if (sub >= 0) stack.push_back(sub);
                } else {
                    const std::size_t length = std::strlen(name);
                    if (length > 4 && std::strcmp(name + length - 4, ".tmp") == 0)
                        ++counts.matching;
                }
            }
        }
        ::close(fd);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bare_walk <root>\n");
        return 2;
    }
    const int root = ::open(argv[1], O_RDONLY | O_DIRECTORY);
    if (root < 0) return 1;
    std::vector<char> buffer(32 * 1024);
    Counts counts;
    walk(root, counts, buffer);
    std::printf("%ld entries, %ld ending in .tmp\n", counts.entries, counts.matching);
    return 0;
}
