#include "app/clock.h"

#include <chrono>
#include <cmath>

namespace {
std::function<std::int64_t()> source;
std::int64_t paused_us = 0;      // source time spent in pauses that have ended
std::int64_t held_since_us = -1; // source time the running pause began, -1 none

std::int64_t wallMicroseconds() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}
}  // namespace

std::int64_t realNowMicroseconds() { return source ? source() : wallMicroseconds(); }

std::int64_t clockNowMicroseconds() {
    std::int64_t now = held_since_us >= 0 ? held_since_us : realNowMicroseconds();
    return now - paused_us;
}

void holdMatchClocks() {
    if (held_since_us < 0) held_since_us = realNowMicroseconds();
}

void releaseMatchClocks() {
    if (held_since_us < 0) return;
    paused_us += realNowMicroseconds() - held_since_us;
    held_since_us = -1;
}

bool matchClocksHeld() { return held_since_us >= 0; }

void setClockSource(std::function<std::int64_t()> new_source) {
    source = std::move(new_source);
    paused_us = 0;
    held_since_us = -1;
}

namespace {
std::int64_t nowFor(Clock::Time time) { return time == Clock::Real ? realNowMicroseconds() : clockNowMicroseconds(); }
}  // namespace

Clock::Clock(Time time) : time(time), start_us(nowFor(time)) {}

std::int64_t Clock::elapsedMicroseconds() const { return nowFor(time) - start_us; }

float Clock::elapsedSeconds() const { return static_cast<float>(elapsedMicroseconds()) / 1000000.0f; }

float Clock::restart() {
    std::int64_t now = nowFor(time);
    float elapsed = static_cast<float>(now - start_us) / 1000000.0f;
    start_us = now;
    return elapsed;
}

void Clock::restartAgo(float seconds) { start_us = nowFor(time) - std::llround(double(seconds) * 1000000.0); }

ManualClockSource::ManualClockSource() {
    setClockSource([this] { return now_us; });
}

ManualClockSource::~ManualClockSource() { setClockSource({}); }

void ManualClockSource::advance(float seconds) { now_us += std::llround(double(seconds) * 1000000.0); }

// It goes on from the time the clocks read until now, so a clock started before the loop
// (a replay opened from the command line) reads on without a jump.
FrameClockSource::FrameClockSource() : now_us(realNowMicroseconds()), wall_us(wallMicroseconds()) {
    setClockSource([this] { return now_us; });
}

FrameClockSource::~FrameClockSource() { setClockSource({}); }

std::int64_t FrameClockSource::tick() {
    std::int64_t elapsed = tickWall();
    now_us += elapsed;
    return elapsed;
}

std::int64_t FrameClockSource::tickWall() {
    std::int64_t before = wall_us;
    wall_us = wallMicroseconds();
    return wall_us - before;
}
