#include "core/global.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace {

constexpr int kOpponents = 5;

std::string StageKey(int opponent) {
    std::string key = "stage_0";
    key[6] = static_cast<char>('0' + opponent);
    return key;
}

bool WriteAll(int fd, const unsigned char* bytes, size_t n) {
    while (n > 0) {
        const ssize_t w = write(fd, bytes, n);
        if (w <= 0) {
            return false;
        }
        bytes += w;
        n -= static_cast<size_t>(w);
    }
    return true;
}

}  // namespace

void Global::Set(int value, std::string_view key) {
    auto it = values_.find(key);
    if (it != values_.end()) {
        it->second = value;
    } else {
        values_.emplace(std::string(key), value);
    }
}

int Global::Get(std::string_view key) const {
    auto it = values_.find(key);
    return it != values_.end() ? it->second : 0;
}

std::string Global::SavePath() const { return saveFolder_.empty() ? "save.dat" : saveFolder_ + "/save.dat"; }

void Global::LoadSave() {
    // Binary read: every byte value, 10 and 26 included, comes back as written. A short file
    // yields 255 for the stages it lacks. Anything but a regular file (a folder, a FIFO, a
    // device) counts as no save at all; the open does not wait for a FIFO's writer.
    unsigned char bytes[kOpponents];
    ssize_t got = -1;
    const int fd = ::open(SavePath().c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
            got = 0;
            while (got < kOpponents) {
                const ssize_t r = ::read(fd, bytes + got, static_cast<size_t>(kOpponents - got));
                if (r <= 0) {
                    break;
                }
                got += r;
            }
        }
        ::close(fd);
    }
    for (int i = 0; i < kOpponents; ++i) {
        const int stage = got < 0 ? 0 : (i < got ? bytes[i] : 255);
        Set(stage, StageKey(i));
    }
}

bool Global::WriteSave() {
    unsigned char bytes[kOpponents];
    for (int i = 0; i < kOpponents; ++i) {
        bytes[i] = static_cast<unsigned char>(Get(StageKey(i)) & 0xFF);
    }
    // Write a temporary file beside the save, flush it to disk, then rename it over the old one,
    // so a crash or a full disk never leaves a truncated save behind.
    const std::string path = SavePath();
    const std::string tmp = path + ".tmp";
    // Only a regular file (or nothing) at the save's place is replaced: a folder, FIFO or device
    // someone put there is left alone and the write fails.
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        return false;
    }
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
    if (fd < 0) {
        return false;
    }
    const bool ok = WriteAll(fd, bytes, sizeof(bytes)) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!ok || !closed || std::rename(tmp.c_str(), path.c_str()) != 0) {
        ::unlink(tmp.c_str());
        return false;
    }
    return true;
}

bool Global::RecordStage(int opponent, int stage) {
    const std::string key = StageKey(opponent);
    if (Get(key) >= stage) {
        return false;
    }
    Set(stage, key);
    return true;
}

int Global::GetStage(int opponent) const { return Get(StageKey(opponent)); }
