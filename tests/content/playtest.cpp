#include "content/playtest.h"
#include "app/clock.h"
#include "app/game.h"
#include "app/update.h"
#include "content/factions.h"
#include "content/upgrades.h"
#include "events.h"
#include "support.h"

#include <gtest/gtest.h>
#include <array>
#include <fstream>
#include <sstream>
#include <vector>

namespace {
constexpr float kFrame = 1.0f / 60;

float unitCost(const Game& game) { return game.player_faction == Red ? 12.5f : 50.0f; }

// A scripted player; it acts between two frames through the game's own inputs.
struct Player {
    Game& game;
    PlayerScript script;
    float clock = 0;
    float next_decision = 1.0f;
    float next_wave = 3.0f;
    size_t next_upgrade = 0;

    // Presses the lane key when the money left afterwards stays above the reserve.
    void send(int lane, float reserve) {
        static const sf::Keyboard::Key keys[] = {sf::Keyboard::Q, sf::Keyboard::W, sf::Keyboard::E};
        if (game.player_money - unitCost(game) >= reserve) keyPress(game, keys[lane]);
    }

    static std::array<int, 3> unitsPerLane(const std::vector<Turret>& units) {
        std::array<int, 3> count{};
        for (const Turret& unit : units) count[unit.lane] += 1;
        return count;
    }

    // Outnumbers the enemy by one in every lane it comes down.
    void meetThreats(float reserve) {
        std::array<int, 3> enemies = unitsPerLane(game.enemy_turrets);
        for (int lane = 0; lane < 3; ++lane) {
            while (enemies[lane] > 0 && unitsPerLane(game.player_turrets)[lane] <= enemies[lane]) {
                size_t before = game.player_turrets.size();
                send(lane, reserve);
                if (game.player_turrets.size() == before) break;
            }
        }
    }

    // One unit down the lane the player holds most thinly.
    void reinforce(float reserve) {
        std::array<int, 3> own = unitsPerLane(game.player_turrets);
        int lane = 0;
        for (int i = 1; i < 3; ++i)
            if (own[i] < own[lane]) lane = i;
        send(lane, reserve);
    }

    float price(PanelButton button) const {
        if (button == ButtonLaserDamage) return laserDamagePrice(game.player_faction);
        static const UpgradeStat stats[] = {FireRate, Range, Dodge, ProjectileSpeed, MoveSpeed, Income};
        UpgradeStat stat = stats[button];
        return upgradePrice(stat, game.player_upgrades) * factionDiscount(stat, game.player_faction);
    }

    bool buy(PanelButton button, float reserve) {
        return game.player_money - price(button) >= reserve && buyPlayerUpgrade(game, button);
    }

    // Income first while it can pay back, then what the faction's weapon gains most from.
    // A purchase is added again to the older units at each later spawn, so a cannon side
    // skips fire rate: the recoil of ever faster shots would drive its units home.
    const std::vector<PanelButton>& upgradePlan() const {
        static const std::vector<PanelButton> cannon = {ButtonIncome, ButtonIncome, ButtonRange, ButtonMove,
                                                        ButtonIncome, ButtonRange, ButtonMove};
        static const std::vector<PanelButton> rockets = {ButtonIncome, ButtonIncome, ButtonFireRate, ButtonRange,
                                                         ButtonIncome, ButtonMove, ButtonRange};
        static const std::vector<PanelButton> lasers = {ButtonIncome, ButtonLaserDamage, ButtonIncome,
                                                        ButtonLaserDamage, ButtonRange, ButtonLaserDamage,
                                                        ButtonIncome, ButtonLaserDamage, ButtonMove};
        if (game.player_faction == Yellow) return rockets;
        if (game.player_faction == White) return lasers;
        return cannon;
    }

    void followUpgradePlan() {
        const std::vector<PanelButton>& plan = upgradePlan();
        if (next_upgrade < plan.size() && buy(plan[next_upgrade], 250)) next_upgrade += 1;
    }

    void playNovice() {
        for (int lane = 0; lane < 3; ++lane) send(lane, 100);
        next_decision += 4.0f;
    }

    void playSteady() {
        meetThreats(100);
        if (game.player_upgrades.levels[Income] < 2) buy(ButtonIncome, 300);
        if (clock >= next_wave) {
            for (int lane = 0; lane < 3; ++lane) send(lane, 150);
            next_wave += 3.0f;
        }
        next_decision += 0.5f;
    }

    void playStrong() {
        meetThreats(150);
        followUpgradePlan();
        if (clock >= next_wave) {
            reinforce(250);
            next_wave += 2.0f;
        }
        next_decision += 0.5f;
    }

    void act(float dt) {
        clock += dt;
        if (clock < next_decision) return;
        switch (script) {
            case PlayerScript::Idle: next_decision = 1e9f; return;
            case PlayerScript::Novice: playNovice(); return;
            case PlayerScript::Steady: playSteady(); return;
            case PlayerScript::Strong: playStrong(); return;
        }
    }
};

void seedEverything(Game& game, unsigned seed) {
    std::srand(seed);
    game.rng.seed(seed);
    game.effects.rng.seed(seed + 1);
    game.sounds.rng.seed(seed + 2);
}

// Main menu, faction card, confirmation and level card, clicked as a player would.
void enterLevel(Game& game, int faction, int level_index) {
    sf::FloatRect single = game.single_button.getGlobalBounds();
    click(game, int(single.left + single.width / 2), int(single.top + single.height / 2));
    click(game, 160 + 195 * faction + 90, 360);
    click(game, 900, 650);
    click(game, 90 + 250 * (level_index % 3) + 110, 110 + 150 * (level_index / 3) + 65);
}

PlaytestResult play(const Playtest& test) {
    ManualClockSource clock;
    GameFixture fixture(test.config_json, test.levels_json);
    Game& game = *fixture.game;
    seedEverything(game, test.seed);
    enterLevel(game, test.faction, test.level_index);
    PlaytestResult result;
    if (!game.level_running) return result;

    game.player_income = test.player_income;
    Player player{game, test.script};
    while (!game.game_over && result.seconds < test.time_limit) {
        clock.advance(kFrame);
        result.seconds += kFrame;
        player.act(kFrame);
        update(game, kFrame);
        if (test.after_frame && !test.after_frame(game)) break;
    }
    if (game.game_over) result.outcome = game.enemy_money < 0 ? Outcome::Victory : Outcome::Defeat;
    return result;
}
}  // namespace

const char* scriptName(PlayerScript script) {
    static const char* const names[] = {"idle", "novice", "steady", "strong"};
    return names[int(script)];
}

PlaytestResult playLevel(const Playtest& test) {
    testing::internal::CaptureStdout();  // the game's own log lines
    PlaytestResult result = play(test);
    testing::internal::GetCapturedStdout();
    return result;
}

std::string shippedData(const std::string& name) {
    std::ifstream file(std::string(TARVEX_SOURCE_DIR) + "/data/" + name, std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    return content.str();
}
