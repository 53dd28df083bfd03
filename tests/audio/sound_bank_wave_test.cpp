// These tests listen to what the sound bank really plays: OpenAL Soft's wave driver writes the mixed
// stereo output to a file. It reads its configuration once per process: this is its own executable.
// SFML 3 plays through miniaudio, whose null output keeps no mix: there the tests check what the
// bank asks of the device, and leave the listening to SFML 2.
#include "audio/sound_bank.h"
#include "support.h"

#include <cstdlib>
#include <cstring>
#include <fstream>

namespace {
std::string mix_directory;

// Set before the first OpenAL call of the process.
const bool wave_driver_chosen = [] {
    char name_template[] = "/tmp/tarvex-wave-XXXXXX";
    if (!mkdtemp(name_template)) return false;
    mix_directory = name_template;
    std::ofstream(mix_directory + "/alsoft.conf") << "[general]\nchannels=stereo\nsample-type=int16\n"
                                                     "frequency=44100\nhrtf=false\ndither=false\n[wave]\nfile="
                                                  << mix_directory << "/mix.wav\n";
    setenv("ALSOFT_DRIVERS", "wave", 1);
    setenv("ALSOFT_CONF", (mix_directory + "/alsoft.conf").c_str(), 1);
    std::atexit([] { (void)std::system(("rm -rf '" + mix_directory + "'").c_str()); });
    return true;
}();

// The game's sound files copied into the working directory, less the missing ones.
void copyMedia(const std::string& missing = "") {
    ASSERT_EQ(runCommand("cp '" TARVEX_RUN_DIR "'/*.wav '" TARVEX_RUN_DIR "'/press.ogg . && rm -f " + missing), 0);
}

void wait(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

// The stereo 16-bit mix of the last audio device, readable once every sound object is gone.
struct Mix {
    std::vector<std::int16_t> samples;  // left, right, left, ...

    Mix() {
        std::string bytes = fileContents(mix_directory + "/mix.wav");
        size_t data = bytes.find("data", 12);  // the samples run from this chunk to the end
        if (data == std::string::npos || data + 8 > bytes.size()) return;
        samples.resize((bytes.size() - data - 8) / 2);
        std::memcpy(samples.data(), &bytes[data + 8], samples.size() * 2);
    }
    // Time in seconds of the first sound at or after a time (the end when all is silent).
    double onset(double after) const {
        for (size_t i = size_t(after * 44100) * 2; i < samples.size(); ++i)
            if (samples[i] != 0) return double(i / 2) / 44100;
        return double(samples.size() / 2) / 44100;
    }
    // Root mean square of one channel (0 left, 1 right) between two times in seconds.
    double loudness(int channel, double from, double to) const {
        size_t first = size_t(from * 44100) * 2 + size_t(channel);
        size_t last = std::min(samples.size(), size_t(to * 44100) * 2);
        double sum = 0, count = 0;
        for (size_t i = first; i < last; i += 2, ++count) sum += double(samples[i]) * samples[i];
        return count ? std::sqrt(sum / count) : 0;
    }
};

// A sound bank loaded from the game's media copied into a fresh directory, less some files.
struct LoadedBank {
    TempDir dir;
    SoundBank bank;
    std::string log;
    explicit LoadedBank(const std::string& missing = "") {
        copyMedia(missing);
        setUpListener();
        log = stdoutOf([&] { loadSounds(bank); });
    }
};
}  // namespace

TEST(SoundHeard, AnEventAtTheLeftEdgeIsHeardOnTheLeftOneInTheMiddleBalanced) {
    if (!kSoundThroughOpenAl) GTEST_SKIP() << "no mix to listen to without OpenAL Soft";
    ASSERT_TRUE(wave_driver_chosen);
    {
        LoadedBank loaded;
        EXPECT_EQ(loaded.log, "=== Loading Sound Files ===\n✅ All sounds loaded successfully!\n");
        playCannonFire(loaded.bank, 0, 1280);
        wait(0.6);
        playDeath(loaded.bank, 640, 1280);
        wait(0.6);
    }
    Mix mix;
    // The cannon fire lasts under 0.5 s; the death starts at least 0.6 s after it.
    double first = mix.onset(0), second = mix.onset(first + 0.55);
    double left = mix.loudness(0, first, first + 0.4), right = mix.loudness(1, first, first + 0.4);
    EXPECT_TRUE(left > 20 && left > 4 * right) << left << " against " << right;
    left = mix.loudness(0, second, second + 0.5);
    right = mix.loudness(1, second, second + 0.5);
    EXPECT_TRUE(left > 200 && std::abs(left / right - 1.0) <= 0.05) << left << " against " << right;
}

// Both volumes at 0 on the settings screen: the music and every effect play, and nothing is heard.
TEST(SoundHeard, VolumesAtZeroAreSilent) {
    if (!kSoundThroughOpenAl) GTEST_SKIP() << "no mix to listen to without OpenAL Soft";
    {
        LoadedBank loaded;
        setVolumes(loaded.bank, 0, 0);
        playBgm(loaded.bank);
        playCannonFire(loaded.bank, 640, 1280);
        playDeath(loaded.bank, 640, 1280);
        ASSERT_TRUE(loaded.bank.bgm_playing);
        wait(0.6);
    }
    Mix mix;
    ASSERT_GT(mix.samples.size(), 44100u);  // the device did play, for more than half a second
    EXPECT_EQ(mix.loudness(0, 0, 0.6) + mix.loudness(1, 0, 0.6), 0);
}

// Past three voices a cannon fire takes the place of the oldest voice only, panned by where
// it happens. A crowded battle starts far more sounds than the audio device has voices for;
// the bank must never ask for more, or new sounds fail and the music's stream goes with them.
TEST(SoundVoices, TheOldestGiveWayEachIsPannedByItsPlaceAndABattleNeverOutnumbersTheDevice) {
    LoadedBank loaded;
    SoundBank& bank = loaded.bank;
    for (int i = 0; i < 3; ++i) playDeath(bank, 100.0f * float(i), 1280);
    playExplosion(bank, 500, 1280);
    playExplosion(bank, 600, 1280);
    std::vector<const sf::Sound*> before;
    for (const auto& voice : bank.voices) before.push_back(voice.get());
    ASSERT_EQ(before.size(), 5u);
    playCannonFire(bank, 2 * 1280, 1280);  // far right of the window: fully right
    ASSERT_EQ(bank.voices.size(), 5u);
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(bank.voices[i].get(), before[i + 1]);
    const sf::Sound& right = *bank.voices[4];
    EXPECT_EQ(bufferOf(right), &bank.cannon_fire);
    EXPECT_EQ(right.getPosition(), sf::Vector3f(10, 0, 0));
    EXPECT_GE(right.getVolume(), 60 * 0.85f * 0.5f - 1e-3f);  // centre weight 0.5
    EXPECT_LT(right.getVolume(), 60 * 0.5f);
    playCannonFire(bank, 0, 1280);
    EXPECT_EQ(bank.voices.back()->getPosition(), sf::Vector3f(-10, 0, 0));

    playBgm(bank);
    testing::internal::CaptureStderr();
    for (int i = 0; i < 400; ++i) playExplosion(bank, float(i % 1280), 1280);
    playDeath(bank, 640, 1280);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_LE(bank.voices.size(), 128u);
    EXPECT_EQ(bufferOf(*bank.voices.back()), &bank.dead);
    EXPECT_EQ(bank.voices.back()->getStatus(), sf::SoundSource::Status::Playing);
    wait(0.3);
    EXPECT_EQ(bank.bgm.getStatus(), sf::SoundSource::Status::Playing);
}

TEST(SoundHeard, AMissingEffectSilencesEffectsWhileTheMusicPlaysOnceItsFileAppears) {
    {
        LoadedBank loaded("rocket.wav bgm.wav");
        SoundBank& bank = loaded.bank;
        EXPECT_NE(loaded.log.find("❌ Failed to load some sounds!\n"), std::string::npos);
        playCannonFire(bank, 640, 1280);
        playDeath(bank, 640, 1280);
        playClick(bank);
        EXPECT_TRUE(bank.voices.empty());
        testing::internal::CaptureStderr();
        for (int frame = 0; frame < 3; ++frame) playBgm(bank);  // every frame of a match, and not a word
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(bank.bgm_opened, 0);
        wait(0.5);
        copyMedia();
        playBgm(bank);  // tried again
        EXPECT_TRUE(bank.bgm_playing && isMusicLooping(bank.bgm));
        EXPECT_EQ(bank.bgm.getVolume(), 500);
        wait(0.5);
        playBgm(bank);  // while it plays: no restart from the beginning
        EXPECT_GE(bank.bgm.getPlayingOffset().asSeconds(), 0.4f);
        wait(0.5);
    }
    if (!kSoundThroughOpenAl) return;
    Mix mix;
    double music = mix.onset(0);
    EXPECT_GE(music, 0.4);  // silent until the music, 0.5 s after the effects were asked for
    EXPECT_GT(mix.loudness(0, music, music + 0.6), 300);
}
