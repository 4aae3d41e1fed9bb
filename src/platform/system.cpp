#include "platform/system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <climits>
#include <cstddef>

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

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// How much of one line is kept, counted from its first non-blank character. Section names and
// keys longer than this are not recognised; a value keeps its first characters and its last
// non-blank one, which is all the quote rule and the buffer cut need.
constexpr size_t kKeptLine = 4096;

// One line of the file as the reader keeps it: the start of its trimmed text, and, when the line
// went on past what is kept, its last non-blank character.
struct KeptLine {
    std::string head;
    bool cut = false;
    char last = 0;        // last non-blank character of the whole line
    size_t beyond = 0;    // non-blank characters seen after the kept part
};

// Applies one line to the search. Returns false once the first section of the name has ended.
bool ApplyLine(const KeptLine& line, const std::string& section, const std::vector<ProfileKey>& keys,
               std::vector<std::string>& found, std::vector<bool>& have, bool& inSection) {
    // The kept head already starts at the first non-blank; without anything non-blank past it,
    // the line is exactly its trimmed head.
    const bool cut = line.cut && line.beyond > 0;
    const std::string t = cut ? line.head : Trim(line.head);
    if (t.empty() || t[0] == ';') {
        return true;
    }
    if (t[0] == '[') {
        // Only the first section of the name counts: a later one of the same name is not read,
        // so the first section's end is the end of the search.
        if (inSection) {
            return false;
        }
        const size_t close = t.find(']');
        inSection = close != std::string::npos && SameText(Trim(t.substr(1, close - 1)), section);
        return true;
    }
    if (!inSection) {
        return true;
    }
    const size_t eq = t.find('=');
    if (eq == std::string::npos) {
        return true;
    }
    const std::string name = Trim(t.substr(0, eq));
    for (size_t k = 0; k < keys.size(); ++k) {
        if (have[k] || !SameText(name, keys[k].key)) {
            continue;
        }
        std::string value;
        if (cut) {
            // Only the start is trimmed: blanks at the end of the kept part lie inside the value.
            size_t b = eq + 1;
            while (b < t.size() && IsBlank(t[b])) {
                ++b;
            }
            value = t.substr(b);
        } else {
            value = Trim(t.substr(eq + 1));
        }
        if (cut) {
            // The value goes on past the kept part: its end is the line's last non-blank.
            if (!value.empty() && (value.front() == '"' || value.front() == '\'') && line.last == value.front()) {
                value.erase(0, 1);
            }
        } else if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                   value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        found[k] = std::move(value);
        have[k] = true;
    }
    return true;
}

}  // namespace

std::vector<std::string> ReadProfileStrings(const std::string& path, const std::string& section,
                                            const std::vector<ProfileKey>& keys, size_t bufferSize) {
    std::vector<std::string> found(keys.size());
    std::vector<bool> have(keys.size(), false);
    // Anything but a regular file reads as missing; a FIFO must not hold the reader up.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        // One pass over the file in fixed blocks: memory stays small whatever the line lengths.
        char block[65536];
        KeptLine line;
        bool inSection = false;
        bool searching = true;
        bool pending = false;
        while (searching) {
            const ssize_t n = ::read(fd, block, sizeof(block));
            if (n <= 0) {
                break;
            }
            for (ssize_t i = 0; i < n && searching; ++i) {
                const char c = block[i];
                if (c == '\n') {
                    searching = ApplyLine(line, section, keys, found, have, inSection);
                    line = KeptLine{};
                    pending = false;
                    continue;
                }
                pending = true;
                if (line.head.empty() && IsBlank(c)) {
                    continue;
                }
                if (line.head.size() < kKeptLine + bufferSize) {
                    line.head.push_back(c);
                } else {
                    line.cut = true;
                    if (!IsBlank(c)) {
                        line.last = c;
                        ++line.beyond;
                    }
                }
            }
        }
        if (searching && pending) {
            ApplyLine(line, section, keys, found, have, inSection);
        }
    }
    if (fd >= 0) {
        ::close(fd);
    }
    for (size_t k = 0; k < keys.size(); ++k) {
        found[k] = Cut(have[k] ? std::move(found[k]) : keys[k].defaultText, bufferSize);
    }
    return found;
}

