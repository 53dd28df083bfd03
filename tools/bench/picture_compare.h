#pragma once
#include <SFML/Graphics/Image.hpp>
#include <algorithm>
#include <cstdlib>

// How a picture differs from its reference, pixel by pixel.
struct PictureDifference {
    long pixels = 0;
    long differing = 0;         // in any channel
    long beyond_tolerance = 0;  // by more than the tolerance in some channel
    // Of those, the pixels whose colour lies beyond the tolerance of the colours the other
    // picture shows within one pixel of the same place, either way: what is left once a
    // shape may be drawn up to a pixel from where the reference put it.
    long unmatched = 0;
    int largest_difference = 0;
};

inline int channelGap(sf::Color a, sf::Color b) {
    return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

// Whether each channel of the colour lies within the tolerance of the range that channel
// takes within one pixel of (x, y) in the other picture: true of a colour shifted less
// than a pixel, across an edge or along a gradient.
inline bool matchedNearby(const sf::Image& other, unsigned x, unsigned y, sf::Color colour, int tolerance) {
    int low[3] = {255, 255, 255}, high[3] = {0, 0, 0};
    sf::Vector2u size = other.getSize();
    for (unsigned v = y > 0 ? y - 1 : 0; v <= y + 1 && v < size.y; ++v)
        for (unsigned u = x > 0 ? x - 1 : 0; u <= x + 1 && u < size.x; ++u) {
            sf::Color near = pixelAt(other, u, v);
            const int channels[3] = {near.r, near.g, near.b};
            for (int c = 0; c < 3; ++c) low[c] = std::min(low[c], channels[c]), high[c] = std::max(high[c], channels[c]);
        }
    const int wanted[3] = {colour.r, colour.g, colour.b};
    for (int c = 0; c < 3; ++c)
        if (wanted[c] < low[c] - tolerance || wanted[c] > high[c] + tolerance) return false;
    return true;
}

inline PictureDifference comparePictures(const sf::Image& picture, const sf::Image& reference, int tolerance) {
    PictureDifference result;
    sf::Vector2u size = reference.getSize();
    result.pixels = long(size.x) * long(size.y);
    for (unsigned y = 0; y < size.y; ++y)
        for (unsigned x = 0; x < size.x; ++x) {
            sf::Color a = pixelAt(picture, x, y), b = pixelAt(reference, x, y);
            int gap = channelGap(a, b);
            result.differing += gap > 0;
            result.largest_difference = std::max(result.largest_difference, gap);
            if (gap <= tolerance) continue;
            ++result.beyond_tolerance;
            result.unmatched += !matchedNearby(reference, x, y, a, tolerance) || !matchedNearby(picture, x, y, b, tolerance);
        }
    return result;
}
