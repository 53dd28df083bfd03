#pragma once
#include <cstdint>
#include <functional>

// The game's clocks (unit fire and base-charge pacing, income and match clocks, the
// frame clock) work like sf::Clock but read one process-wide time source. The game
// runs on the steady wall clock; a test can install a manual source and step a whole
// match at a fixed dt with every clock advancing exactly as if that time had passed.
//
// Match time is that source less the time a paused match has spent standing still:
// while the match clocks are held every match clock reads the same, and after the
// release they go on as if the pause never happened. Only the frame clock reads real
// time, so the camera and the panel still move while a match is paused.
class Clock {
public:
    enum Time { Match, Real };

    explicit Clock(Time time = Match);
    float elapsedSeconds() const;
    std::int64_t elapsedMicroseconds() const;
    float restart();  // returns the seconds elapsed before the restart
    void restartAgo(float seconds);  // as if restarted that long ago

private:
    Time time;
    std::int64_t start_us;
};

// Microseconds of match time: the time source less every pause so far.
std::int64_t clockNowMicroseconds();
// Microseconds of the time source itself, pauses included.
std::int64_t realNowMicroseconds();

// Match time stands still from hold to release. Holding twice, or releasing clocks
// that are not held, changes nothing.
void holdMatchClocks();
void releaseMatchClocks();
bool matchClocksHeld();

// Tests only: replace the time source (an empty function restores the wall clock).
// Any hold ends and the pauses of the old source are forgotten.
void setClockSource(std::function<std::int64_t()> source);

// The running game's time source: the steady wall clock, read once a frame. Every clock
// reads the same instant throughout a frame, so the frame's length is all a replay needs
// to give each clock the reading it had. Installed for the lifetime of the object.
class FrameClockSource {
public:
    FrameClockSource();
    ~FrameClockSource();
    // The next frame begins: the wall time since the last frame, which the time source
    // moves on by too.
    std::int64_t tick();
    // The same, but the time source stays where it is: a replay being watched moves it on
    // by the recorded frames' lengths instead.
    std::int64_t tickWall();
    void advance(std::int64_t microseconds) { now_us += microseconds; }

private:
    std::int64_t now_us;
    std::int64_t wall_us;
};

// A manual time source for the lifetime of this object: tests, and a replay, which gives
// every frame its recorded length.
class ManualClockSource {
public:
    ManualClockSource();
    ~ManualClockSource();
    void advance(float seconds);
    void advanceMicroseconds(std::int64_t microseconds) { now_us += microseconds; }

private:
    std::int64_t now_us = 1'000'000;
};
