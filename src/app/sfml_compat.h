#pragma once
// The one place that knows SFML 2.5, 2.6 and 3 apart. Everything else in the game calls
// these helpers, or SFML calls whose spelling both versions accept (positions as vectors,
// `sf::Keyboard::Key::Q`, `sf::PrimitiveType::Triangles`, `std::uint8_t`, braced
// `sf::Vertex{...}`, `sf::FloatRect({x, y}, {w, h})`), and never tests the version itself.
#include "app/input_event.h"

#include <SFML/Config.hpp>
#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Glyph.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/Transform.hpp>
#include <SFML/Graphics/Transformable.hpp>
#include <SFML/Graphics/View.hpp>
#include <SFML/Network/IpAddress.hpp>
#include <SFML/Network/Packet.hpp>
#include <SFML/Network/TcpSocket.hpp>
#include <SFML/Network/UdpSocket.hpp>
#include <SFML/System/String.hpp>
#include <SFML/System/Vector2.hpp>
#include <cmath>
#include <cstddef>
#include <optional>
#include <string>

namespace sf {
class Font;
class Image;
class Music;
class OutputSoundFile;
class Sound;
class SoundBuffer;
class Sprite;
class RenderTexture;
class RenderWindow;
class Text;
class Texture;
class Window;
}  // namespace sf

#if SFML_VERSION_MAJOR >= 3
#define TARVEX_SFML_3 1
#else
#define TARVEX_SFML_3 0
#endif

// --- Keys SFML 2.5 knew by older names: the apostrophe key was Quote, the grave key Tilde.
#if TARVEX_SFML_3
constexpr sf::Keyboard::Key kApostropheKey = sf::Keyboard::Key::Apostrophe;
constexpr sf::Keyboard::Key kGraveKey = sf::Keyboard::Key::Grave;
#else
constexpr sf::Keyboard::Key kApostropheKey = sf::Keyboard::Key::Quote;
constexpr sf::Keyboard::Key kGraveKey = sf::Keyboard::Key::Tilde;
#endif

// --- Rectangles: SFML 3 keeps a position and a size where SFML 2 kept four numbers. A
// rectangle is built as sf::Rect<T>({x, y}, {width, height}) in both, and read here.
template <typename T>
struct RectParts {
    T left, top, width, height;
};

template <typename T>
RectParts<T> partsOf(const sf::Rect<T>& rect) {
#if TARVEX_SFML_3
    return {rect.position.x, rect.position.y, rect.size.x, rect.size.y};
#else
    return {rect.left, rect.top, rect.width, rect.height};
#endif
}

template <typename T>
sf::Vector2<T> rectPosition(const sf::Rect<T>& rect) {
#if TARVEX_SFML_3
    return rect.position;
#else
    return {rect.left, rect.top};
#endif
}

template <typename T>
sf::Vector2<T> rectSize(const sf::Rect<T>& rect) {
#if TARVEX_SFML_3
    return rect.size;
#else
    return {rect.width, rect.height};
#endif
}

template <typename T>
bool rectsOverlap(const sf::Rect<T>& a, const sf::Rect<T>& b) {
#if TARVEX_SFML_3
    return a.findIntersection(b).has_value();
#else
    return a.intersects(b);
#endif
}

// The overlap of two rectangles, or nothing.
template <typename T>
std::optional<sf::Rect<T>> rectOverlap(const sf::Rect<T>& a, const sf::Rect<T>& b) {
#if TARVEX_SFML_3
    return a.findIntersection(b);
#else
    sf::Rect<T> overlap;
    if (!a.intersects(b, overlap)) return std::nullopt;
    return overlap;
#endif
}

// --- Angles: SFML 3 passes them as sf::Angle, SFML 2 as degrees; these two convert, and
// the helpers below read and set rotations in degrees through them.
#if TARVEX_SFML_3
inline sf::Angle sfmlAngle(float degrees) { return sf::degrees(degrees); }
inline float degreesOf(sf::Angle angle) { return angle.asDegrees(); }
#else
inline float sfmlAngle(float degrees) { return degrees; }
inline float degreesOf(float degrees) { return degrees; }
#endif

inline float rotationDegrees(const sf::Transformable& shape) { return degreesOf(shape.getRotation()); }
inline void setRotationDegrees(sf::Transformable& shape, float degrees) { shape.setRotation(sfmlAngle(degrees)); }
inline void rotateDegrees(sf::Transform& transform, float degrees) { transform.rotate(sfmlAngle(degrees)); }
inline float viewRotationDegrees(const sf::View& view) { return degreesOf(view.getRotation()); }
inline void setViewRotationDegrees(sf::View& view, float degrees) { view.setRotation(sfmlAngle(degrees)); }

