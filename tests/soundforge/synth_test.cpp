// The synthesiser's building blocks on their own: the two file writers, the chart and pitch
// parsers, the bar check of written melodies and the seamless loop rendering.
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "audio_io.h"
#include "composer.h"
#include "effects.h"
#include "test_support.h"

namespace {

sf::Stereo Sine(size_t frames, double hz, double amp) {
    sf::Stereo s(frames);
    for (size_t i = 0; i < frames; ++i) {
        s.l[i] = static_cast<float>(amp * std::sin(sf::kTwoPi * hz * static_cast<double>(i) / sf::kRate));
        s.r[i] = static_cast<float>(0.5 * s.l[i]);
    }
    return s;
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t Le16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

}  // namespace

TEST(SoundForgeWriters, OggDecodesToExactlyTheFramesGiven) {
    const std::string dir = testsupport::MakeTempDir();
    for (size_t frames : {size_t{1}, size_t{100}, size_t{4096}, size_t{4097}, size_t{44107}}) {
        SCOPED_TRACE(frames);
        const sf::Stereo src = Sine(frames, 440.0, 0.5);
        const std::string path = dir + "/t.ogg";
        ASSERT_TRUE(sf::WriteOgg(path, src, 0.35f, 7));
        OggVorbis_File vf;
        ASSERT_EQ(ov_fopen(path.c_str(), &vf), 0);
        EXPECT_EQ(ov_info(&vf, -1)->channels, 2);
        EXPECT_EQ(ov_info(&vf, -1)->rate, 44100);
        EXPECT_EQ(ov_pcm_total(&vf, -1), static_cast<ogg_int64_t>(frames));
        std::vector<float> left;
        for (;;) {
            float** pcm = nullptr;
            int section = 0;
            const long got = ov_read_float(&vf, &pcm, 1024, &section);
            if (got <= 0) break;
            left.insert(left.end(), pcm[0], pcm[0] + got);
        }
        ov_clear(&vf);
        ASSERT_EQ(left.size(), frames);
        if (frames >= 4096) {
            // Same signal at the same place (lossy, so compared by error energy).
            double err = 0, sig = 0;
            for (size_t i = 0; i < frames; ++i) {
                err += (left[i] - src.l[i]) * (left[i] - src.l[i]);
                sig += src.l[i] * src.l[i];
            }
            EXPECT_LT(err / sig, 0.01);
        }
    }
}

TEST(SoundForgeWriters, WavHasExactlyTheLayoutTheGameReads) {
    const std::vector<float> mono = {0.0f, 0.5f, -0.5f, 1.5f, -1.5f};
    const std::vector<uint8_t> m = sf::WavBytes(1, mono.data(), nullptr, mono.size());
    ASSERT_EQ(m.size(), 44u + 10u);
    EXPECT_EQ(std::string(m.begin(), m.begin() + 4), "RIFF");
    EXPECT_EQ(Le32(m, 4), m.size() - 8);
    EXPECT_EQ(std::string(m.begin() + 8, m.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(Le32(m, 16), 16u);
    EXPECT_EQ(Le16(m, 20), 1);      // PCM
    EXPECT_EQ(Le16(m, 22), 1);      // channels
    EXPECT_EQ(Le32(m, 24), 44100u);
    EXPECT_EQ(Le32(m, 28), 88200u);
    EXPECT_EQ(Le16(m, 32), 2);
    EXPECT_EQ(Le16(m, 34), 16);
    EXPECT_EQ(std::string(m.begin() + 36, m.begin() + 40), "data");
    EXPECT_EQ(Le32(m, 40), 10u);
    EXPECT_EQ(static_cast<int16_t>(Le16(m, 46)), 16384);
    EXPECT_EQ(static_cast<int16_t>(Le16(m, 48)), -16384);
    EXPECT_EQ(static_cast<int16_t>(Le16(m, 50)), 32767);   // out of range is clamped, not wrapped
    EXPECT_EQ(static_cast<int16_t>(Le16(m, 52)), -32767);

    const std::vector<float> l = {0.25f, 0.0f}, r = {-0.25f, 1.0f};
    const std::vector<uint8_t> s = sf::WavBytes(2, l.data(), r.data(), 2);
    ASSERT_EQ(s.size(), 44u + 8u);
    EXPECT_EQ(Le16(s, 22), 2);
    EXPECT_EQ(Le32(s, 28), 176400u);
    EXPECT_EQ(Le16(s, 32), 4);
    EXPECT_EQ(static_cast<int16_t>(Le16(s, 44)), 8192);   // left, right interleaved
    EXPECT_EQ(static_cast<int16_t>(Le16(s, 46)), -8192);
    EXPECT_EQ(static_cast<int16_t>(Le16(s, 50)), 32767);
}

TEST(SoundForgeCharts, PitchesAndChordsParseOrRefuse) {
    int p = 0;
    EXPECT_TRUE(sf::ParsePitch("C4", p));
    EXPECT_EQ(p, 60);
    EXPECT_TRUE(sf::ParsePitch("A4", p));
    EXPECT_EQ(p, 69);
    EXPECT_TRUE(sf::ParsePitch("Bb3", p));
    EXPECT_EQ(p, 58);
    EXPECT_TRUE(sf::ParsePitch("F#5", p));
    EXPECT_EQ(p, 78);
    EXPECT_TRUE(sf::ParsePitch("Cb5", p));  // the B below
    EXPECT_EQ(p, 71);
    for (const char* bad : {"", "H4", "C", "C4x", "r", "c4"}) EXPECT_FALSE(sf::ParsePitch(bad, p)) << bad;

    sf::Chord c;
    ASSERT_TRUE(sf::ParseChord("Em7b5", c));
    EXPECT_EQ(c.root, 4);
    EXPECT_EQ(sf::ChordTones(c), (std::vector<int>{0, 3, 6, 10}));
    ASSERT_TRUE(sf::ParseChord("Bb7sus", c));
    EXPECT_EQ(c.root, 10);
    EXPECT_EQ(sf::ChordTones(c), (std::vector<int>{0, 5, 7, 10}));
    ASSERT_TRUE(sf::ParseChord("Cb6", c));
    EXPECT_EQ(c.root, 11);
    for (const char* bad : {"", "Xm7", "Cmaj13", "m7", "C#m7x"}) EXPECT_FALSE(sf::ParseChord(bad, c)) << bad;
}

TEST(SoundForgeCharts, MelodyBarsMustAddUp) {
    sf::Composer c(10000.0, 0, sf::Feel::Straight, 1);
    c.Chart("Cmaj7 | G7 |");
    c.Melody(sf::Inst::Vibes, 0, "C5:1 E5:1 G5:2 | B4:4", 0, 0.5f, 0.0f);
    EXPECT_EQ(c.Notes().size(), 4u);
    EXPECT_DEATH(c.Melody(sf::Inst::Vibes, 0, "C5:1 E5:1 | G5:2", 0, 0.5f, 0.0f), "does not add up");
    EXPECT_DEATH(c.Melody(sf::Inst::Vibes, 0, "C5:3.5", 0, 0.5f, 0.0f), "does not add up");
    EXPECT_DEATH(c.Chart("Cmaj7 | Q7 |"), "bad chord");
}

TEST(SoundForgeLoops, RenderedLoopJoinsItsEndToItsStart) {
    // Four bars of held chords and bass whose notes ring over the loop's end; rendered with the
    // continuation past the trigger, the file's last frame runs into its first one.
    const int64_t length = 4 * 44100;
    sf::Composer c(static_cast<double>(length) / 16.0, 0, sf::Feel::Straight, 3);
    c.Chart("Cmaj7 | Am7 | Dm7 | G7 |");
    c.CompBallad(0, 4, 0.6f, true);
    c.BassTwo(0, 4, 0.8f);
    c.Melody(sf::Inst::Clarinet, 0, "E5:4 | C5:4 | D5:2 F5:2 | G5:4", 0, 0.7f, 0.0f);
    auto notes = c.Notes();
    sf::ExtendPastLoop(notes, 0, length, sf::Secs(8.0));
    sf::TrackPlan plan;
    plan.totalFrames = length;
    plan.loopStart = 0;
    plan.loopEnd = length;
    const sf::Stereo out = sf::RenderTrack(notes, plan);
    ASSERT_EQ(out.Size(), static_cast<size_t>(length));
    double nearby = 0;
    for (size_t i = 1; i < 2000; ++i) {
        nearby = std::max(nearby, static_cast<double>(std::fabs(out.l[i] - out.l[i - 1])));
        nearby = std::max(nearby, static_cast<double>(std::fabs(out.l[out.Size() - i] - out.l[out.Size() - i - 1])));
    }
    EXPECT_GT(std::fabs(out.l.back()), 0.01) << "the loop's end should still ring";
    EXPECT_LE(std::fabs(out.l.front() - out.l.back()), nearby);
    EXPECT_LE(std::fabs(out.r.front() - out.r.back()), nearby);
    // Rendering is repeatable to the bit.
    auto again = c.Notes();
    sf::ExtendPastLoop(again, 0, length, sf::Secs(8.0));
    const sf::Stereo out2 = sf::RenderTrack(again, plan);
    EXPECT_EQ(out.l, out2.l);
    EXPECT_EQ(out.r, out2.r);
}

TEST(SoundForgeLoops, LoopedEffectsWrapAndNamesAreUnique) {
    for (const auto& e : sf::EffectList()) {
        if (!e.loop) continue;
        const std::vector<float> x = sf::RenderEffect(e.name);
        ASSERT_GT(x.size(), 1000u) << e.name;
        double nearby = 0;
        for (size_t i = 1; i < 1000; ++i) nearby = std::max(nearby, static_cast<double>(std::fabs(x[i] - x[i - 1])));
        EXPECT_LE(std::fabs(x.front() - x.back()), nearby) << e.name;
    }
    EXPECT_TRUE(sf::RenderEffect("no_such.wav").empty());
    EXPECT_TRUE(sf::RenderVoice("Pemra_dance.wav").empty());
    const auto voices = sf::VoiceList();
    EXPECT_EQ(voices.size(), 40u);
    EXPECT_EQ(std::set<std::string>(voices.begin(), voices.end()).size(), voices.size());
}