std::string ReadProfileString(const std::string& path, const std::string& section, const std::string& key,
                              const std::string& defaultText, size_t bufferSize) {
    return ReadProfileStrings(path, section, {{key, defaultText}}, bufferSize)[0];
}

namespace {

// The lines of a file with their line ends; the last line may have none.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t nl = text.find('\n', start);
        const size_t end = nl == std::string::npos ? text.size() : nl + 1;
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

// A line without its line end, trimmed.
std::string Content(const std::string& line) {
    std::string s = line;
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) {
        s.pop_back();
    }
    return Trim(s);
}

// The section a line opens ("" when it opens none; "[]" counts as a section named "").
bool SectionOf(const std::string& content, std::string& name) {
    if (content.empty() || content[0] != '[') {
        return false;
    }
    const size_t close = content.find(']');
    name = close == std::string::npos ? std::string() : Trim(content.substr(1, close - 1));
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& out) {
    out.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        struct stat st {};
        // Missing is fine (a new file); anything else in the way is not.
        return ::lstat(path.c_str(), &st) != 0;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    char block[65536];
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof(block));
        if (n < 0) {
            ::close(fd);
            return false;
        }
        if (n == 0) {
            break;
        }
        out.append(block, static_cast<size_t>(n));
    }
    ::close(fd);
    return true;
}

bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0) {
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

bool WriteProfileStrings(const std::string& path, const std::string& section,
                         const std::vector<std::pair<std::string, std::string>>& values) {
    std::string text;
    if (!ReadWholeFile(path, text)) {
        return false;
    }
    std::vector<std::string> lines = SplitLines(text);
    const std::string eol = text.find("\r\n") != std::string::npos ? "\r\n" : "\n";

    // Where the first section of the name starts and where its last entry lies.
    size_t header = lines.size();
    size_t lastEntry = lines.size();
    size_t sectionEnd = lines.size();
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string name;
        const std::string c = Content(lines[i]);
        if (SectionOf(c, name)) {
            if (header != lines.size()) {
                sectionEnd = i;
                break;
            }
            if (SameText(name, section)) {
                header = i;
                lastEntry = i;
            }
        } else if (header != lines.size() && !c.empty() && c[0] != ';') {
            lastEntry = i;
        }
    }

    std::vector<std::string> added;
    for (const auto& [key, value] : values) {
        bool replaced = false;
        for (size_t i = header + 1; header != lines.size() && i < sectionEnd && !replaced; ++i) {
            const std::string c = Content(lines[i]);
            const size_t eq = c.find('=');
            if (c.empty() || c[0] == ';' || eq == std::string::npos || !SameText(Trim(c.substr(0, eq)), key)) {
                continue;
            }
            // Keep the key as the file spells it and the line's own ending.
            const std::string& old = lines[i];
            const std::string ending = old.size() >= 2 && old.compare(old.size() - 2, 2, "\r\n") == 0 ? "\r\n"
                                       : !old.empty() && old.back() == '\n'                           ? "\n"
                                                                                                     : "";
            lines[i] = Trim(c.substr(0, eq)) + "=" + value + ending;
            replaced = true;
        }
        if (!replaced) {
            added.push_back(key + "=" + value + eol);
        }
    }
    if (!added.empty()) {
        if (header == lines.size()) {
            if (!lines.empty() && lines.back().back() != '\n') {
                lines.back() += eol;
            }
            lines.push_back("[" + section + "]" + eol);
            lines.insert(lines.end(), added.begin(), added.end());
        } else {
            if (lines[lastEntry].back() != '\n') {
                lines[lastEntry] += eol;
            }
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lastEntry + 1), added.begin(), added.end());
        }
    }

    std::string out;
    for (const std::string& l : lines) {
        out += l;
    }
    const std::string temp = path + ".tmp";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    const bool written = WriteAll(fd, out) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
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
