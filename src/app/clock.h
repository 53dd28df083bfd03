#pragma once
#include <cstdint>
#include <functional>

// The game's clocks (unit fire and base-charge pacing, income and match clocks, the
// frame clock) work like sf::Clock but read one process-wide time source. The game
// runs on the steady wall clock; a test can install a manual source and step a whole
// match at a fixed dt with every clock advancing exactly as if that time had passed.
class Clock {
public:
    Clock();
    float elapsedSeconds() const;
    std::int64_t elapsedMicroseconds() const;
    float restart();  // returns the seconds elapsed before the restart

private:
    std::int64_t start_us;
};

// Microseconds of the current time source.
std::int64_t clockNowMicroseconds();

// Tests only: replace the time source (an empty function restores the wall clock).
void setClockSource(std::function<std::int64_t()> source);

// Tests only: a manual time source for the lifetime of this object.
class ManualClockSource {
public:
    ManualClockSource();
    ~ManualClockSource();
    void advance(float seconds);

private:
    std::int64_t now_us = 1'000'000;
};
