#include "audio/sound_bank.h"

#include <SFML/Audio/Listener.hpp>

void setUpListener() {
    sf::Listener::setPosition(0, 0, 0);
    sf::Listener::setDirection(0, 1, 0);
    sf::Listener::setUpVector(0, 1, 0);
    sf::Listener::setGlobalVolume(100);
}

void loadSounds(SoundBank& bank) { (void)bank; }

void playCannonFire(SoundBank& bank, float x, float width) {
    (void)bank;
    (void)x;
    (void)width;
}

void playRocket(SoundBank& bank, float x, float width) {
    (void)bank;
    (void)x;
    (void)width;
}

void playExplosion(SoundBank& bank, float x, float width) {
    (void)bank;
    (void)x;
    (void)width;
}

void playDeath(SoundBank& bank, float x, float width) {
    (void)bank;
    (void)x;
    (void)width;
}

void playSpawn(SoundBank& bank, float x, float width) {
    (void)bank;
    (void)x;
    (void)width;
}

void playClick(SoundBank& bank) { (void)bank; }

void playBgm(SoundBank& bank) { (void)bank; }

void stopBgm(SoundBank& bank) {
    bank.bgm.stop();
    bank.bgm_playing = 0;
}

void dropFinished(SoundBank& bank) { (void)bank; }
