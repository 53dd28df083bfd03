#pragma once

struct Game;

// Which screen shows is never stored: it follows from the Game's flags, first match wins.
enum class Screen { MainMenu, Lobby, FactionSelect, LevelSelect, Replays, Results, Match, Settings };

Screen currentScreen(const Game& game);
