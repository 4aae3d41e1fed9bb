#include "archive/archive.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cctype>

#include "archive/resources.h"
#include "archive/scramble.h"

ArchiveIndex::~ArchiveIndex() {
    Close();
    CloseFiles();
}

void ArchiveIndex::Clear() {
    Close();
    entries_.clear();
    CloseFiles();
}

void ArchiveIndex::CloseFiles() {
    for (int& fd : files_.fd) {
        if (fd >= 0) {
            ::close(fd);
        }
        fd = -1;
    }
}

int ArchiveIndex::LoadList(const DataFiles* files, int resourceId, bool descramble) {
    archive::ResourceView res;
    if (!archive::FindResource("RT_LIST", resourceId, res)) {
        return -1;
    }
    return LoadListBytes(files, res.data, res.size, descramble);
}

int ArchiveIndex::LoadListBytes(const DataFiles* files, const uint8_t* list, size_t size, bool descramble) {
    std::unordered_map<std::string, ArchiveEntry> parsed;
    size_t pos = 0;
    while (pos < size) {
        const size_t n = list[pos];
        // A name of 128 bytes or more is outside the format, and a record must fit entirely.
        if (n >= 128 || size - pos < 10 + n) {
            return -1;
        }
        ArchiveEntry e;
        std::string name(reinterpret_cast<const char*>(list + pos + 1), n);
        const uint8_t* p = list + pos + 1 + n;
        e.file = p[0];
        e.offset = static_cast<uint32_t>(p[1]) | (static_cast<uint32_t>(p[2]) << 8) |
                   (static_cast<uint32_t>(p[3]) << 16) | (static_cast<uint32_t>(p[4]) << 24);
        e.size = static_cast<uint32_t>(p[5]) | (static_cast<uint32_t>(p[6]) << 8) |
                 (static_cast<uint32_t>(p[7]) << 16) | (static_cast<uint32_t>(p[8]) << 24);
        if (e.file > 3) {
            return -1;
        }
        parsed[std::move(name)] = e;  // a repeated name keeps the later record
        pos += 10 + n;
    }
    Close();
    CloseFiles();
    for (size_t i = 0; i < files_.fd.size(); ++i) {
        const int fd = files != nullptr ? files->fd[i] : -1;
        files_.fd[i] = fd >= 0 ? ::fcntl(fd, F_DUPFD_CLOEXEC, 0) : -1;
    }
    entries_ = std::move(parsed);
    descramble_ = descramble;
    return 0;
}

int ArchiveIndex::Open(std::string_view name) {
    Close();
    std::string key(name.substr(0, 259));
    for (char& c : key) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    auto it = entries_.find(key);
    if (it == entries_.end()) {
        return -1;
    }
    const ArchiveEntry& e = it->second;
    const int fd = files_.fd[e.file];
    if (fd < 0) {
        return -1;
    }
    const long page = sysconf(_SC_PAGESIZE);
    const uint64_t g = page > 0 ? static_cast<uint64_t>(page) : 4096u;
    const uint64_t start = (e.offset / g) * g;
    const size_t lead = static_cast<size_t>(e.offset - start);
    // Map at least one byte so that an empty entry still has a valid view.
    const size_t length = lead + (e.size > 0 ? e.size : 1);
    void* view = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE, fd, static_cast<off_t>(start));
    if (view == MAP_FAILED) {
        return -1;
    }
    // Reading past the end of the file inside a mapping raises SIGBUS: refuse entries that lie
    // beyond the data file instead.
    const off_t fileSize = lseek(fd, 0, SEEK_END);
    if (fileSize < 0 || static_cast<uint64_t>(e.offset) + e.size > static_cast<uint64_t>(fileSize)) {
        munmap(view, length);
        return -1;
    }
    view_ = view;
    viewLength_ = length;
    data_ = static_cast<uint8_t*>(view) + lead;
    size_ = e.size;
    if (descramble_) {
        const uint8_t* key = archive::ScrambleTable();
        const uint64_t mask = archive::kScrambleTableSize - 1;
        for (size_t i = 0; i < size_; ++i) {
            data_[i] = static_cast<uint8_t>(data_[i] - key[(static_cast<uint64_t>(e.offset) + i) & mask]);
        }
    }
    return 0;
}

void ArchiveIndex::Close() {
    if (view_ != nullptr) {
        munmap(view_, viewLength_);
    }
    view_ = nullptr;
    viewLength_ = 0;
    data_ = nullptr;
    size_ = 0;
}

ArchiveIndex& Archive(ArchiveId id) {
    static ArchiveIndex indices[4];
    return indices[static_cast<int>(id)];
}
