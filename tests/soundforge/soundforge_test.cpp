// Checks the synthesised sounds as the game will meet them: effects and music read back out of
// the packed archives, voices from the loose wav folder, WAVs through the game's reader, music
// through the game's streaming decoder with its loop points.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "core/result.h"
#include "archive/archive.h"
#include "platform/debug.h"
#include "platform/headless/headless_audio.h"
#include "sound/dx_sound.h"
#include "sound/wav.h"
#include "test_support.h"

namespace {

const char* const kEffects[] = {
    "se_decide.wav", "se_cancel.wav", "se_carddraw.wav", "se_hold.wav", "se_bet_loop.wav", "se_bet_ok.wav",
    "se_medal_move.wav", "se_battle_win.wav", "se_wup_win.wav", "se_ability.wav", "se_menu_open.wav",
    "se_menu_close.wav", "menu_title.wav",
    // For the animation files' sound markers.
    "se_shuffle.wav", "se_cardflip.wav", "se_chime.wav", "se_shake.wav", "se_sparkle.wav", "se_logo.wav",
};
const char* const kLoopedEffects[] = {"se_bet_loop.wav", "se_medal_move.wav", "menu_title.wav"};
const char* const kHosts[] = {"Pemra", "Otsel", "Quenvar", "Iblen", "Rosweth"};
const char* const kVoiceWords[] = {"win", "lose1", "lose2", "lose3", "ability1", "ability2", "ability3", "ability4"};

struct TrackSpec {
    const char* name;
    int64_t trigger;  // 0: plays to its end and starts again
    int64_t target;
};
const TrackSpec kTracks[] = {
    {"bgm_menu.ogg", 7400000, 0},
    {"bgm_game.ogg", 8286519, 307146},
    {"bgm_cg.ogg", 6300000, 0},
    {"bgm_credit.ogg", 0, 0},
};

constexpr double kMinus1Db = 0.8912509;  // -1 dBFS

std::vector<uint8_t> ReadAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

uint32_t Le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }

struct PackedArchive {
    std::vector<uint8_t> list;
    std::map<std::string, ArchiveEntry> entries;
    std::vector<uint8_t> data;
    std::string error;

    std::vector<uint8_t> Get(const std::string& name) const {
        const auto it = entries.find(name);
        if (it == entries.end()) return {};
        return std::vector<uint8_t>(data.begin() + it->second.offset, data.begin() + it->second.offset + it->second.size);
    }
};

// The list records: name length, name, file number, offset and size (little-endian).
const PackedArchive& Packed(int n) {
    static std::map<int, PackedArchive> cache;
    auto it = cache.find(n);
    if (it != cache.end()) return it->second;
    PackedArchive a;
    const std::string base = testsupport::BuildDir() + "/data/data" + std::to_string(n);
    a.list = ReadAll(base + ".lst");
    a.data = ReadAll(base + ".dat");
    size_t at = 0;
    while (at < a.list.size() && a.error.empty()) {
        const size_t len = a.list[at];
        if (at + 1 + len + 9 > a.list.size()) {
            a.error = "list record runs past the end";
            break;
        }
        const std::string name(a.list.begin() + static_cast<long>(at) + 1, a.list.begin() + static_cast<long>(at + 1 + len));
        ArchiveEntry e;
        e.file = a.list[at + 1 + len];
        e.offset = Le32(&a.list[at + 2 + len]);
        e.size = Le32(&a.list[at + 6 + len]);
        if (static_cast<uint64_t>(e.offset) + e.size > a.data.size()) a.error = name + " lies past the end of the data file";
        a.entries[name] = e;
        at += 10 + len;
    }
    return cache.emplace(n, std::move(a)).first->second;
}

struct Pcm {
    int channels = 0;
    std::vector<int16_t> samples;  // interleaved
    size_t Frames() const { return channels ? samples.size() / static_cast<size_t>(channels) : 0; }
    double At(size_t frame, int ch) const { return samples[frame * static_cast<size_t>(channels) + static_cast<size_t>(ch)] / 32768.0; }
};

