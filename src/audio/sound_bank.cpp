#include "audio/sound_bank.h"
#include "app/log.h"
#include "app/sfml_compat.h"
#include "content/config.h"
#include "content/files.h"

#include <SFML/Audio/Listener.hpp>
#include <algorithm>
#include <cmath>

namespace {
// How one effect is voiced; see playEffect.
struct EffectVoice {
    bool capped;          // counts against the voice cap of the frequent effects
    bool positioned;      // panned by the event's x (the click is not)
    float volume_factor;
    bool volume_drawn;    // the factor is multiplied by a volume draw
    bool centre_weighted; // and by the centre weight c
    float pitch_factor;   // times a pitch draw
};

const EffectVoice kCannonFire{true, true, 60, true, true, 1.0f};
const EffectVoice kRocket{false, true, 300, true, true, 0.9f};
const EffectVoice kExplosion{false, true, 500, false, false, 0.8f};
const EffectVoice kDeath{false, true, 1000, true, true, 0.9f};
const EffectVoice kClick{true, false, 200, true, false, 1.2f};
const EffectVoice kSpawn{true, true, 5000, true, true, 0.95f};

constexpr size_t kVoiceCap = 3;
// The audio device has a fixed number of voices (OpenAL Soft: 256, the music's stream
// among them). A crowded battle starts more rockets, explosions and deaths than that;
// past it new sounds fail, flood standard error and can take the music's stream with
// them, so the oldest voice gives way to the newest well before the device runs out.
constexpr size_t kVoiceLimit = 128;

void evictOldest(SoundBank& bank) {
    bank.voices.front()->stop();
    bank.voices.erase(bank.voices.begin());
}

// p in [-1, 1] from the event's x across the window's width.
float panOf(float x, float width) {
    if (!(width > 0)) return 0;
    float half = width / 2;
    float p = (x - half) / half;
    return p != p ? 0 : std::clamp(p, -1.0f, 1.0f);
}

void playEffect(SoundBank& bank, const sf::SoundBuffer& buffer, const EffectVoice& effect, float x, float width) {
    if (!bank.sounds_loaded) return;
    dropFinished(bank);
    if (effect.capped && bank.voices.size() >= kVoiceCap) evictOldest(bank);
    if (bank.voices.size() >= kVoiceLimit) evictOldest(bank);
    float p = effect.positioned ? panOf(x, width) : 0;
    float centre_weight = std::max(1 - std::abs(p), 0.5f);

    bank.voices.push_back(std::make_unique<sf::Sound>(buffer));
    sf::Sound& sound = *bank.voices.back();
    sound.setPosition({p * 10, 0, 0});
    sound.setMinDistance(0.5f);
    sound.setAttenuation(2.0f);
    float volume = effect.volume_factor;
    if (effect.volume_drawn) volume = bank.volume_range(bank.rng) * volume;
    if (effect.centre_weighted) volume *= centre_weight;
    volume *= bank.effects_volume;
    float pitch = bank.pitch_range(bank.rng) * effect.pitch_factor;
    sound.setVolume(volume);
    sound.setPitch(pitch);
    sound.play();
}

// A volume of 0..100 from config.json as a factor; 100, the default, is the game's own loudness.
float volumeFactor(const char* path) {
    return float(std::clamp(Config::instance().getInt(path, 100), 0, 100)) / 100.0f;
}
}  // namespace

void setUpListener() {
    sf::Listener::setPosition({0, 0, 0});
    sf::Listener::setDirection({0, 1, 0});
    // The up vector must not be parallel to the facing, or OpenAL cannot tell left from
    // right: every effect would sound centred and unattenuated. With +z up, +x is the
    // listener's right, so an event on the left of the window is heard on the left.
    sf::Listener::setUpVector({0, 0, 1});
    sf::Listener::setGlobalVolume(100);
}

void loadSounds(SoundBank& bank) {
    bank.music_volume = volumeFactor("/audio/music_volume");
    bank.effects_volume = volumeFactor("/audio/effects_volume");
    logLine("=== Loading Sound Files ===");
    struct Named {
        sf::SoundBuffer& buffer;
        const char* file;
    };
    Named files[] = {{bank.cannon_fire, "cannon_fire.wav"}, {bank.rocket, "rocket.wav"},
                     {bank.explosion, "explosion.wav"},     {bank.dead, "dead.wav"},
                     {bank.press, "press.ogg"},             {bank.create, "create.wav"}};
    bool all_loaded = true;
    for (Named& named : files)  // every file is tried, also after a failure
        all_loaded = named.buffer.loadFromFile(findDataFile(named.file)) && all_loaded;
    bank.sounds_loaded = all_loaded ? 1 : 0;
    logLine(all_loaded ? "✅ All sounds loaded successfully!" : "❌ Failed to load some sounds!");
}

void playCannonFire(SoundBank& bank, float x, float width) { playEffect(bank, bank.cannon_fire, kCannonFire, x, width); }

void playRocket(SoundBank& bank, float x, float width) { playEffect(bank, bank.rocket, kRocket, x, width); }

void playExplosion(SoundBank& bank, float x, float width) { playEffect(bank, bank.explosion, kExplosion, x, width); }

void playDeath(SoundBank& bank, float x, float width) { playEffect(bank, bank.dead, kDeath, x, width); }

void playSpawn(SoundBank& bank, float x, float width) { playEffect(bank, bank.create, kSpawn, x, width); }

void playClick(SoundBank& bank) { playEffect(bank, bank.press, kClick, 0, 0); }

// A missing music file is tried again on the next call, silently: the match calls this
// every frame, and SFML would report each failed open on standard error.
void playBgm(SoundBank& bank) {
    if (bank.bgm_playing || !bank.music_on) return;
    if (bank.bgm_opened) {
        bank.bgm.play();
        bank.bgm_playing = 1;
        return;
    }
    std::string path = findDataFile("bgm.wav");
    if (!isReadable(path) || !bank.bgm.openFromFile(path)) return;
    setMusicLooping(bank.bgm, true);
    bank.bgm.setVolume(500 * bank.music_volume);
    bank.bgm.play();
    bank.bgm_opened = 1;
    bank.bgm_playing = 1;
}

void stopBgm(SoundBank& bank) {
    bank.bgm.stop();
    bank.bgm_playing = 0;
}

void setVolumes(SoundBank& bank, int music, int effects) {
    bank.music_volume = float(std::clamp(music, 0, 100)) / 100.0f;
    bank.effects_volume = float(std::clamp(effects, 0, 100)) / 100.0f;
    if (bank.bgm_opened) bank.bgm.setVolume(500 * bank.music_volume);
}

void toggleMusic(SoundBank& bank) {
    bank.music_on = !bank.music_on;
    if (!bank.music_on && bank.bgm_playing) stopBgm(bank);
    logLine(bank.music_on ? "Music on" : "Music off");
}

void dropFinished(SoundBank& bank) {
    auto finished = [](const std::unique_ptr<sf::Sound>& voice) { return voice->getStatus() == sf::SoundSource::Status::Stopped; };
    bank.voices.erase(std::remove_if(bank.voices.begin(), bank.voices.end(), finished), bank.voices.end());
}
