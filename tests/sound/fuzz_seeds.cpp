// Writes the starting corpus of the sound fuzz targets: a few valid WAV layouts and a short
// encoded track, into <folder>/wav and <folder>/music.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "sound_fixtures.h"

namespace {

void Write(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        return 2;
    }
    const std::filesystem::path root = argv[1];
    std::filesystem::create_directories(root / "wav");
    std::filesystem::create_directories(root / "music");
    soundtest::WavSpec plain;
    soundtest::WavSpec f18;
    f18.fmtSize = 18;
    soundtest::WavSpec fact;
    fact.fact = true;
    fact.channels = 1;
    fact.bits = 8;
    fact.rate = 22050;
    const auto pcm = soundtest::Pcm16(std::vector<int16_t>(64, 1234));
    Write(root / "wav" / "plain.wav", soundtest::MakeWav(plain, pcm));
    Write(root / "wav" / "f18.wav", soundtest::MakeWav(f18, pcm));
    Write(root / "wav" / "fact.wav", soundtest::MakeWav(fact, std::vector<uint8_t>(40, 0x90)));
    Write(root / "music" / "tone.ogg", soundtest::EncodeOgg(soundtest::TestSignal(4410), 2, 44100));
    return 0;
}