// The game's reader, plus the stricter layout our files promise: 44100 Hz 16-bit PCM, a 16-byte
// fmt chunk followed directly by "data", and nothing after the data.
bool LoadWav(const std::vector<uint8_t>& bytes, Pcm& out, std::string& why) {
    sound::WavData wav;
    if (sound::ParseWav(bytes.data(), bytes.size(), wav) != sound::WavResult::Ok) {
        why = "the game's reader refuses it";
        return false;
    }
    if (Le32(&bytes[16]) != 16 || std::memcmp(&bytes[36], "data", 4) != 0) {
        why = "fmt chunk is not 16 bytes or data does not follow it";
        return false;
    }
    if (Le32(&bytes[40]) + 44 != bytes.size() || Le32(&bytes[4]) + 8 != bytes.size()) {
        why = "size fields do not match the file";
        return false;
    }
    if (wav.format.samplesPerSec != 44100 || wav.format.bitsPerSample != 16 || wav.format.channels < 1 || wav.format.channels > 2 ||
        wav.format.blockAlign != wav.format.channels * 2 || wav.format.avgBytesPerSec != 44100u * wav.format.blockAlign) {
        why = "unexpected format";
        return false;
    }
    out.channels = wav.format.channels;
    out.samples.resize(wav.pcmBytes / 2);
    std::memcpy(out.samples.data(), wav.pcm, out.samples.size() * 2);
    return true;
}

// Independent reference decoder over a memory copy.
struct MemFile {
    const std::vector<uint8_t>* bytes;
    size_t pos = 0;
};
size_t MemRead(void* dst, size_t size, size_t count, void* src) {
    auto* m = static_cast<MemFile*>(src);
    const size_t n = std::min(size * count, m->bytes->size() - m->pos) / size;
    std::memcpy(dst, m->bytes->data() + m->pos, n * size);
    m->pos += n * size;
    return n;
}
int MemSeek(void* src, ogg_int64_t off, int whence) {
    auto* m = static_cast<MemFile*>(src);
    const int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? static_cast<int64_t>(m->pos) : static_cast<int64_t>(m->bytes->size());
    const int64_t p = base + off;
    if (p < 0 || p > static_cast<int64_t>(m->bytes->size())) return -1;
    m->pos = static_cast<size_t>(p);
    return 0;
}
long MemTell(void* src) { return static_cast<long>(static_cast<MemFile*>(src)->pos); }

struct Track {
    bool opened = false;
    int channels = 0;
    long rate = 0;
    int64_t total = 0;
    Pcm pcm;
};

const Track& Decoded(const std::string& name) {
    static std::map<std::string, Track> cache;
    auto it = cache.find(name);
    if (it != cache.end()) return it->second;
    Track t;
    const std::vector<uint8_t> bytes = Packed(1).Get(name);
    MemFile mf{&bytes, 0};
    OggVorbis_File vf;
    const ov_callbacks cb = {MemRead, MemSeek, nullptr, MemTell};
    if (!bytes.empty() && ov_open_callbacks(&mf, &vf, nullptr, 0, cb) == 0) {
        t.opened = true;
        vorbis_info* vi = ov_info(&vf, -1);
        t.channels = vi->channels;
        t.rate = vi->rate;
        t.total = ov_pcm_total(&vf, -1);
        t.pcm.channels = vi->channels;
        t.pcm.samples.reserve(static_cast<size_t>(std::max<int64_t>(0, t.total)) * 2);
        char buf[8192];
        int section = 0;
        for (;;) {
            const long got = ov_read(&vf, buf, sizeof buf, 0, 2, 1, &section);
            if (got <= 0) break;
            const size_t old = t.pcm.samples.size();
            t.pcm.samples.resize(old + static_cast<size_t>(got) / 2);
            std::memcpy(t.pcm.samples.data() + old, buf, static_cast<size_t>(got));
        }
        ov_clear(&vf);
    }
    return cache.emplace(name, std::move(t)).first->second;
}

double Peak(const Pcm& p) {
    int m = 0;
    for (int16_t s : p.samples) m = std::max(m, std::abs(static_cast<int>(s)));
    return m / 32768.0;
}

double Rms(const Pcm& p, size_t from, size_t frames) {
    double sum = 0;
    const size_t end = std::min(p.Frames(), from + frames);
    for (size_t f = from; f < end; ++f) {
        for (int c = 0; c < p.channels; ++c) sum += p.At(f, c) * p.At(f, c);
    }
    return std::sqrt(sum / std::max<double>(1.0, static_cast<double>((end - from) * static_cast<size_t>(p.channels))));
}

