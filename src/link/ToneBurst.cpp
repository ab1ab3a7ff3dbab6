#include "link/ToneBurst.h"

#include <array>
#include <cstring>

namespace kr31::tone {

namespace {

constexpr int TrailerLength = 572;
constexpr int LevelBit = 48;
constexpr int BurstOne = 93;
constexpr int BurstZero = 96;

bool valid(int variant)
{
    return variant >= 0 && variant <= 3;
}

// Variants 1 and 3 are 0 and 2 with every sample inverted.
char idle(int variant)
{
    return (variant == 1 || variant == 3) ? High : Low;
}

char active(int variant)
{
    return idle(variant) == Low ? High : Low;
}

// count samples of one level at the end (a transfer sound is made of
// hundreds of thousands of them, run by run).
void appendRun(QByteArray &samples, int count, char level)
{
    const qsizetype start = samples.size();
    samples.resize(start + count);
    std::memset(samples.data() + start, level, size_t(count));
}

void appendBit(QByteArray &samples, bool one, int variant)
{
    const bool burst = variant >= 2;
    if (!one) {
        appendRun(samples, burst ? BurstZero : LevelBit, idle(variant));
        return;
    }
    if (!burst) {
        appendRun(samples, LevelBit, active(variant));
        return;
    }
    // A fast square wave, period two samples, beginning and ending on the active level.
    static const auto wave = [](char a, char b) {
        std::array<char, BurstOne> w{};
        for (int i = 0; i < BurstOne; ++i)
            w[size_t(i)] = (i % 2 == 0) ? a : b;
        return w;
    };
    static const std::array<char, BurstOne> waves[2] = {wave(High, Low), wave(Low, High)};
    const qsizetype start = samples.size();
    samples.resize(start + BurstOne);
    std::memcpy(samples.data() + start, waves[active(variant) == High ? 0 : 1].data(), BurstOne);
}

} // namespace

QByteArray leader(int variant)
{
    if (!valid(variant))
        return {};
    QByteArray samples;
    const bool burst = variant >= 2;
    samples.append(burst ? 21 : 25, active(variant));
    samples.append(burst ? 201 : 527, idle(variant));
    return samples;
}

void appendByte(QByteArray &samples, int value, bool startBit, int variant)
{
    if (!valid(variant))
        return;
    if (startBit)
        appendBit(samples, true, variant);
    for (int bit = 7; bit >= 0; --bit)
        appendBit(samples, (value >> bit) & 1, variant);
    appendRun(samples, TrailerLength, idle(variant));
}

QByteArray encodeByte(int value, bool startBit, int variant)
{
    QByteArray samples;
    appendByte(samples, value, startBit, variant);
    return samples;
}

QByteArray transferSound(const QList<int> &values, const std::function<int()> &variant)
{
    QByteArray samples = leader(variant());
    samples.reserve(samples.size() + values.size() * 1430);
    for (int value : values)
        appendByte(samples, value, true, variant());
    return samples;
}

} // namespace kr31::tone
