#include "app/update.h"
#include "app/commands.h"
#include "app/display.h"
#include "app/frontend.h"
#include "app/game.h"
#include "app/log.h"
#include "app/pause.h"
#include "app/rejoin.h"
#include "app/replay_record.h"
#include "battle/combat.h"
#include "battle/hits.h"
#include "battle/match.h"
#include "content/factions.h"
#include "content/waves.h"
#include "net/join.h"
#include "net/protocol.h"
#include "net/snapshot.h"

#include <algorithm>
#include <cmath>

namespace {
void runMusic(Game& game) {
    if (!game.frontend) return;
    SoundBank& sounds = game.frontend->sounds;
    if (!sounds.bgm_playing && !game.lobby_active) playBgm(sounds);
    if (game.lobby_active && game.lobby.connected && game.faction_confirmed && !sounds.bgm_playing) playBgm(sounds);
    if ((game.player_money < 0 || game.enemy_money < 0) && sounds.bgm_playing) stopBgm(sounds);
    if (sounds.sounds_loaded) dropFinished(sounds);
}

void flyAll(Game& game, float dt, bool with_smoke) {
    for (Projectile& projectile : game.projectiles) {
        flyProjectile(projectile, dt);
        if (with_smoke) updateSmoke(projectile, dt);
    }
}

// Up and Down move the camera by a fixed step per frame, whatever the frame time.
void moveCameraByKeys(Game& game) {
    if (!game.faction_confirmed || !game.game_started) return;
    float v = 0;
    if (game.input.key_up) v -= game.camera_key_speed;
    if (game.input.key_down) v += game.camera_key_speed;
    if (v == 0) return;
    game.camera_target.y += v * 0.016f;
    clampView(game);
}

// Below 20 frames a second a full step would carry the view past its target and set it
// swinging, so a step never goes further than the target itself.
void easeCamera(Game& game, float dt) {
    sf::Vector2f d = game.camera_target - game.world_view.getCenter();
    float length = std::hypot(d.x, d.y);
    if (length <= 1) return;
    float k = std::min(2 * length, 10.0f);
    if (k * dt * 2.0f >= 1.0f)
        game.world_view.setCenter(game.camera_target);
    else
        game.world_view.setCenter(game.world_view.getCenter() + d * k * dt * 2.0f);
}

void slidePanel(Game& game, float dt) {
    float mouse_x = float(game.input.mouse.x);
    bool wanted = mouse_x <= 40 || (game.panel_x <= mouse_x && mouse_x <= game.panel_x + game.panel_width);
    game.panel_target_x = wanted ? game.panel_shown_x : game.panel_hidden_x;
    if (game.panel_target_x > game.panel_x)
        game.panel_x = std::min(game.panel_x + dt * game.panel_slide_speed, game.panel_target_x);
    else if (game.panel_target_x < game.panel_x)
        game.panel_x = std::max(game.panel_x - dt * game.panel_slide_speed, game.panel_target_x);
}

void clampAllUnits(Game& game) {
    for (Turret& unit : game.player_turrets) clampToField(game, unit);
    for (Turret& unit : game.enemy_turrets) clampToField(game, unit);
}

// At most one tick per frame; time beyond the second is dropped.
void tickIncome(Game& game) {
    if (game.income_clock.elapsedSeconds() < 1.0f) return;
    game.player_money += game.player_income * factionRules(game.player_faction).income_factor;
    game.enemy_money += game.enemy_income * factionRules(game.enemy_faction).opponent_income_factor;
    game.income_clock.restart();
    if (canSendMatchMessages(game)) sendMoneySync(game);
}

void repairInspectedUnit(Game& game) {
    if (game.inspected_unit == -1) return;
    const auto& list = game.inspected_side ? game.player_turrets : game.enemy_turrets;
    if (game.inspected_unit >= int(list.size())) game.inspected_unit = -1;
}

void runResultsCountdown(Game& game, float dt) {
    game.results_timer += dt;
    if (game.results_timer >= game.results_duration) resetAfterResults(game);
}

// A paused match stands still; only the view and the panel follow the player, and a
// press of the left button made now is not taken as a fresh press after the resume.
void runPausedFrame(Game& game, float dt) {
    if (game.frontend && game.frontend->sounds.sounds_loaded) dropFinished(game.frontend->sounds);
    followView(game, dt);
    game.left_was_pressed = game.input.left_button;
}

void runFrameSteps(Game& game, float dt) {
    runMusic(game);
    flyAll(game, dt, game.effects.enabled);
    retargetRockets(game, dt);
    updateLasers(game);
    applyEnemyLaserOverride(game);
    moveCameraByKeys(game);
    easeCamera(game, dt);
    clampView(game);
    if (game.lobby_active && game.lobby.connected) processMessages(game);
    slidePanel(game, dt);
    updatePlayerTurrets(game, dt);
    updateEnemyTurrets(game, dt);
    if (game.sync.following) easeTowardsHost(game, dt);
    if (game.hex_grid_enabled) {
        updateHexTerritory(game);
        fadeHexCells(game, dt);
    }
    layTracks(game);
    updateEffects(game.effects, dt);
    clampAllUnits(game);
    tickIncome(game);
    updateEffects(game.effects, dt);
    updateLaserBeams(game, dt);
    pushAllApart(game);
    flyAll(game, dt, false);
    sweepSpentProjectiles(game);
    resolveHits(game);
    removeDeadTurrets(game);
    repairInspectedUnit(game);
    runWaves(game);
    upgradeButtonsStep(game);
    checkMatchEnd(game);
    pushPhysics(game, dt);
    clampAllUnits(game);
    sweepFinishedProjectiles(game);
    // Deaths reach the peer before the snapshot that no longer holds the dead.
    actOnBattleEvents(game);
    shareBattle(game, dt);
}

void playEventSound(SoundBank& sounds, const BattleEvent& event, float width) {
    switch (event.kind) {
        case BattleEventKind::CannonFired: playCannonFire(sounds, event.x, width); break;
        case BattleEventKind::RocketLaunched: playRocket(sounds, event.x, width); break;
        case BattleEventKind::Exploded: playExplosion(sounds, event.x, width); break;
        case BattleEventKind::UnitKilled: playDeath(sounds, event.x, width); break;
        case BattleEventKind::UnitSpawned: playSpawn(sounds, event.x, width); break;
        case BattleEventKind::MatchEnded:
            if (sounds.bgm_playing) stopBgm(sounds);
            break;
        default: break;
    }
}

// The money travels first: the peer charges its mirror of our money for what follows.
void tellPeer(Game& game, const BattleEvent& event) {
    switch (event.kind) {
        case BattleEventKind::UnitSpawned:
            if (event.side != 0) return;
            sendMoneySync(game, event.money);
            sendMessage(game, {MsgSpawn, 0, event.lane});
            return;
        case BattleEventKind::UpgradeBought:
            sendMoneySync(game, event.money);
            sendMessage(game, {MsgUpgrade, event.code});
            return;
        case BattleEventKind::DeadUnitSwept: sendMessage(game, {MsgTurretDeath, event.side, event.lane}); return;
        default: return;
    }
}
}  // namespace

