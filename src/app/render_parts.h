#pragma once
#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/System/Vector2.hpp>
#include <string>

struct Game;

// What the frame is cleared to under the field and the menus.
const sf::Color kBackground(30, 30, 50);

// The pieces render() puts together, one per screen or layer group.
void drawMainMenu(Game& game);
void drawLobby(Game& game);
void drawLevelSelect(Game& game);
void drawMatchWorld(Game& game);   // in the world view
void drawHud(Game& game);          // in the default view
void drawResultsOverlay(Game& game);
void drawReplayList(Game& game);
void drawSettingsScreen(Game& game);
void drawMenuSettingsButton(Game& game);  // the main menu's third button
void drawPauseMenu(Game& game);           // continue, settings, leave over a dimmed match
void drawReplaysButton(Game& game);  // on the level selection
void drawReplayBadge(Game& game);    // "回放 2×" over a replay, and its end
void drawMoneyPanel(Game& game, float top);  // the tug of war across the results panel
void drawPauseOverlay(Game& game);   // "已暂停 — P 继续" over a dimmed match
void drawNetworkLines(Game& game);
void drawRejoinOverlay(Game& game);  // "等待对手重新连接… N" over a dimmed match   // latency, rules and pause notices of a network game

// Where the frame is drawn: the window, or an off-screen texture a test put in the canvas.
sf::RenderTarget& renderTarget(Game& game);
// Draws what is pending and, when the target is the window, shows the frame.
void presentFrame(Game& game);
// A text of the game's UI font.
sf::Text uiText(const Game& game, const std::string& utf8, unsigned size, sf::Color colour, sf::Vector2f position);
// A float written as an integer, truncated toward zero; values beyond any sensible
// reading are held at the limits of a 64-bit integer and a NaN reads as 0.
std::string truncatedText(double value);
