#pragma once

#include <QByteArray>

namespace kr31::heard {

// What a recording of the speakers' output says about a sound that was sent.
enum class Verdict {
    Exact,     // every sample heard as sent (a start clipped within the allowance)
    Silent,    // nothing came out
    TooQuiet,  // the sound's shape, at a lower level
    Reshaped,  // levels between the two of the sound: resampled or filtered
    Mixed,     // another sound on top of it
    Cut,       // it begins as sent but ends early or breaks off
};

struct Result
{
    Verdict verdict = Verdict::Silent;
    int clipped = 0; // samples of the sound's start that the recording missed
};

// Compares sent (8-bit samples, 128 is silence) with heard, the output
// recorded at the same rate from before the sound began to after its end.
// The recording may miss up to maxClip samples of the sound's start (a
// server's capture latency); everything after them must be heard exactly.
Result compare(const QByteArray &sent, const QByteArray &heard, int maxClip);

// Samples of a transfer sound's start that may go unheard in transfer mode
// `mode` while every byte after the first is still heard: the leader and the
// shortest first byte.
int clipAllowance(int mode);

} // namespace kr31::heard
