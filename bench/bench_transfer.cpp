// Building and writing the transfer sound of a whole melody packet (209
// values), next to writing the same number of bytes with a plain write(2),
// and decoding it again. Run: build/bin/bench_transfer
#include "core/Settings.h"
#include "link/Packets.h"
#include "link/ToneBurst.h"
#include "link/ToneDecoder.h"
#include "link/WavFile.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

using namespace kr31;

namespace {

QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

Settings &settings()
{
    static Settings s([] { return folder().path() + u'/'; });
    return s;
}

const Packet &melodyPacket()
{
    static const Packet p = packet::melodyReset();
    return p;
}

void BuildAndWriteMelodySound(benchmark::State &state)
{
    const int mode = int(state.range(0));
    settings().setWaveMode(mode);
    const QString path = folder().path() + QStringLiteral("/Creat.WAV");
    qint64 bytes = 0;
    for (auto _ : state) {
        // As a transfer does it: the mode read from set.ini at the leader and at every byte.
        const QByteArray samples = tone::transferSound(melodyPacket(), [] { return settings().waveMode(); });
        wav::write(path, samples, nullptr, textfile::Durability::Scratch); // as a transfer writes it
        bytes = samples.size() + 44;
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BuildAndWriteMelodySound)->Arg(0)->Arg(2)->Unit(benchmark::kMicrosecond);

void PlainWriteSameBytes(benchmark::State &state)
{
    const int mode = int(state.range(0));
    const QByteArray file = wav::fileBytes(tone::transferSound(melodyPacket(), [=] { return mode; }));
    const QByteArray path = (folder().path() + QStringLiteral("/plain.bin")).toLocal8Bit();
    for (auto _ : state) {
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        benchmark::DoNotOptimize(::write(fd, file.constData(), size_t(file.size())));
        ::close(fd);
    }
}
BENCHMARK(PlainWriteSameBytes)->Arg(0)->Arg(2)->Unit(benchmark::kMicrosecond);

void DecodeMelodySound(benchmark::State &state)
{
    const int mode = int(state.range(0));
    const QByteArray samples = tone::transferSound(melodyPacket(), [=] { return mode; });
    for (auto _ : state)
        benchmark::DoNotOptimize(tone::decode(samples));
}
BENCHMARK(DecodeMelodySound)->Arg(0)->Arg(2)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