// Continuity at a splice: the jump across it (first and second differences) is compared with
// the largest jumps within `around` frames on both sides of it, measured in the same signal.
struct Seam {
    double step = 0, nearbyStep = 0, curve = 0, nearbyCurve = 0, levelBefore = 0, levelAfter = 0;
};
Seam MeasureSeam(const Pcm& joined, size_t at, size_t around, size_t levelAround) {
    Seam s;
    for (int c = 0; c < joined.channels; ++c) {
        for (size_t f = at - around; f < at + around; ++f) {
            const double d = std::fabs(joined.At(f, c) - joined.At(f - 1, c));
            const double d2 = std::fabs(joined.At(f + 1, c) - 2 * joined.At(f, c) + joined.At(f - 1, c));
            if (f == at) {
                s.step = std::max(s.step, d);
            } else {
                s.nearbyStep = std::max(s.nearbyStep, d);
            }
            if (f == at || f + 1 == at) {
                s.curve = std::max(s.curve, d2);
            } else {
                s.nearbyCurve = std::max(s.nearbyCurve, d2);
            }
        }
    }
    s.levelBefore = Rms(joined, at - levelAround, levelAround);
    s.levelAfter = Rms(joined, at, levelAround);
    return s;
}

// levelAround 0: the loudness may change (a track that ends and starts again).
void ExpectSeamless(const Pcm& joined, size_t at, size_t around, size_t levelAround, const std::string& what) {
    const Seam s = MeasureSeam(joined, at, around, std::max<size_t>(levelAround, 1));
    EXPECT_LE(s.step, s.nearbyStep) << what << ": jump across the loop seam";
    EXPECT_LE(s.curve, s.nearbyCurve) << what << ": kink at the loop seam";
    if (levelAround > 0 && (s.levelBefore > 1e-3 || s.levelAfter > 1e-3)) {
        const double db = 20 * std::log10((s.levelAfter + 1e-6) / (s.levelBefore + 1e-6));
        EXPECT_LT(std::fabs(db), 3.0) << what << ": loudness changes across the seam by " << db << " dB";
    }
}

std::string VoicePath(const std::string& name) { return testsupport::BuildDir() + "/wav/" + name; }

}  // namespace

TEST(SoundForgeAssets, EveryNameExistsWhereTheGameLooksForIt) {
    const PackedArchive& se = Packed(2);
    const PackedArchive& music = Packed(1);
    ASSERT_TRUE(se.error.empty()) << se.error;
    ASSERT_TRUE(music.error.empty()) << music.error;
    for (const char* name : kEffects) {
        ASSERT_TRUE(se.entries.count(name)) << name << " missing from data2";
        EXPECT_EQ(se.entries.at(name).file, 2) << name;
    }
    for (const TrackSpec& t : kTracks) {
        ASSERT_TRUE(music.entries.count(t.name)) << t.name << " missing from data1";
        EXPECT_EQ(music.entries.at(t.name).file, 1) << t.name;
    }
    for (const char* host : kHosts) {
        for (const char* word : kVoiceWords) {
            const std::string name = std::string(host) + "_" + word + ".wav";
            EXPECT_TRUE(std::filesystem::is_regular_file(VoicePath(name))) << name << " missing from wav/";
        }
    }
}

