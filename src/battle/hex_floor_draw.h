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
// order the shapes would be drawn. The picture is kept and shown again while neither the
// colours nor the view change (the menu, a quiet field).
struct HexFloor {
    sf::Shader shader;
    sf::Texture cell_colours;          // columns x rows texels, one per cell
    std::vector<std::uint8_t> pixels;  // staging for cell_colours, reused every frame
    sf::RenderTexture picture;         // the last floor drawn, premultiplied, at the target's size
    std::vector<std::uint8_t> picture_pixels;  // the cell colours it shows
    sf::Transform picture_view;        // the view it was drawn through
    sf::FloatRect picture_viewport;
    bool picture_valid = false;
    int columns = 0;
    int rows = 0;
    bool tried = false;                // set up once, on the first draw
    bool ready = false;                // shaders work here and the grid is laid out regularly
};

// Every hexagon shape of the floor, in index order, in the target's current view.
void drawHexFloor(Game& game);