// The direction of corner `index` of a circle of `count` points from its centre, computed
// as this SFML's circle shape computes it, so that a circle drawn from it has the shape's
// very corners.
inline sf::Vector2f circleCorner(std::size_t index, std::size_t count) {
#if TARVEX_SFML_3
    const sf::Angle angle = static_cast<float>(index) / static_cast<float>(count) * sf::degrees(360.f) - sf::degrees(90.f);
    return {std::cos(angle.asRadians()), std::sin(angle.asRadians())};
#else
    const float pi = 3.141592654f;
    float angle = float(index) * 2 * pi / float(count) - pi / 2;
    return {std::cos(angle), std::sin(angle)};
#endif
}

// --- Network: SFML 3 resolves names and reports senders through std::optional.
inline std::optional<sf::IpAddress> resolveAddress(const std::string& name) {
#if TARVEX_SFML_3
    return sf::IpAddress::resolve(name);
#else
    sf::IpAddress address(name);
    if (address == sf::IpAddress::None) return std::nullopt;
    return address;
#endif
}

// One datagram; false when none could be read. sender is left as it was then.
inline bool receiveDatagram(sf::UdpSocket& socket, void* data, std::size_t size, std::size_t& received,
                            sf::IpAddress& sender, unsigned short& port) {
#if TARVEX_SFML_3
    std::optional<sf::IpAddress> from;
    if (socket.receive(data, size, received, from, port) != sf::Socket::Status::Done || !from) return false;
    sender = *from;
    return true;
#else
    return socket.receive(data, size, received, sender, port) == sf::Socket::Status::Done;
#endif
}

// One datagram as a packet; false when none could be read.
inline bool receivePacket(sf::UdpSocket& socket, sf::Packet& packet, sf::IpAddress& sender, unsigned short& port) {
#if TARVEX_SFML_3
    std::optional<sf::IpAddress> from;
    if (socket.receive(packet, from, port) != sf::Socket::Status::Done || !from) return false;
    sender = *from;
    return true;
#else
    return socket.receive(packet, sender, port) == sf::Socket::Status::Done && sender != sf::IpAddress::None;
#endif
}

// The operating system's handle of a socket or listener, which SFML keeps to itself: a
// subclass of the socket may name it.
template <typename Socket>
sf::SocketHandle nativeHandleOf(const Socket& socket) {
    struct HandleOf : Socket {
#if TARVEX_SFML_3
        static sf::SocketHandle of(const Socket& s) { return (s.*&HandleOf::getNativeHandle)(); }
#else
        static sf::SocketHandle of(const Socket& s) { return (s.*&HandleOf::getHandle)(); }
#endif
    };
    return HandleOf::of(socket);
}

// --- Sound: SFML 2 plays through OpenAL Soft, whose wave driver can write what it mixes to
// a file; SFML 3 plays through miniaudio, which has no such driver.
constexpr bool kSoundThroughOpenAl = !TARVEX_SFML_3;

// --- Text.
inline std::string utf8Of(const sf::String& text) {
    auto bytes = text.toUtf8();
    return std::string(bytes.begin(), bytes.end());
}

// A text of a font; SFML 3 has no text without one.
sf::Text makeText(const sf::Font& font, const sf::String& string = "", unsigned size = 30);
bool openFont(sf::Font& font, const std::string& path);

// --- Window, pictures and sound: defined with the drawing (sfml_compat.cpp).
// Opens the 1280 x 720 window with its title bar, or fullscreen on the desktop's mode.
void openWindow(sf::RenderWindow& window, bool fullscreen, unsigned antialiasing);
unsigned antialiasingOf(const sf::RenderWindow& window);
sf::Vector2u desktopSize();
// The next event of the window, as the game handles it; nothing when none is pending.
std::optional<InputEvent> pollInput(sf::Window& window);

bool resizeTexture(sf::Texture& texture, sf::Vector2u size);
bool resizeRenderTexture(sf::RenderTexture& texture, sf::Vector2u size);
void updateTexture(sf::Texture& texture, const std::uint8_t* pixels, sf::Vector2u size, sf::Vector2u at);
void resizeImage(sf::Image& image, sf::Vector2u size, sf::Color colour);
sf::Color pixelAt(const sf::Image& image, unsigned x, unsigned y);
void setPixelAt(sf::Image& image, unsigned x, unsigned y, sf::Color colour);

// What a sound plays and a sprite shows.
const sf::SoundBuffer* bufferOf(const sf::Sound& sound);
const sf::Texture* textureOf(const sf::Sprite& sprite);
// A sound file written with one channel, or two (left, right).
bool openSoundFileForWriting(sf::OutputSoundFile& file, const std::string& path, unsigned rate, unsigned channels);
void setMusicLooping(sf::Music& music, bool looping);
bool isMusicLooping(const sf::Music& music);
