#pragma once
#include <SFML/Audio/Music.hpp>
#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

// Six short effects, fire-and-forget, panned by the event's x; and the looping music.
struct SoundBank {
    std::uint8_t sounds_loaded = 0;  // all six buffers loaded; effects are silent while clear
    std::uint8_t bgm_opened = 0;
    std::uint8_t bgm_playing = 0;    // cleared by whoever stops the music
    bool music_on = true;            // M turns the music off for the rest of the run
    float music_volume = 1.0f;       // config.json's 0..100 as a factor of the music's own loudness
    float effects_volume = 1.0f;     // the same for every effect
    sf::SoundBuffer rocket;
    sf::SoundBuffer dead;
    sf::SoundBuffer press;
    sf::SoundBuffer create;
    sf::SoundBuffer cannon_fire;
    sf::SoundBuffer explosion;
    sf::Music bgm;
    std::vector<std::unique_ptr<sf::Sound>> voices;  // started and not yet found finished, oldest first
    std::mt19937 rng;
    std::uniform_real_distribution<float> pitch_range{0.92f, 1.08f};
    std::uniform_real_distribution<float> volume_range{0.85f, 1.0f};
};

// Sets the listener as the game expects it: at the origin, facing +y, full volume.
void setUpListener();
// Loads the six effects and reads the two volumes from config.json.
void loadSounds(SoundBank& bank);
void playCannonFire(SoundBank& bank, float x, float width);
void playRocket(SoundBank& bank, float x, float width);
void playExplosion(SoundBank& bank, float x, float width);
void playDeath(SoundBank& bank, float x, float width);
void playSpawn(SoundBank& bank, float x, float width);
void playClick(SoundBank& bank);
void playBgm(SoundBank& bank);
void stopBgm(SoundBank& bank);
// Turns the music off (stopping it) or back on (it starts again where the match plays it).
void toggleMusic(SoundBank& bank);
// The volumes the player set, 0..100 each; music already playing follows at once.
void setVolumes(SoundBank& bank, int music, int effects);
void dropFinished(SoundBank& bank);
