#include "link/HeardCheck.h"

#include "link/ToneBurst.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace kr31::heard {

namespace {

constexpr int Silence = 128;

int deviation(char sample)
{
    return std::abs(int(static_cast<unsigned char>(sample)) - Silence);
}

// How many samples from heard[from] on equal sent[k] on, up to the end of either.
qsizetype agreeing(const QByteArray &sent, qsizetype k, const QByteArray &heard, qsizetype from)
{
    const qsizetype n = std::min(sent.size() - k, heard.size() - from);
    const auto *a = sent.constData() + k;
    const auto *b = heard.constData() + from;
    return std::mismatch(a, a + n, b).first - a;
}

bool quietFrom(const QByteArray &heard, qsizetype from)
{
    return std::all_of(heard.constData() + std::min(from, heard.size()), heard.constData() + heard.size(),
                       [](char h) { return deviation(h) <= 2; });
}

// Why a recording that does not hold the sound differs from it. The sound
// was heard from `from` on (if at all); the longest stretch heard as sent
// ends at agreedTo.
Verdict whyDifferent(const QByteArray &sent, const QByteArray &heard, qsizetype from, qsizetype longest,
                     qsizetype agreedTo)
{
    int sentPeak = 0, heardPeak = 0;
    for (char s : sent)
        sentPeak = std::max(sentPeak, deviation(s));
    qsizetype between = 0, loud = 0;
    std::array<qsizetype, 129> levels{};
    for (char h : heard) {
        const int d = deviation(h);
        heardPeak = std::max(heardPeak, d);
        if (d > 8) {
            ++loud;
            ++levels[size_t(d)];
            if (d < sentPeak - 8)
                ++between;
        }
    }
    if (heardPeak <= 2)
        return Verdict::Silent;
    // Mostly at one lower level: turned down, if only for part of the sound.
    const auto commonest = std::max_element(levels.begin(), levels.end()) - levels.begin();
    if (heardPeak < sentPeak - 8 || commonest < sentPeak - 8)
        return Verdict::TooQuiet;
    // Much of the sound heard as sent, then nothing: broken off.
    if (longest >= sent.size() / 2 && quietFrom(heard, agreedTo))
        return Verdict::Cut;
    // Something still sounding after the sound's end is another sound.
    if (!quietFrom(heard, from + sent.size() + 48))
        return Verdict::Mixed;
    // Levels between the sound's two are its shape changed (a resampler
    // rings around every edge).
    return between * 200 > loud ? Verdict::Reshaped : Verdict::Mixed;
}

} // namespace

Result compare(const QByteArray &sent, const QByteArray &heard, int maxClip)
{
    if (sent.isEmpty())
        return {Verdict::Exact, 0};
    // Where the sound begins in the recording: its first sample off silence.
    const auto *begin = heard.constData();
    const auto *first = std::find_if(begin, begin + heard.size(), [](char h) { return deviation(h) != 0; });
    const qsizetype from = first - begin;
    qsizetype longest = 0, agreedTo = from;
    if (from < heard.size()) {
        // Past the allowance only to tell a start cut off from other faults.
        const qsizetype lastStart = std::min<qsizetype>(4 * qsizetype(maxClip), sent.size() - 1);
        for (qsizetype k = 0; k <= lastStart; ++k) {
            if (sent[k] != heard[from])
                continue;
            const qsizetype agree = agreeing(sent, k, heard, from);
            // What follows the sound is not the lamp's concern.
            if (k + agree == sent.size() && k <= maxClip)
                return {Verdict::Exact, int(k)};
            if (agree > longest) {
                longest = agree;
                agreedTo = from + agree;
            }
        }
    }
    return {whyDifferent(sent, heard, from, longest, agreedTo), 0};
}

int clipAllowance(int mode)
{
    return int(tone::leader(mode).size() + tone::encodeByte(255, true, mode).size());
}

} // namespace kr31::heard
