#include "link/WavFile.h"

#include "core/Messages.h"
#include "core/TextFile.h"
#include "link/ToneBurst.h"

#include <QtEndian>

namespace kr31::wav {

namespace {

void put32(QByteArray &out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

void put16(QByteArray &out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

quint32 get32(const QByteArray &in, qsizetype at)
{
    return qFromLittleEndian<quint32>(in.constData() + at);
}

quint16 get16(const QByteArray &in, qsizetype at)
{
    return qFromLittleEndian<quint16>(in.constData() + at);
}

} // namespace

namespace {
void putFile(QByteArray &out, const QByteArray &samples)
{
    const quint32 n = quint32(samples.size());
    out.reserve(44 + samples.size());
    out.append("RIFF", 4);
    put32(out, n + 36);
    out.append("WAVE", 4);
    out.append("fmt ", 4);
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 1); // mono
    put32(out, tone::SampleRate);
    put32(out, tone::SampleRate); // bytes per second
    put16(out, 1);                // block align
    put16(out, 8);                // bits per sample
    out.append("data", 4);
    put32(out, n);
    out.append(samples);
}
} // namespace

QByteArray fileBytes(const QByteArray &samples)
{
    QByteArray out;
    putFile(out, samples);
    return out;
}

bool write(const QString &path, const QByteArray &samples, QString *error, textfile::Durability durability)
{
    // Put together in memory kept from the last sound, which the system need
    // not hand out (and clear) again page by page.
    static thread_local QByteArray file;
    file.resize(0);
    putFile(file, samples);
    const bool written = textfile::writeAtomically(path, file, error, durability);
    if (file.capacity() > (4 << 20))
        file = QByteArray(); // a transfer sound is far smaller: nothing to keep for
    return written;
}

std::optional<Audio> parse(const QByteArray &bytes, QString *error)
{
    const auto fail = [&](const QString &why) -> std::optional<Audio> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return fail(msg::NotWav);
    Audio audio;
    bool haveFormat = false;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const qint64 size = get32(bytes, at + 4);
        const qsizetype body = at + 8;
        if (id == "fmt ") {
            if (size < 16 || body + 16 > bytes.size())
                return fail(msg::WavFormatBroken);
            if (get16(bytes, body) != 1)
                return fail(msg::WavNotPcm);
            audio.channels = get16(bytes, body + 2);
            audio.sampleRate = int(get32(bytes, body + 4));
            audio.bitsPerSample = get16(bytes, body + 14);
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat)
                return fail(msg::WavFormatMissing);
            audio.samples = bytes.mid(body, qsizetype(qMin<qint64>(size, bytes.size() - body)));
            return audio;
        }
        at = body + qsizetype(size) + (size & 1); // chunks are padded to even sizes
        if (size > bytes.size())
            break;
    }
    return fail(msg::WavNoSamples);
}

std::optional<QByteArray> readPlayable(const QString &path, QString *error)
{
    QString why;
    const std::optional<QByteArray> bytes = textfile::readBytes(path, textfile::SoundLimit, &why);
    if (!bytes) {
        *error = msg::soundFileNotOpened(path, why);
        return std::nullopt;
    }
    const std::optional<Audio> audio = parse(*bytes);
    if (audio && audio->channels == 1 && audio->sampleRate == 48000 && audio->bitsPerSample == 8)
        return audio->samples;
    *error = msg::soundFileNotPlayable(path);
    return std::nullopt;
}

} // namespace kr31::wav