void followView(Game& game, float dt) {
    moveCameraByKeys(game);
    easeCamera(game, dt);
    clampView(game);
    slidePanel(game, dt);
}

void clampView(Game& game) {
    sf::Vector2f half = game.world_view.getSize() / 2.0f;
    sf::Vector2f centre = game.world_view.getCenter();
    const WorldBounds& bounds = game.world_bounds;
    // When the view is wider than the field the lower bound wins.
    centre.x = std::max(std::min(centre.x, bounds.max_x - half.x), bounds.min_x + half.x);
    centre.y = std::max(std::min(centre.y, bounds.max_y - half.y), bounds.min_y + half.y);
    game.world_view.setCenter(centre);
}

void actOnBattleEvents(Game& game) {
    bool tell = canSendMatchMessages(game);
    for (const BattleEvent& event : game.events) {
        if (game.frontend) playEventSound(game.frontend->sounds, event, windowWidth(game));
        if (tell) tellPeer(game, event);
    }
    game.events.clear();
}

void update(Game& game, float dt) {
    followConnection(game);
    if (!game.faction_confirmed) {
        game.match_clock.restart();
        game.income_clock.restart();
    } else if (game.network_mode && !game.level_running) {
        // A network game waiting for its start still hears the peer: the ready exchange starts it.
        if (game.lobby_active && game.lobby.connected) processMessages(game);
    } else if (game.game_over) {
        runResultsCountdown(game, dt);
    } else if (game.paused || game.rejoin.waiting) {
        runPausedFrame(game, dt);
    } else {
        runFrameSteps(game, dt);
    }
    actOnBattleEvents(game);
}

