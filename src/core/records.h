#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "core/singleton.h"

// What a player achieved against one host, over every visit.
struct HostRecord {
    int32_t matchesWon = 0;
    int32_t matchesLost = 0;
    int32_t handsPlayed = 0;
    int32_t bestHand = -1;            // best hand rank made at a showdown (0..9), -1 = none yet
    int32_t largestPayout = 0;        // medals won in one hand, double-up included
    int32_t longestDoubleUpStreak = 0;  // double-ups won in a row within one match

    friend bool operator==(const HostRecord&, const HostRecord&) = default;
};

// The player's records per host (0..4), kept in records.dat beside save.dat. The file is binary:
// magic "TWRC", a 16-bit version, a 16-bit host count, six little-endian 32-bit values per host
// and an FNV-1a checksum of everything before it. A damaged, short or unknown-version file is
// reported with one debug line and ignored (all records zero); the next Write replaces it. Writes
// are atomic (temporary file, fsync, rename) and never touch save.dat.
class Records : public Singleton<Records> {
    friend class Singleton<Records>;

public:
    static constexpr int kHosts = 5;
    static constexpr uint16_t kVersion = 1;

    // Reads records.dat; a missing file gives empty records without a message.
    void Load();
    // Writes records.dat atomically. False when it could not be written (the old file then stays)
    // or when something other than a regular file stands at its place (left alone).
    bool Write() const;

    // The record of a host; out-of-range hosts read as an empty record.
    const HostRecord& Get(int host) const;

    // One hand played to its end with the player's final rank (-1 when the hand had none, e.g.
    // a fold).
    void RecordHand(int host, int rank);
    void RecordPayout(int host, int medals);
    void RecordDoubleUpStreak(int host, int streak);
    void RecordMatch(int host, bool won);

    // Empties every record (memory only).
    void Clear() { hosts_ = {}; }
    // Folder of records.dat; empty (the default) follows the folder of save.dat.
    void SetFolder(std::string folder) { folder_ = std::move(folder); }
    std::string Path() const;

    // The file image of the current records (also used by tests to forge files).
    std::string Serialize() const;
    // Parses a file image; false (and the records untouched) when it is not a valid one.
    bool Parse(const std::string& bytes);

private:
    Records() = default;
    HostRecord* host(int index);

    std::array<HostRecord, kHosts> hosts_{};
    std::string folder_;
};
