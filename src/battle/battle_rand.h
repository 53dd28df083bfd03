#pragma once
#include <array>
#include <cstdint>

// The battle's shared random sequence (enemy faction, handshake, recoil, rockets, waves,
// debris). It draws exactly the numbers the GNU C library's rand() draws for the same
// seed, on every platform: a replay recorded on Linux plays the same battle on Windows,
// whose own rand() is another generator with a smaller range.
constexpr int kBattleRandMax = 2147483647;

struct BattleRandState {
    std::array<std::int32_t, 31> table{};
    int front = 3, rear = 0;  // the two taps of the additive feedback
};

void seedBattleRand(unsigned seed);
int battleRand();  // 0 to kBattleRandMax

// The whole sequence as it stands, so a replay can start a match exactly where it began.
BattleRandState battleRandState();
void restoreBattleRand(const BattleRandState& state);
