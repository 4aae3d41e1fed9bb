#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "core/singleton.h"

// The program's shared state: text keys to integers (0 when absent). Holds the configuration,
// the screen-shake request, the selected opponent, scene flags and the progress per opponent,
// of which the five stage values persist in save.dat.
class Global : public Singleton<Global> {
    friend class Singleton<Global>;

public:
    void Set(int value, std::string_view key);
    int Get(std::string_view key) const;

    // Reads save.dat from the current directory into "stage_0".."stage_4". Missing, or not a
    // regular file: every stage 0; a short file: 255 for the stages it lacks.
    void LoadSave();
    // Writes the five stage bytes to save.dat atomically. False when the file could not be written
    // (the previous file then stays as it was), and when something other than a regular file
    // stands at save.dat (it is left alone).
    bool WriteSave();

    // Raises "stage_<opponent>" to stage if higher; true when it did.
    bool RecordStage(int opponent, int stage);
    int GetStage(int opponent) const;

    void Clear() { values_.clear(); }
    // Folder that holds save.dat; empty means the current directory (tests point it elsewhere).
    void SetSaveFolder(std::string folder) { saveFolder_ = std::move(folder); }
    const std::string& SaveFolder() const { return saveFolder_; }

private:
    Global() = default;
    std::string SavePath() const;

    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::unordered_map<std::string, int32_t, Hash, std::equal_to<>> values_;
    std::string saveFolder_;
};
