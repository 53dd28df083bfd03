#pragma once
#include <string>

// The anti-aliasing level the design asks for on a graphics card.
constexpr unsigned kHardwareAntialiasing = 8;

// GL_RENDERER of a throwaway context, "" when none can be made.
std::string rendererName();
// Mesa's software rasterisers: multisampling there costs a whole frame's worth of time.
bool isSoftwareRenderer(const std::string& renderer);
// The level the window opens with: "/window/antialiasing" when given (0 turns it off),
// otherwise the design's level on hardware and none on a software renderer.
unsigned chooseAntialiasing(const std::string& renderer, int configured);
// Picks the level for this machine and says so when a software renderer turns it off.
unsigned windowAntialiasing();