void clearMatch(Game& game) {
    finishRecording(game);  // a match left before its end is kept too
    resumeMatch(game);
    game.game_over = false;
    game.results_timer = 0;
    game.player_turrets.clear();
    game.enemy_turrets.clear();
    game.projectiles.clear();
    game.laser_beams.clear();
    game.selection.clear();
    game.player_money = game.start_money[0];
    game.enemy_money = game.start_money[1];
    game.player_upgrades = UpgradeState();
    game.enemy_upgrades = UpgradeState();
    game.player_projectile_speed = game.enemy_projectile_speed = 420.0f;
    game.player_income = game.enemy_income = 5.0f;
    game.wave_list.clear();
    game.upgrade_schedule.clear();
    game.wave_index = game.schedule_index = 0;
    game.spawn_timer = 0;
    game.wave_spawned = 0;
    game.match_clock.restart();
    game.income_clock.restart();
    game.level_running = false;
    resetBattleSync(game.sync);
    if (game.frontend && game.frontend->sounds.bgm_playing) stopBgm(game.frontend->sounds);
}

// The next connection starts again from the faction selection.
void endGameWithoutOpponent(Game& game) {
    clearMatch(game);
    game.level_select_active = false;
    game.faction_confirmed = false;
    game.hovered_faction = -1;
    game.opponent_ready = false;
    game.handshake_received = game.faction_received = 0;
    game.inspected_unit = -1;
    game.box_selecting = false;
    {
        std::lock_guard<std::mutex> lock(game.lobby.queue_mutex);
        game.lobby.message_queue.clear();
    }
    game.lobby.opponent_left = true;
    forgetMatchToken(game);
    logLine("⚠️ 对手已离开，对局结束");
}

void followConnection(Game& game) {
    LanLobby& lobby = game.lobby;
    if (game.replay.playing) {
        // A replay has no connection: what it brought is in the recording.
        for (auto kind : {ReplayCommandKind::LinkLost, ReplayCommandKind::TakenBack})
            while (std::optional<ReplayCommand> event = takeFedCommand(game.replay, kind)) applyCommand(game, *event);
        followRejoin(game);
        if (game.network_mode) processLinkMessages(game);
        return;
    }
    followDial(lobby);
    dropSilentPeer(game);
    bool connected = lobby.connected;
    unsigned serial = lobby.connection_serial;
    bool lost = lobby.peer_was_connected && (!connected || serial != lobby.seen_serial);
    lobby.peer_was_connected = connected;
    lobby.seen_serial = serial;
    if (lost) {
        // A match both games can come back to is held; a peer that left while it was
        // held (one turned away) changes nothing; otherwise the match is over.
        bool held = game.rejoin.waiting || canHoldForRejoin(game);
        bool holds_now = canHoldForRejoin(game);
        if (holds_now) holdForRejoin(game);
        forgetPeer(game);
        if (held) recordCommand(game.replay, commandOf(ReplayCommandKind::LinkLost, 0, holds_now));
        if (!held && game.network_mode) endGameWithoutOpponent(game);
    }
    followRejoin(game);
    if (!connected) return;
    lobby.opponent_left = false;
    greetPeer(game);
    if (game.network_mode) {
        processLinkMessages(game);
        pingPeer(game);
    }
    flushOutbox(lobby);
}

void resetAfterResults(Game& game) {
    forgetMatchToken(game);
    clearMatch(game);
    game.level_select_active = true;
    game.faction_confirmed = true;
    enterLevelSelection(game);
    logLine("🔄 返回关卡选择界面，所有状态已重置");
}
