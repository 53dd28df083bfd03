#include "battle/battle_rand.h"

namespace {
BattleRandState state;
bool seeded = false;

int draw(BattleRandState& s) {
    auto value = std::uint32_t(s.table[std::size_t(s.front)]) + std::uint32_t(s.table[std::size_t(s.rear)]);
    s.table[std::size_t(s.front)] = std::int32_t(value);
    s.front = (s.front + 1) % 31;
    s.rear = (s.rear + 1) % 31;
    return int(value >> 1);
}
}  // namespace

void seedBattleRand(unsigned seed) {
    if (seed == 0) seed = 1;
    state = BattleRandState{};
    state.table[0] = std::int32_t(seed);
    // Park and Miller's minimal standard generator fills the table, as the C library does.
    std::int64_t word = std::int32_t(seed);  // a seed past 2^31 counts as negative, as there
    for (std::size_t i = 1; i < state.table.size(); ++i) {
        std::int64_t high = word / 127773, low = word % 127773;
        word = 16807 * low - 2836 * high;
        if (word < 0) word += 2147483647;
        state.table[i] = std::int32_t(word);
    }
    for (int i = 0; i < 310; ++i) draw(state);  // the first values are too alike
    seeded = true;
}

int battleRand() {
    if (!seeded) seedBattleRand(1);  // as rand() before any srand()
    return draw(state);
}

BattleRandState battleRandState() {
    if (!seeded) seedBattleRand(1);
    return state;
}

void restoreBattleRand(const BattleRandState& restored) {
    state = restored;
    seeded = true;
}
