#include "app/clock.h"
#include "app/frontend.h"
#include "app/game.h"
#include "app/render_parts.h"
#include "app/screen.h"

#include <string>

// What the network says, over the screens of a network game: the round trip in the match,
// the rules notice and why a pause was refused at the bottom left.
void drawNetworkLines(Game& game) {
    if (!game.network_mode || !game.frontend) return;
    Screen shown = currentScreen(game);
    if (shown == Screen::MainMenu || shown == Screen::Lobby) return;
    Canvas& canvas = game.frontend->canvas;
    ScreenTexts& texts = game.frontend->screen_texts;
    const PeerLink& link = game.link;
    if ((shown == Screen::Match || shown == Screen::Results) && link.round_trip_ms >= 0) {
        bool high = link.round_trip_ms > kHighRoundTripMs;
        sf::Text& latency =
            keptText(game, texts.latency, fillText(game.texts, "match.latency", {std::to_string(link.round_trip_ms)}),
                     16, high ? sf::Color(255, 110, 80) : sf::Color(200, 200, 200));
        latency.setPosition({10, 80});
        drawDirect(canvas, latency);
    }
    float y = 690;
    auto bottomLine = [&](KeptText& kept, const std::string& words) {
        sf::Text& line = keptText(game, kept, words, 16, sf::Color(255, 180, 80));
        line.setPosition({10, y});
        drawDirect(canvas, line);
        y -= 24;
    };
    if (!link.notice.key.empty()) bottomLine(texts.rules_notice, phraseText(game.texts, link.notice));
    if (!link.pause_notice.key.empty() && realNowMicroseconds() < link.pause_notice_until_us)
        bottomLine(texts.pause_notice, phraseText(game.texts, link.pause_notice));
}
