// libFuzzer entry for the archive index: the input carries a list and the bytes of a data file.
// Layout: byte 0 bit 0 = descramble, bytes 1-2 = list length (little-endian), the list, then the
// data file. Every listed entry is opened; an entry that opens must lie inside the data file and
// read back exactly its bytes (descrambled when asked).
#include <sys/mman.h>
#include <unistd.h>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "archive/archive.h"
#include "archive/scramble.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) {
        return 0;
    }
    const bool descramble = (data[0] & 1) != 0;
    size_t listSize = static_cast<size_t>(data[1]) | (static_cast<size_t>(data[2]) << 8);
    if (listSize > size - 3) {
        listSize = size - 3;
    }
    const uint8_t* list = data + 3;
    const uint8_t* file = list + listSize;
    const size_t fileSize = size - 3 - listSize;

    const int fd = memfd_create("fuzz_data", MFD_CLOEXEC);
    if (fd < 0 || (fileSize > 0 && write(fd, file, fileSize) != static_cast<ssize_t>(fileSize))) {
        std::abort();
    }
    DataFiles files;
    files.fd = {fd, fd, fd, fd};
    ArchiveIndex index;
    const int loaded = index.LoadListBytes(&files, list, listSize, descramble);
    close(fd);  // the index keeps its own duplicates
    if (loaded != 0) {
        return 0;
    }
    std::vector<std::string> names;
    for (const auto& [name, entry] : index.Entries()) {
        names.push_back(name);
    }
    for (const std::string& name : names) {
        // Names are looked up in lower case: a listed name with capitals opens the entry of its
        // lower-case spelling, if there is one, and nothing otherwise.
        std::string key = name.substr(0, 259);
        for (char& c : key) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        const auto found = index.Entries().find(key);
        const int opened = index.Open(name);
        if (found == index.Entries().end()) {
            if (opened == 0) {
                std::abort();
            }
            continue;
        }
        if (opened != 0) {
            continue;
        }
        const ArchiveEntry e = found->second;
        if (index.Size() != e.size || static_cast<uint64_t>(e.offset) + e.size > fileSize) {
            std::abort();
        }
        for (size_t i = 0; i < index.Size(); ++i) {
            const uint8_t raw = file[e.offset + i];
            const uint8_t want = descramble ? static_cast<uint8_t>(raw - archive::ScrambleKey(e.offset + i)) : raw;
            if (index.Data()[i] != want) {
                std::abort();
            }
        }
        index.Close();
    }
    // Names that are not listed (or listed only in another case) never open anything wrong.
    index.Open("no such entry.dds");
    index.Open(std::string(300, 'A'));
    return 0;
}
