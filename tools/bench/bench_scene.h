#pragma once
#include "app/game.h"

#include <cstddef>

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
