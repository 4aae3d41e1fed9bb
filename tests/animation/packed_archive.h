#pragma once
#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "archive/archive.h"
#include "test_support.h"

namespace animtest {

// One packed archive of the build tree, data<n>.dat with its list data<n>.lst, opened on an index
// of its own (not the game's global ones).
class Packed {
public:
    explicit Packed(int n) {
        const std::filesystem::path dir = std::filesystem::path(testsupport::BuildDir()) / "data";
        std::ifstream in(dir / ("data" + std::to_string(n) + ".lst"), std::ios::binary);
        list_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        files_.fd[n] = ::open((dir / ("data" + std::to_string(n) + ".dat")).c_str(), O_RDONLY);
        ok_ = files_.fd[n] >= 0 && !list_.empty() &&
              index_.LoadListBytes(&files_, list_.data(), list_.size(), n == 3) == 0;
    }
    ~Packed() {
        index_.Close();
        for (int fd : files_.fd) {
            if (fd >= 0) ::close(fd);
        }
    }
    Packed(const Packed&) = delete;
    Packed& operator=(const Packed&) = delete;

    bool ok() const { return ok_; }
    bool Has(const std::string& entry) const {
        std::string key = entry;
        for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return index_.Entries().count(key) != 0;
    }
    // The entry's bytes (descrambled for the animation archive); empty when missing.
    std::string Read(const std::string& entry) {
        std::string bytes;
        if (index_.Open(entry) == 0) {
            bytes.assign(reinterpret_cast<const char*>(index_.Data()), index_.Size());
            index_.Close();
        }
        return bytes;
    }

private:
    std::vector<uint8_t> list_;
    DataFiles files_;
    ArchiveIndex index_;
    bool ok_ = false;
};

}  // namespace animtest
