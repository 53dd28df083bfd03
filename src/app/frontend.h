#pragma once
#include "app/frame_stats.h"
#include "app/screen_texts.h"
#include "audio/sound_bank.h"
#include "battle/hex_floor_draw.h"
#include "content/upgrades.h"
#include "ui/canvas.h"
#include "ui/unit_sprites.h"

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include "app/sfml_compat_view.h"
#include <SFML/Graphics/Texture.hpp>
#include <array>

// What a game with a window has and a headless one lacks: the window and everything drawn
// into it, and the speakers. Drawing reads the Game and writes only here.
struct Frontend {
    sf::RenderWindow window;
    Canvas canvas;                           // all drawing goes through it
    UnitSprites unit_sprites;                // unit art pre-drawn per faction and degree of aim
    HexFloor hex_floor;                      // the floor's one-pass drawing, set up on first draw
    bool fullscreen = false;                 // F11 switches; the picture stays 1280 x 720, letterboxed
    FrameStats frame_stats;                  // F3 overlay and --fps-log

    sf::Font ui_font;
    sf::Font symbol_font;                    // pictographs the CJK font lacks (trophy, skull)
    sf::Font lobby_font;                     // the lobby's own, loaded first of all
    sf::RectangleShape panel_background;     // placed at the panel's slide when drawn
    std::array<UiText, kPanelButtonCount> button_labels;
    UiText single_text;
    UiText network_text;
    UiText back_text;
    UiText host_text;
    UiText join_text;
    ScreenTexts screen_texts;                // texts rebuilt only when their content changes

    // Faction pictures, in faction order
    std::array<sf::Texture, 5> faction_normal;
    std::array<sf::Texture, 5> faction_hover;
    std::array<sf::Sprite, 5> faction_sprites{sf::Sprite(faction_normal[0]), sf::Sprite(faction_normal[1]),
                                              sf::Sprite(faction_normal[2]), sf::Sprite(faction_normal[3]),
                                              sf::Sprite(faction_normal[4])};

    SoundBank sounds;
};
