#include "app/clock.h"

#include <chrono>
#include <cmath>

namespace {
std::function<std::int64_t()> source;

std::int64_t wallMicroseconds() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}
}  // namespace

std::int64_t clockNowMicroseconds() { return source ? source() : wallMicroseconds(); }

void setClockSource(std::function<std::int64_t()> new_source) { source = std::move(new_source); }

Clock::Clock() : start_us(clockNowMicroseconds()) {}

std::int64_t Clock::elapsedMicroseconds() const { return clockNowMicroseconds() - start_us; }

float Clock::elapsedSeconds() const { return static_cast<float>(elapsedMicroseconds()) / 1000000.0f; }

float Clock::restart() {
    std::int64_t now = clockNowMicroseconds();
    float elapsed = static_cast<float>(now - start_us) / 1000000.0f;
    start_us = now;
    return elapsed;
}

ManualClockSource::ManualClockSource() {
    setClockSource([this] { return now_us; });
}

ManualClockSource::~ManualClockSource() { setClockSource({}); }

void ManualClockSource::advance(float seconds) { now_us += std::llround(double(seconds) * 1000000.0); }
