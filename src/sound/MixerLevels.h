#pragma once

namespace kr31::mixer {

// A mixer line as the system thinks of it: volume 0..100 (the louder side)
// and balance 0..100 (0 left only, 50 centre, 100 right only).
struct Level
{
    double volume = 0;
    double balance = 50;
};

// Raw channel values of a line whose control runs from min to max.
struct Sides
{
    long left = 0;
    long right = 0;
};

// The level of raw left and right values: the louder side makes the volume,
// the quieter side's share of it (halved, counted from the louder side's end)
// makes the balance. A control without range (max <= min) reads as silent and centred.
Level levelOf(long left, long right, long min, long max);

// The raw values that give a level: the louder side at volume (rounded to
// nearest), the other side at its share; volume and balance are clamped to 0..100.
Sides sidesOf(double volume, double balance, long min, long max);

} // namespace kr31::mixer
