#pragma once
#include <string>
#include <utility>
#include <vector>

// Operating-system services without a window: the INI reader and the single-instance guard.
namespace platform {

// Reads [section] key from an INI file the way the Windows profile call does: section and key
// match without regard to case, the value is trimmed of surrounding blanks and of one pair of
// matching quotes, and it is cut to bufferSize - 1 characters. Only the first section of the name
// is searched (keys in a later section of the same name are not seen). A missing file, section or
// key gives the default text (also cut to the buffer).
std::string ReadProfileString(const std::string& path, const std::string& section, const std::string& key,
                              const std::string& defaultText, size_t bufferSize = 100);

struct ProfileKey {
    std::string key;
    std::string defaultText;
};

// The same for several keys of one section in a single pass over the file, one value per key in
// the keys' order. The file is read in blocks and only the start of each line is kept (4 KB plus
// the buffer), so a huge line costs no memory. Anything but a regular file reads as missing.
std::vector<std::string> ReadProfileStrings(const std::string& path, const std::string& section,
                                            const std::vector<ProfileKey>& keys, size_t bufferSize = 100);

// Sets keys of [section] in an INI file and leaves everything else as it was: other sections,
// other keys, comments, blank lines, line order and the file's line ending. A key that exists in
// the first section of the name (found without regard to case, as the reader finds it) gets its
// value replaced in place; a missing key is added after the section's last entry; a missing
// section is added at the end. The file is replaced atomically (a temporary file beside it,
// flushed, then renamed), so a crash leaves either the old or the new file. False when the file
// could not be written, and when something other than a regular file stands at the path.
bool WriteProfileStrings(const std::string& path, const std::string& section,
                         const std::vector<std::pair<std::string, std::string>>& values);

// A named lock held for the life of the object: the first holder owns the name until it ends
// (also by a crash, since the lock is an advisory file lock the kernel drops with the process).
class SingleInstanceGuard {
public:
    explicit SingleInstanceGuard(const std::string& name);
    ~SingleInstanceGuard();
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

    // True when another process already holds the name.
    bool AlreadyExisted() const { return alreadyExisted_; }
    void Release();

private:
    int fd_ = -1;
    bool alreadyExisted_ = false;
};

// Current working directory ("" when it cannot be read).
std::string CurrentDirectory();

}  // namespace platform