TEST(SoundForgeEffects, ParseAreCleanAndStayBelowMinusOneDb) {
    for (const char* name : kEffects) {
        SCOPED_TRACE(name);
        Pcm p;
        std::string why;
        ASSERT_TRUE(LoadWav(Packed(2).Get(name), p, why)) << why;
        const bool looped = std::find_if(std::begin(kLoopedEffects), std::end(kLoopedEffects),
                                         [&](const char* l) { return std::strcmp(l, name) == 0; }) != std::end(kLoopedEffects);
        ASSERT_GT(p.Frames(), 2000u);
        EXPECT_LT(Peak(p), kMinus1Db);
        EXPECT_GT(Peak(p), 0.1) << "nearly silent";
        double mean = 0;
        for (int16_t s : p.samples) mean += s / 32768.0;
        EXPECT_LT(std::fabs(mean / static_cast<double>(p.samples.size())), 0.005) << "DC offset";
        if (looped) {
            // The end runs into the start: splice two copies and look at the joint.
            Pcm twice = p;
            twice.samples.insert(twice.samples.end(), p.samples.begin(), p.samples.end());
            ExpectSeamless(twice, p.Frames(), 1000, std::min<size_t>(p.Frames() / 2, 22050), name);
        } else {
            // Starts from silence and rises over a few milliseconds; dies away to silence.
            double head = 0, tail = 0;
            for (int c = 0; c < p.channels; ++c) {
                EXPECT_LT(std::fabs(p.At(0, c)), 0.003) << "starts with a click";
                EXPECT_LT(std::fabs(p.At(p.Frames() - 1, c)), 0.003) << "ends with a click";
                for (size_t f = 0; f < 22; ++f) head = std::max(head, std::fabs(p.At(f, c)));
                for (size_t f = p.Frames() - 44; f < p.Frames(); ++f) tail = std::max(tail, std::fabs(p.At(f, c)));
            }
            EXPECT_LT(head, 0.08) << "the first half millisecond is already loud";
            EXPECT_LT(tail, 0.02) << "the last millisecond is still loud";
            EXPECT_LT(p.Frames(), 44100u * 3) << "an effect should be short";
        }
    }
}

TEST(SoundForgeVoices, ClipsParseAndEachHostHasItsOwnPitch) {
    std::map<std::string, double> pitch;
    for (const char* host : kHosts) {
        std::vector<double> estimates;
        for (const char* word : kVoiceWords) {
            const std::string name = std::string(host) + "_" + word + ".wav";
            SCOPED_TRACE(name);
            Pcm p;
            std::string why;
            ASSERT_TRUE(LoadWav(ReadAll(VoicePath(name)), p, why)) << why;
            ASSERT_EQ(p.channels, 1);
            EXPECT_GT(p.Frames(), 44100u / 4);
            EXPECT_LT(p.Frames(), 44100u * 4);
            EXPECT_LT(Peak(p), kMinus1Db);
            EXPECT_LT(std::fabs(p.At(0, 0)), 0.003);
            EXPECT_LT(std::fabs(p.At(p.Frames() - 1, 0)), 0.003);
            // Autocorrelation pitch of every clearly voiced 40 ms window, at half the sample rate.
            std::vector<double> x;
            for (size_t f = 0; f + 1 < p.Frames(); f += 2) x.push_back(0.5 * (p.At(f, 0) + p.At(f + 1, 0)));
            const size_t win = 882, maxLag = 22050 / 70;
            for (size_t at = 0; at + win + maxLag < x.size(); at += win / 2) {
                double energy = 0;
                for (size_t i = 0; i < win; ++i) energy += x[at + i] * x[at + i];
                if (std::sqrt(energy / win) < 0.05) continue;
                double best = 0;
                size_t bestLag = 0;
                for (size_t lag = 22050 / 600; lag < maxLag; ++lag) {
                    double r = 0;
                    for (size_t i = 0; i < win; ++i) r += x[at + i] * x[at + i + lag];
                    if (r / energy > best) {
                        best = r / energy;
                        bestLag = lag;
                    }
                }
                if (best > 0.5) estimates.push_back(22050.0 / static_cast<double>(bestLag));
            }
        }
        ASSERT_GT(estimates.size(), 10u) << host;
        std::nth_element(estimates.begin(), estimates.begin() + static_cast<long>(estimates.size() / 2), estimates.end());
        pitch[host] = estimates[estimates.size() / 2];
    }
    // From the deepest to the highest voice, each clearly apart (at least a semitone and a half).
    const char* order[] = {"Rosweth", "Quenvar", "Iblen", "Otsel", "Pemra"};
    for (int i = 0; i + 1 < 5; ++i) {
        EXPECT_GT(pitch[order[i + 1]], pitch[order[i]] * 1.09) << order[i] << " " << pitch[order[i]] << " Hz, " << order[i + 1]
                                                               << " " << pitch[order[i + 1]] << " Hz";
    }
}

