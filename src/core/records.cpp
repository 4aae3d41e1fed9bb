#include "core/records.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstring>

#include "core/global.h"
#include "platform/debug.h"
#include "platform/text_encoding.h"

namespace {

constexpr char kMagic[4] = {'T', 'W', 'R', 'C'};
constexpr size_t kFieldsPerHost = 6;
constexpr size_t kHeaderSize = 8;  // magic, version, host count
constexpr size_t kFileSize = kHeaderSize + Records::kHosts * kFieldsPerHost * 4 + 4;
const HostRecord kEmpty{};

uint32_t Fnv1a(const unsigned char* bytes, size_t n) {
    uint32_t h = 2166136261u;
    for (size_t i = 0; i < n; ++i) {
        h = (h ^ bytes[i]) * 16777619u;
    }
    return h;
}

void Put32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    }
}

uint32_t Get32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

uint16_t Get16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

bool WriteAll(int fd, const char* bytes, size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, bytes, n);
        if (w <= 0) {
            return false;
        }
        bytes += w;
        n -= static_cast<size_t>(w);
    }
    return true;
}

void Report(const char* what) { platform::OutputDebug(SJ("Records : records.dat を無視します (") + what + ")"); }

void Increment(int32_t& counter) {
    if (counter < INT32_MAX) {
        ++counter;
    }
}

}  // namespace

std::string Records::Path() const {
    const std::string& folder = folder_.empty() ? Global::Instance().SaveFolder() : folder_;
    return folder.empty() ? "records.dat" : folder + "/records.dat";
}

std::string Records::Serialize() const {
    std::string out(kMagic, sizeof(kMagic));
    out.push_back(static_cast<char>(kVersion & 0xFF));
    out.push_back(static_cast<char>(kVersion >> 8));
    out.push_back(static_cast<char>(kHosts));
    out.push_back(0);
    for (const HostRecord& r : hosts_) {
        for (int32_t v : {r.matchesWon, r.matchesLost, r.handsPlayed, r.bestHand, r.largestPayout,
                          r.longestDoubleUpStreak}) {
            Put32(out, static_cast<uint32_t>(v));
        }
    }
    Put32(out, Fnv1a(reinterpret_cast<const unsigned char*>(out.data()), out.size()));
    return out;
}

bool Records::Parse(const std::string& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    if (bytes.size() != kFileSize || std::memcmp(p, kMagic, sizeof(kMagic)) != 0 || Get16(p + 4) != kVersion ||
        Get16(p + 6) != kHosts || Fnv1a(p, kFileSize - 4) != Get32(p + kFileSize - 4)) {
        return false;
    }
    std::array<HostRecord, kHosts> parsed{};
    const unsigned char* q = p + kHeaderSize;
    for (HostRecord& r : parsed) {
        int32_t* fields[kFieldsPerHost] = {&r.matchesWon, &r.matchesLost, &r.handsPlayed,
                                           &r.bestHand, &r.largestPayout, &r.longestDoubleUpStreak};
        for (int32_t* f : fields) {
            *f = static_cast<int32_t>(Get32(q));
            q += 4;
        }
        // A checksum can match a file written by something else: values no game could produce
        // make the whole file invalid rather than show nonsense.
        if (r.matchesWon < 0 || r.matchesLost < 0 || r.handsPlayed < 0 || r.bestHand < -1 || r.bestHand > 9 ||
            r.largestPayout < 0 || r.longestDoubleUpStreak < 0) {
            return false;
        }
    }
    hosts_ = parsed;
    return true;
}

void Records::Load() {
    hosts_ = {};
    const int fd = ::open(Path().c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return;  // no records yet
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        Report("not a regular file");
        return;
    }
    // Read one byte past the expected size so that an overlong file is noticed too.
    std::string bytes(kFileSize + 1, '\0');
    size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t r = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (r <= 0) {
            break;
        }
        got += static_cast<size_t>(r);
    }
    ::close(fd);
    bytes.resize(got);
    if (bytes.size() >= kHeaderSize && std::memcmp(bytes.data(), kMagic, sizeof(kMagic)) == 0 &&
        Get16(reinterpret_cast<const unsigned char*>(bytes.data()) + 4) != kVersion) {
        Report("unknown version");
        return;
    }
    if (!Parse(bytes)) {
        Report(bytes.size() != kFileSize ? "wrong size" : "damaged");
    }
}

bool Records::Write() const {
    const std::string path = Path();
    const std::string tmp = path + ".tmp";
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        return false;
    }
    const std::string bytes = Serialize();
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
    if (fd < 0) {
        return false;
    }
    const bool ok = WriteAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!ok || !closed || std::rename(tmp.c_str(), path.c_str()) != 0) {
        ::unlink(tmp.c_str());
        return false;
    }
    return true;
}

HostRecord* Records::host(int index) { return index >= 0 && index < kHosts ? &hosts_[index] : nullptr; }

const HostRecord& Records::Get(int index) const {
    return index >= 0 && index < kHosts ? hosts_[index] : kEmpty;
}

void Records::RecordHand(int index, int rank) {
    if (HostRecord* r = host(index)) {
        Increment(r->handsPlayed);
        if (rank >= 0 && rank <= 9 && rank > r->bestHand) {
            r->bestHand = rank;
        }
    }
}

void Records::RecordPayout(int index, int medals) {
    if (HostRecord* r = host(index); r && medals > r->largestPayout) {
        r->largestPayout = medals;
    }
}

void Records::RecordDoubleUpStreak(int index, int streak) {
    if (HostRecord* r = host(index); r && streak > r->longestDoubleUpStreak) {
        r->longestDoubleUpStreak = streak;
    }
}

void Records::RecordMatch(int index, bool won) {
    if (HostRecord* r = host(index)) {
        Increment(won ? r->matchesWon : r->matchesLost);
    }
}
