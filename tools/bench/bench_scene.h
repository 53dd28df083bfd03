#pragma once
#include "app/clock.h"
#include "app/game.h"

#include <cstddef>
#include <random>

// A snapshot of a crowded match under fire, restored before every measured frame so
// that each frame draws the same work.
struct BenchScene {
    std::vector<Turret> player_turrets;
    std::vector<Turret> enemy_turrets;
    std::vector<Projectile> projectiles;
    std::vector<LaserBeam> laser_beams;
    std::vector<EffectParticle> particles;
    std::vector<MuzzleFlash> muzzle_flashes;
    std::vector<Explosion> explosions;
    std::vector<TrackMark> track_marks;
    std::vector<UnitId> selection;
};

// The same scene for the same arguments: units_per_side units a side, shells and rockets
// with their smoke, laser beams, and the sparks, flashes, explosions and tracks of the fire.
BenchScene buildBenchScene(Game& game, int units_per_side, int shells, int rockets);
// Puts the scene into the game's match state.
void restoreBenchScene(Game& game, const BenchScene& scene);
std::size_t smokePuffCount(const BenchScene& scene);

// A player who sends a unit down a random lane whenever the money allows it, at most
// one every quarter second; seeded, so every run plays the same match.
struct ScriptedPlayer {
    std::mt19937 rng{20240611u};
    float next_spawn = 0;     // seconds of game time until it may send the next unit
};

// Level 10 as a player meets it: the last level card clicked with Red against the level's
// enemy, then `seconds` of game time stepped through the game's own update at `dt`
// while the scripted player plays. Every random source is seeded.
void playMatchScene(Game& game, ManualClockSource& clock, ScriptedPlayer& player, float seconds, float dt);
// One frame of the scripted player's play, before the frame update.
void stepScriptedPlayer(Game& game, ScriptedPlayer& player, float dt);
