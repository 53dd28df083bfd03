#include "app/sfml_compat.h"
#include "app/sfml_compat_view.h"

#include <SFML/Audio/Music.hpp>
#include <SFML/Audio/OutputSoundFile.hpp>
#include <SFML/Audio/Sound.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/Window/Event.hpp>
#include <SFML/Window/VideoMode.hpp>

#if TARVEX_SFML_3
namespace {
// The font of a text made empty: it has no glyphs, so such a text draws nothing.
const sf::Font& noFont() {
    static const sf::Font font;
    return font;
}
}  // namespace

UiText::UiText() : sf::Text(noFont()) {}

const sf::Font* fontOf(const sf::Text& text) { return &text.getFont() == &noFont() ? nullptr : &text.getFont(); }
#else
UiText::UiText() = default;

const sf::Font* fontOf(const sf::Text& text) { return text.getFont(); }
#endif

sf::Text makeText(const sf::Font& font, const sf::String& string, unsigned size) {
#if TARVEX_SFML_3
    return sf::Text(font, string, size);
#else
    return sf::Text(string, font, size);
#endif
}

bool openFont(sf::Font& font, const std::string& path) {
#if TARVEX_SFML_3
    return font.openFromFile(path);
#else
    return font.loadFromFile(path);
#endif
}

void openWindow(sf::RenderWindow& window, bool fullscreen, unsigned antialiasing) {
#if TARVEX_SFML_3
    sf::ContextSettings settings;
    settings.antiAliasingLevel = antialiasing;
    if (fullscreen)
        window.create(sf::VideoMode::getDesktopMode(), "Tarvex", sf::State::Fullscreen, settings);
    else
        window.create(sf::VideoMode({1280, 720}, 32), "Tarvex", sf::Style::Titlebar | sf::Style::Resize | sf::Style::Close,
                      sf::State::Windowed, settings);
#else
    sf::ContextSettings settings;
    settings.antialiasingLevel = antialiasing;
    if (fullscreen)
        window.create(sf::VideoMode::getDesktopMode(), "Tarvex", sf::Style::Fullscreen, settings);
    else
        window.create(sf::VideoMode(1280, 720, 32), "Tarvex", sf::Style::Titlebar | sf::Style::Resize | sf::Style::Close,
                      settings);
#endif
}

unsigned antialiasingOf(const sf::RenderWindow& window) {
#if TARVEX_SFML_3
    return window.getSettings().antiAliasingLevel;
#else
    return window.getSettings().antialiasingLevel;
#endif
}

sf::Vector2u desktopSize() {
#if TARVEX_SFML_3
    return sf::VideoMode::getDesktopMode().size;
#else
    sf::VideoMode desktop = sf::VideoMode::getDesktopMode();
    return {desktop.width, desktop.height};
#endif
}

namespace {
InputEvent mouseEvent(InputEvent::Kind kind, sf::Vector2i position, sf::Mouse::Button button = sf::Mouse::Button::Left) {
    InputEvent input;
    input.kind = kind;
    input.position = position;
    input.button = button;
    return input;
}
}  // namespace

