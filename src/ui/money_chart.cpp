#include "ui/money_chart.h"
#include "app/sfml_compat.h"
#include "ui/canvas.h"

#include <algorithm>
#include <cmath>

namespace {
// A line of the given thickness as two triangles, into the batch.
void addLine(std::vector<sf::Vertex>& out, sf::Vector2f from, sf::Vector2f to, float thickness, sf::Color colour) {
    sf::Vector2f along = to - from;
    float length = std::hypot(along.x, along.y);
    if (length <= 0) return;
    sf::Vector2f side(-along.y / length * thickness / 2, along.x / length * thickness / 2);
    sf::Vector2f corners[4] = {from + side, to + side, to - side, from - side};
    for (int corner : {0, 1, 2, 0, 2, 3}) out.push_back(sf::Vertex{corners[corner], colour, {}});
}
}  // namespace

void drawMoneyChart(Canvas& canvas, const std::vector<sf::Vector2f>& money, sf::FloatRect area, sf::Color player,
                    sf::Color opponent) {
    if (money.size() < 2) return;
    RectParts<float> box = partsOf(area);  // named fields: clang will not capture a structured binding
    float low = 0, high = 1;
    for (sf::Vector2f sample : money) {
        low = std::min({low, sample.x, sample.y});
        high = std::max({high, sample.x, sample.y});
    }
    auto at = [&](std::size_t i, float value) {
        return sf::Vector2f(box.left + box.width * float(i) / float(money.size() - 1),
                            box.top + box.height * (high - value) / (high - low));
    };
    sf::Transformable frame;
    frame.setPosition({box.left, box.top});
    drawRectangle(canvas, {box.width, box.height}, frame, ShapeStyle{sf::Color(0, 0, 0, 120), sf::Color(200, 200, 200, 80), 1});
    std::vector<sf::Vertex>& out = openBatch(canvas, sf::RenderStates::Default);
    addLine(out, at(0, 0), at(money.size() - 1, 0), 1, sf::Color(160, 160, 160));
    for (std::size_t i = 1; i < money.size(); ++i) {
        addLine(out, at(i - 1, money[i - 1].y), at(i, money[i].y), 2, opponent);
        addLine(out, at(i - 1, money[i - 1].x), at(i, money[i].x), 2, player);
    }
}
