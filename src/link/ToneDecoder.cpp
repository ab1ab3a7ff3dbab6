#include "link/ToneDecoder.h"

#include "core/Messages.h"

namespace kr31::tone {

namespace {

class Reader
{
public:
    Reader(const QByteArray &samples, bool inverted)
        : m_samples(samples)
        , m_inverted(inverted)
    {
    }

    qsizetype size() const { return m_samples.size(); }
    // True when sample i is on the active level (high in variants 0 and 2).
    bool active(qsizetype i) const { return (quint8(m_samples.at(i)) >= 0x80) != m_inverted; }

    qsizetype run(qsizetype from, bool level) const
    {
        qsizetype i = from;
        while (i < size() && active(i) == level)
            ++i;
        return i - from;
    }

    bool allIdle(qsizetype from, qsizetype count) const
    {
        return from + count <= size() && run(from, false) >= count;
    }

    bool isBurstOne(qsizetype from) const
    {
        if (from + 93 > size())
            return false;
        for (qsizetype i = 0; i < 93; ++i) {
            if (active(from + i) != (i % 2 == 0))
                return false;
        }
        return true;
    }

private:
    const QByteArray &m_samples;
    bool m_inverted;
};

} // namespace

std::optional<Decoded> decode(const QByteArray &samples, QString *error)
{
    const auto fail = [&](const QString &why) -> std::optional<Decoded> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (samples.isEmpty())
        return fail(msg::NoSamples);

    const bool inverted = quint8(samples.at(0)) < 0x80;
    const Reader in(samples, inverted);
    const qsizetype pulse = in.run(0, true);
    const bool burst = (pulse == 21);
    if (pulse != 25 && pulse != 21)
        return fail(msg::NoLeader);
    Decoded result;
    result.variant = (burst ? 2 : 0) + (inverted ? 1 : 0);
    const qsizetype leaderIdle = burst ? 201 : 527;
    if (!in.allIdle(pulse, leaderIdle))
        return fail(msg::LeaderBroken);

    qsizetype at = pulse + leaderIdle;
    while (at < in.size()) {
        // Nothing but idle level to the end: the sound is over.
        if (in.allIdle(at, in.size() - at))
            break;
        const qsizetype byteStart = at;
        int value = 0;
        for (int bit = 0; bit < 9; ++bit) {
            bool one;
            if (burst) {
                if (at < in.size() && in.active(at)) {
                    if (!in.isBurstOne(at))
                        return fail(msg::OneBitBroken.arg(at));
                    one = true;
                    at += 93;
                } else {
                    if (!in.allIdle(at, 96))
                        return fail(msg::ZeroBitBroken.arg(at));
                    one = false;
                    at += 96;
                }
            } else {
                if (at + 48 > in.size())
                    return fail(msg::SoundBreaksOff.arg(at));
                const qsizetype high = in.run(at, true);
                const qsizetype low = in.run(at, false);
                if (high < 48 && low < 48)
                    return fail(msg::BitBroken.arg(at));
                one = high >= 48;
                at += 48;
            }
            if (bit == 0) {
                if (!one)
                    return fail(msg::NoStartBit.arg(byteStart));
            } else {
                value = (value << 1) | (one ? 1 : 0);
            }
        }
        if (!in.allIdle(at, 572))
            return fail(msg::ByteEndBroken.arg(at));
        at += 572;
        result.values.append(value);
    }
    return result;
}

} // namespace kr31::tone