std::optional<InputEvent> pollInput(sf::Window& window) {
    using Kind = InputEvent::Kind;
#if TARVEX_SFML_3
    std::optional<sf::Event> event = window.pollEvent();
    if (!event) return std::nullopt;
    InputEvent input;
    if (event->is<sf::Event::Closed>()) {
        input.kind = Kind::Closed;
    } else if (const auto* key = event->getIf<sf::Event::KeyPressed>()) {
        input.kind = Kind::KeyPressed;
        input.key = key->code;
        input.control = key->control;
    } else if (const auto* text = event->getIf<sf::Event::TextEntered>()) {
        input.kind = Kind::TextEntered;
        input.character = text->unicode;
    } else if (const auto* press = event->getIf<sf::Event::MouseButtonPressed>()) {
        input = mouseEvent(Kind::MouseButtonPressed, press->position, press->button);
    } else if (const auto* release = event->getIf<sf::Event::MouseButtonReleased>()) {
        input = mouseEvent(Kind::MouseButtonReleased, release->position, release->button);
    } else if (const auto* move = event->getIf<sf::Event::MouseMoved>()) {
        input = mouseEvent(Kind::MouseMoved, move->position);
    } else if (const auto* wheel = event->getIf<sf::Event::MouseWheelScrolled>()) {
        if (wheel->wheel == sf::Mouse::Wheel::Vertical) {
            input = mouseEvent(Kind::MouseWheelScrolled, wheel->position);
            input.wheel_delta = wheel->delta;
        }
    }
    return input;
#else
    sf::Event event;
    if (!window.pollEvent(event)) return std::nullopt;
    InputEvent input;
    switch (event.type) {
        case sf::Event::Closed: input.kind = Kind::Closed; break;
        case sf::Event::KeyPressed:
            input.kind = Kind::KeyPressed;
            input.key = event.key.code;
            input.control = event.key.control;
            break;
        case sf::Event::TextEntered:
            input.kind = Kind::TextEntered;
            input.character = char32_t(event.text.unicode);
            break;
        case sf::Event::MouseButtonPressed:
            input = mouseEvent(Kind::MouseButtonPressed, {event.mouseButton.x, event.mouseButton.y}, event.mouseButton.button);
            break;
        case sf::Event::MouseButtonReleased:
            input = mouseEvent(Kind::MouseButtonReleased, {event.mouseButton.x, event.mouseButton.y}, event.mouseButton.button);
            break;
        case sf::Event::MouseMoved: input = mouseEvent(Kind::MouseMoved, {event.mouseMove.x, event.mouseMove.y}); break;
        case sf::Event::MouseWheelScrolled:
            if (event.mouseWheelScroll.wheel != sf::Mouse::VerticalWheel) break;
            input = mouseEvent(Kind::MouseWheelScrolled, {event.mouseWheelScroll.x, event.mouseWheelScroll.y});
            input.wheel_delta = event.mouseWheelScroll.delta;
            break;
        default: break;
    }
    return input;
#endif
}

namespace {
// Textures and render textures alike: SFML 3 resizes what SFML 2 created anew.
template <typename Texture>
bool resizeAnyTexture(Texture& texture, sf::Vector2u size) {
#if TARVEX_SFML_3
    return texture.resize(size);
#else
    return texture.create(size.x, size.y);
#endif
}
}  // namespace

bool resizeTexture(sf::Texture& texture, sf::Vector2u size) { return resizeAnyTexture(texture, size); }
bool resizeRenderTexture(sf::RenderTexture& texture, sf::Vector2u size) { return resizeAnyTexture(texture, size); }

void updateTexture(sf::Texture& texture, const std::uint8_t* pixels, sf::Vector2u size, sf::Vector2u at) {
#if TARVEX_SFML_3
    texture.update(pixels, size, at);
#else
    texture.update(pixels, size.x, size.y, at.x, at.y);
#endif
}

void resizeImage(sf::Image& image, sf::Vector2u size, sf::Color colour) {
#if TARVEX_SFML_3
    image.resize(size, colour);
#else
    image.create(size.x, size.y, colour);
#endif
}

sf::Color pixelAt(const sf::Image& image, unsigned x, unsigned y) {
#if TARVEX_SFML_3
    return image.getPixel({x, y});
#else
    return image.getPixel(x, y);
#endif
}

void setPixelAt(sf::Image& image, unsigned x, unsigned y, sf::Color colour) {
#if TARVEX_SFML_3
    image.setPixel({x, y}, colour);
#else
    image.setPixel(x, y, colour);
#endif
}

#if TARVEX_SFML_3
const sf::SoundBuffer* bufferOf(const sf::Sound& sound) { return &sound.getBuffer(); }
const sf::Texture* textureOf(const sf::Sprite& sprite) { return &sprite.getTexture(); }
#else
const sf::SoundBuffer* bufferOf(const sf::Sound& sound) { return sound.getBuffer(); }
const sf::Texture* textureOf(const sf::Sprite& sprite) { return sprite.getTexture(); }
#endif

bool openSoundFileForWriting(sf::OutputSoundFile& file, const std::string& path, unsigned rate, unsigned channels) {
#if TARVEX_SFML_3
    std::vector<sf::SoundChannel> map = {sf::SoundChannel::Mono};
    if (channels == 2) map = {sf::SoundChannel::FrontLeft, sf::SoundChannel::FrontRight};
    return file.openFromFile(path, rate, channels, map);
#else
    return file.openFromFile(path, rate, channels);
#endif
}

void setMusicLooping(sf::Music& music, bool looping) {
#if TARVEX_SFML_3
    music.setLooping(looping);
#else
    music.setLoop(looping);
#endif
}

bool isMusicLooping(const sf::Music& music) {
#if TARVEX_SFML_3
    return music.isLooping();
#else
    return music.getLoop();
#endif
}
