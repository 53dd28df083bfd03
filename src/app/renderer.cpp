#include "app/renderer.h"
#include "app/log.h"
#include "content/config.h"

#include <SFML/OpenGL.hpp>
#include <SFML/Window/Context.hpp>
#include <algorithm>
#include <cctype>

std::string rendererName() {
    sf::Context context;
    const GLubyte* name = glGetString(GL_RENDERER);
    return name ? std::string(reinterpret_cast<const char*>(name)) : std::string();
}

bool isSoftwareRenderer(const std::string& renderer) {
    std::string lower = renderer;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    for (const char* software : {"llvmpipe", "softpipe", "swrast"})
        if (lower.find(software) != std::string::npos) return true;
    return false;
}

unsigned chooseAntialiasing(const std::string& renderer, int configured) {
    if (configured >= 0) return unsigned(configured);
    return isSoftwareRenderer(renderer) ? 0 : kHardwareAntialiasing;
}

unsigned windowAntialiasing() {
    int configured = windowAntialiasingSetting();
    std::string renderer = rendererName();
    unsigned level = chooseAntialiasing(renderer, configured);
    if (configured < 0 && level == 0)
        logLine("Software renderer ", renderer,
                ": multisampling off (\"/window/antialiasing\" in config.json overrides)");
    return level;
}
