#pragma once
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/Shader.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <cstdint>
#include <vector>

struct Game;

// The floor drawn in one pass: a fragment shader finds the hexagon under each pixel,
// takes its colour from a texture of one texel per cell (refreshed once a frame from the
// hexagon shapes) and adds the outlines of the neighbours that reach over it, in the
// order the shapes would be drawn. The picture is kept and shown again while the view
// stays; when cells change colour only the tiles their hexagons reach are shaded again.
// Where the view fills the target the picture is drawn over the background colour and
// copied opaque, with no blending.
struct HexFloor {
    sf::Shader shader;
    sf::Texture cell_colours;          // columns x rows texels, one per cell
    std::vector<std::uint8_t> pixels;  // staging for cell_colours, reused every frame
    sf::RenderTexture picture;         // the last floor drawn, premultiplied, at the target's size
    std::vector<std::uint8_t> picture_pixels;  // the cell colours it shows
    sf::Transform picture_view;        // the view it was drawn through
    sf::FloatRect picture_viewport;
    sf::Color picture_under;           // what it was drawn over: the background, or transparent
    bool picture_valid = false;
    std::vector<std::uint8_t> stale_tiles;  // per tile of the picture, 1 when a changed cell reaches it
    std::vector<sf::Vertex> tile_quads;     // scratch for the stale tiles' quads, reused
    int columns = 0;
    int rows = 0;
    bool tried = false;                // set up once, on the first draw
    bool ready = false;                // shaders work here and the grid is laid out regularly
};

// Whether drawHexFloor will copy its kept picture over every pixel of a target whose view
// fills it, so that clearing the target first would be wasted.
bool floorCoversTarget(const Game& game);
// Every hexagon shape of the floor, in index order, in the target's current view, over a
// target just cleared to `background`.
void drawHexFloor(Game& game, sf::Color background);
