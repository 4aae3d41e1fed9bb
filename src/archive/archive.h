#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

// The four packed data files are opened once at start-up; their tables of contents come from
// the list resources. An asset is read by mapping exactly its byte range of the data file
// copy-on-write, so the bytes can be descrambled in place without touching the file.

// Open descriptors of data0.dat .. data3.dat, owned by whoever opened them; an index that loads a
// list keeps its own duplicates, so it stays usable after the opener closed its copies.
struct DataFiles {
    std::array<int, 4> fd{-1, -1, -1, -1};
};

struct ArchiveEntry {
    uint8_t file = 0;
    uint32_t offset = 0;
    uint32_t size = 0;
};

class ArchiveIndex {
public:
    ArchiveIndex() = default;
    ~ArchiveIndex();
    ArchiveIndex(const ArchiveIndex&) = delete;
    ArchiveIndex& operator=(const ArchiveIndex&) = delete;

    // Parses the list resource of type "RT_LIST" with the given id and takes its own duplicate of
    // each open data file. 0, or -1 when the resource is missing or its records are corrupt
    // (the index then keeps what it had).
    int LoadList(const DataFiles* files, int resourceId, bool descramble);
    // The same from list bytes in memory.
    int LoadListBytes(const DataFiles* files, const uint8_t* list, size_t size, bool descramble);

    // Maps the named asset (matched in lower case). 0 with Data()/Size() valid; -1 when the name
    // is not listed or the mapping fails. An entry still open is closed first.
    int Open(std::string_view name);
    void Close();

    const uint8_t* Data() const { return data_; }
    size_t Size() const { return size_; }
    bool IsOpen() const { return view_ != nullptr; }

    const std::unordered_map<std::string, ArchiveEntry>& Entries() const { return entries_; }
    void Clear();

private:
    void CloseFiles();

    std::unordered_map<std::string, ArchiveEntry> entries_;
    DataFiles files_;  // the index's own descriptors
    bool descramble_ = false;
    void* view_ = nullptr;
    size_t viewLength_ = 0;
    uint8_t* data_ = nullptr;
    size_t size_ = 0;
};

// The four process-wide indices.
enum class ArchiveId { Images = 0, Music = 1, SoundEffects = 2, Animations = 3 };
ArchiveIndex& Archive(ArchiveId id);