TEST(SoundForgeMusic, TracksAreStereo44100WithTheExactLengths) {
    for (const TrackSpec& track : kTracks) {
        SCOPED_TRACE(track.name);
        const Track& t = Decoded(track.name);
        ASSERT_TRUE(t.opened);
        EXPECT_EQ(t.channels, 2);
        EXPECT_EQ(t.rate, 44100);
        EXPECT_EQ(static_cast<int64_t>(t.pcm.Frames()), t.total) << "declared and decoded length differ";
        if (std::strcmp(track.name, "bgm_game.ogg") == 0) {
            EXPECT_EQ(t.total, 8286519);
        } else if (track.trigger > 0) {
            EXPECT_GE(t.total, track.trigger);
        } else {
            // The credits open without a loop point of their own and inherit whichever a scene left
            // set; the smallest in use is 6,300,000, so a shorter track always plays through.
            EXPECT_LT(t.total, 6300000);
            EXPECT_GT(t.total, 44100 * 90);
        }
    }
}

TEST(SoundForgeMusic, NoClippingAndSimilarLoudness) {
    std::vector<double> levels;
    for (const TrackSpec& track : kTracks) {
        const Track& t = Decoded(track.name);
        ASSERT_TRUE(t.opened) << track.name;
        size_t clipped = 0;
        for (int16_t s : t.pcm.samples) clipped += (s >= 32767 || s <= -32768) ? 1 : 0;
        EXPECT_EQ(clipped, 0u) << track.name;
        EXPECT_LT(Peak(t.pcm), 0.97) << track.name;
        levels.push_back(20 * std::log10(Rms(t.pcm, 0, t.pcm.Frames())));
    }
    double mean = 0;
    for (double l : levels) mean += l / static_cast<double>(levels.size());
    for (size_t i = 0; i < levels.size(); ++i) {
        EXPECT_LT(std::fabs(levels[i] - mean), 2.5) << kTracks[i].name << " at " << levels[i] << " dBFS, mean " << mean;
        EXPECT_GT(levels[i], -28.0) << kTracks[i].name;
    }
    // Every track is music all the way: no silent stretch of two seconds anywhere before its end.
    for (const TrackSpec& track : kTracks) {
        const Track& t = Decoded(track.name);
        const size_t end = t.pcm.Frames() - 44100 * 6;
        for (size_t at = 44100 * 2; at < end; at += 44100) {
            EXPECT_GT(Rms(t.pcm, at, 88200), 0.005) << track.name << " silent near frame " << at;
        }
    }
}

// Streams each track through the game's decoder (DxSound::FillPcm) across its loop seam: loop
// point 0 jumps from early in the track to one second before the trigger, loop point 1 is the
// scene's own; the second of audio either side of the seam must join without a jump.
class SoundForgeSeams : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetDebugSink([](const std::string&) {});
        files_.fd[1] = open((testsupport::BuildDir() + "/data/data1.dat").c_str(), O_RDONLY);
        ASSERT_GE(files_.fd[1], 0);
        const PackedArchive& a = Packed(1);
        ASSERT_EQ(Archive(ArchiveId::Music).LoadListBytes(&files_, a.list.data(), a.list.size(), false), 0);
        platform::audio::InstallHeadlessDevice();
        ASSERT_EQ(DxSound::Instance().Init(), S_OK_RESULT);
        for (int i = 0; i < DxSound::kLoopPointCount; ++i) DxSound::Instance().SetBgmLoopPoint(i, 0, 0);
    }
    void TearDown() override {
        DxSound::Instance().Release();
        platform::audio::InstallDevice(nullptr);
        Archive(ArchiveId::Music).Clear();
        if (files_.fd[1] >= 0) close(files_.fd[1]);
        platform::SetDebugSink(nullptr);
    }
    DataFiles files_;
};

TEST_F(SoundForgeSeams, LoopSeamsAreContinuousThroughTheGameDecoder) {
    DxSound& snd = DxSound::Instance();
    for (const TrackSpec& track : kTracks) {
        SCOPED_TRACE(track.name);
        const Track& ref = Decoded(track.name);
        ASSERT_TRUE(ref.opened);
        const int64_t trigger = track.trigger > 0 ? track.trigger : ref.total;  // the end loops to 0
        constexpr int64_t kLead = 4410, kSide = 44100;
        snd.SetBgmLoopPoint(0, kLead, trigger - kSide);
        snd.SetBgmLoopPoint(1, track.trigger, track.target);
        ASSERT_EQ(snd.OpenBgm(track.name), S_OK_RESULT);
        Pcm got;
        got.channels = 2;
        got.samples.assign(static_cast<size_t>(kLead + 2 * kSide) * 2, 0);
        ASSERT_EQ(snd.FillPcm(reinterpret_cast<uint8_t*>(got.samples.data()), static_cast<uint32_t>(got.samples.size() * 2)),
                  got.samples.size() * 2);
        // The stretch after the seam is the track from the target on, as decoded linearly.
        const size_t after = static_cast<size_t>(kLead + kSide);
        const size_t target = static_cast<size_t>(track.target);
        int worst = 0;
        for (size_t i = 0; i < 2000; ++i) {
            worst = std::max(worst, std::abs(got.samples[(after + i) * 2] - ref.pcm.samples[(target + i) * 2]));
        }
        EXPECT_LE(worst, 2) << "the decoder did not continue at the loop target";
        // The credits fade out at their end and start again from silence: only continuity counts.
        ExpectSeamless(got, after, 2048, track.trigger > 0 ? kSide - 2 : 0, track.name);
        EXPECT_EQ(snd.CloseBgm(), S_OK_RESULT);
    }
}

