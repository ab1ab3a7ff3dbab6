#include "sound/MixerLevels.h"

#include <algorithm>
#include <cmath>

namespace kr31::mixer {

Level levelOf(long left, long right, long min, long max)
{
    Level level;
    if (max <= min)
        return level;
    left = std::clamp(left, min, max);
    right = std::clamp(right, min, max);
    const long loud = std::max(left, right);
    level.volume = 100.0 * double(loud - min) / double(max - min);
    if (left != right)
        level.balance = left > right ? 50.0 * double(right - min) / double(loud - min)
                                     : 100.0 - 50.0 * double(left - min) / double(loud - min);
    return level;
}

Sides sidesOf(double volume, double balance, long min, long max)
{
    if (max <= min)
        return {min, min};
    const long loud = min + std::lround(std::clamp(volume, 0.0, 100.0) * double(max - min) / 100.0);
    balance = std::clamp(balance, 0.0, 100.0);
    const double share = (balance < 50 ? balance : 100 - balance) / 50.0;
    const long quiet = min + std::lround(double(loud - min) * share);
    if (balance < 50)
        return {loud, quiet};
    if (balance > 50)
        return {quiet, loud};
    return {loud, loud};
}

} // namespace kr31::mixer
