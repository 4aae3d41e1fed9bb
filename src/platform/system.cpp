#include "platform/system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cctype>
#include <climits>
#include <fstream>

namespace platform {
namespace {

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r')) {
        ++b;
    }
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) {
        --e;
    }
    return s.substr(b, e - b);
}

bool SameText(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

std::string Cut(std::string s, size_t bufferSize) {
    if (bufferSize == 0) {
        return {};
    }
    if (s.size() > bufferSize - 1) {
        s.resize(bufferSize - 1);
    }
    return s;
}

}  // namespace

std::string ReadProfileString(const std::string& path, const std::string& section, const std::string& key,
                              const std::string& defaultText, size_t bufferSize) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return Cut(defaultText, bufferSize);
    }
    std::string line;
    bool inSection = false;
    while (std::getline(in, line)) {
        const std::string t = Trim(line);
        if (t.empty() || t[0] == ';') {
            continue;
        }
        if (t[0] == '[') {
            // Only the first section of the name counts: a later one of the same name is not
            // read, so the first section's end is the end of the search.
            if (inSection) {
                break;
            }
            const size_t close = t.find(']');
            inSection = close != std::string::npos && SameText(Trim(t.substr(1, close - 1)), section);
            continue;
        }
        if (!inSection) {
            continue;
        }
        const size_t eq = t.find('=');
        if (eq == std::string::npos || !SameText(Trim(t.substr(0, eq)), key)) {
            continue;
        }
        std::string value = Trim(t.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        return Cut(value, bufferSize);
    }
    return Cut(defaultText, bufferSize);
}

SingleInstanceGuard::SingleInstanceGuard(const std::string& name) {
    // One lock file per user, like a session-local named mutex.
    const std::string path = "/tmp/" + name + "-" + std::to_string(static_cast<unsigned>(getuid())) + ".lock";
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        return;  // cannot guard: let the program run rather than refuse to start
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        alreadyExisted_ = true;
        ::close(fd_);
        fd_ = -1;
    }
}

SingleInstanceGuard::~SingleInstanceGuard() { Release(); }

void SingleInstanceGuard::Release() {
    if (fd_ >= 0) {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
        fd_ = -1;
    }
}

std::string CurrentDirectory() {
    char buffer[PATH_MAX];
    if (getcwd(buffer, sizeof(buffer)) == nullptr) {
        return {};
    }
    return buffer;
}

}  // namespace platform