TEST(SoundForgeMusic, MatchIntroRunsIntoTheLoopStartWithoutASeam) {
    // The first time through, the intro plays straight on into frame 307146; that junction
    // must be as smooth as the jump back to it.
    const Track& t = Decoded("bgm_game.ogg");
    ASSERT_TRUE(t.opened);
    ASSERT_GT(t.pcm.Frames(), 400000u);
    ExpectSeamless(t.pcm, 307146, 2048, 44100, "intro into loop start");
    // The intro starts from silence.
    EXPECT_LT(std::fabs(t.pcm.At(0, 0)) + std::fabs(t.pcm.At(0, 1)), 0.01);
}

TEST(SoundForgeDeterminism, SecondRunsGiveIdenticalFiles) {
    const std::string dir = testsupport::MakeTempDir();
    const std::vector<std::string> names = {"se_medal_move.wav", "menu_title.wav", "Iblen_lose3.wav", "Otsel_win.wav",
                                            "bgm_cg.ogg"};
    for (const auto& name : names) {
        const std::string cmd = std::string("\"") + SOUNDFORGE_EXE + "\" --music \"" + dir + "/m\" --se \"" + dir + "/s\" --wav \"" +
                                dir + "/w\" --only " + name + " > /dev/null";
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    }
    EXPECT_EQ(ReadAll(dir + "/s/se_medal_move.wav"), Packed(2).Get("se_medal_move.wav"));
    EXPECT_EQ(ReadAll(dir + "/s/menu_title.wav"), Packed(2).Get("menu_title.wav"));
    EXPECT_EQ(ReadAll(dir + "/w/Iblen_lose3.wav"), ReadAll(VoicePath("Iblen_lose3.wav")));
    EXPECT_EQ(ReadAll(dir + "/w/Otsel_win.wav"), ReadAll(VoicePath("Otsel_win.wav")));
    EXPECT_EQ(ReadAll(dir + "/m/bgm_cg.ogg"), Packed(1).Get("bgm_cg.ogg"));
    // Only the asked-for files were made.
    size_t count = 0;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir)) count += e.is_regular_file() ? 1 : 0;
    EXPECT_EQ(count, names.size());
}

TEST(SoundForgeCommandLine, RefusesBadArgumentsAndClearsHalfWrittenFiles) {
    const std::string dir = testsupport::MakeTempDir();
    const std::string base = std::string("\"") + SOUNDFORGE_EXE + "\" --music \"" + dir + "\" --se \"" + dir + "\" --wav \"" + dir + "\"";
    EXPECT_NE(std::system((base + " --only no_such.wav 2> /dev/null").c_str()), 0);
    EXPECT_NE(std::system((std::string("\"") + SOUNDFORGE_EXE + "\" --music 2> /dev/null").c_str()), 0);
    EXPECT_NE(std::system((base + " --bogus 1 2> /dev/null").c_str()), 0);
    // A file left half-written by a killed run would be packed; the next run removes it.
    std::ofstream(dir + "/se_hold.wav.tmp") << "partial";
    ASSERT_EQ(std::system((base + " --only se_hold.wav > /dev/null").c_str()), 0);
    EXPECT_FALSE(std::filesystem::exists(dir + "/se_hold.wav.tmp"));
    Pcm p;
    std::string why;
    EXPECT_TRUE(LoadWav(ReadAll(dir + "/se_hold.wav"), p, why)) << why;
}
