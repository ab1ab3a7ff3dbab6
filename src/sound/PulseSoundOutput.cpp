#include "sound/PulseSoundOutput.h"

#include "core/Messages.h"
#include "link/HeardCheck.h"
#include "sound/PulseLibrary.h"
#include "sound/PulseSession.h"
#include "link/WavFile.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstring>
#include <memory>

namespace kr31 {

namespace {

using namespace pulsesession;

constexpr quint32 Rate = 48000;
// How long the monitor may lag behind the output once the sound has drained.
constexpr int HearingMs = 500;
const QString StateMarker = QStringLiteral("pulse");

bool fail(QString *error, const QString &reason)
{
    *error = msg::cannotPlay(reason);
    return false;
}

QString heardReason(heard::Verdict verdict)
{
    switch (verdict) {
    case heard::Verdict::Silent: return msg::HeardNothing;
    case heard::Verdict::TooQuiet: return msg::HeardTooQuiet;
    case heard::Verdict::Reshaped: return msg::HeardReshaped;
    case heard::Verdict::Mixed: return msg::HeardMixed;
    case heard::Verdict::Cut: return msg::HeardCut;
    case heard::Verdict::Exact:
        break;
    }
    return {};
}

// What happened to a stream while it played, set by the server's callbacks.
struct StreamNews
{
    bool moved = false;
    bool suspended = false;
    bool corkRequested = false;
    int underflows = 0;
};

// The server takes and gives 16-bit samples: 8-bit ones would be exact too,
// but a server may fill the gaps of an 8-bit stream with zero bytes, the
// lowest level, where 16-bit zeros are silence.
constexpr size_t SampleBytes = 2;

QByteArray wideSamples(const QByteArray &samples)
{
    QByteArray wide(samples.size() * qsizetype(SampleBytes), Qt::Uninitialized);
    auto *out = reinterpret_cast<qint16 *>(wide.data());
    for (qsizetype i = 0; i < samples.size(); ++i)
        out[i] = qint16((int(static_cast<unsigned char>(samples[i])) - 128) * 256);
    return wide;
}

// 16-bit samples back to 8-bit ones, to the nearest level.
void appendNarrow(QByteArray *narrow, const char *wide, size_t bytes)
{
    const auto *in = reinterpret_cast<const qint16 *>(wide);
    for (size_t i = 0; i < bytes / SampleBytes; ++i)
        narrow->append(char(std::clamp((int(in[i]) + 32768 + 128) >> 8, 0, 255)));
}

pa_stream *newStream(Session &session, const QString &title, StreamNews *news)
{
    const QByteArray utf8 = title.toUtf8();
    const char *name = utf8.constData();
    const pa_sample_spec format{PA_SAMPLE_S16NE, Rate, 1};
    pa_proplist *props = P().pa_proplist_new();
    P().pa_proplist_sets(props, PA_PROP_MEDIA_NAME, name);
    // Asks a PipeWire graph for the sound's own rate where it may switch.
    P().pa_proplist_sets(props, "node.rate", "1/48000");
    pa_stream *stream = P().pa_stream_new_with_proplist(session.context(), name, &format, nullptr, props);
    P().pa_proplist_free(props);
    if (!stream)
        return nullptr;
    P().pa_stream_set_moved_callback(stream, [](pa_stream *, void *d) { static_cast<StreamNews *>(d)->moved = true; },
                                     news);
    P().pa_stream_set_suspended_callback(
        stream,
        [](pa_stream *s, void *d) {
            if (P().pa_stream_is_suspended(s) == 1)
                static_cast<StreamNews *>(d)->suspended = true;
        },
        news);
    P().pa_stream_set_underflow_callback(
        stream, [](pa_stream *, void *d) { ++static_cast<StreamNews *>(d)->underflows; }, news);
    P().pa_stream_set_event_callback(
        stream,
        [](pa_stream *, const char *event, pa_proplist *, void *d) {
            if (std::strcmp(event, PA_STREAM_EVENT_REQUEST_CORK) == 0)
                static_cast<StreamNews *>(d)->corkRequested = true;
        },
        news);
    return stream;
}

bool awaitReady(Session &session, pa_stream *stream)
{
    return session.until(StepMs, [stream] {
        const pa_stream_state_t state = P().pa_stream_get_state(stream);
        return state == PA_STREAM_READY ? 1 : PA_STREAM_IS_GOOD(state) ? 0 : -1;
    });
}

struct StreamDeleter
{
    void operator()(pa_stream *stream) const
    {
        if (P().pa_stream_get_state(stream) == PA_STREAM_READY)
            P().pa_stream_disconnect(stream);
        P().pa_stream_unref(stream);
    }
};
using Stream = std::unique_ptr<pa_stream, StreamDeleter>;

// The program's stream to an output, corked, ready to be filled; a transfer's
// at full level.
Stream openPlayback(Session &session, const OutputInfo &output, bool transfer, StreamNews *news)
{
    Stream stream(newStream(session, transfer ? msg::SendStreamName : msg::StreamName, news));
    if (!stream)
        return nullptr;
    pa_buffer_attr attr;
    attr.maxlength = quint32(-1);
    attr.tlength = Rate / 10 * SampleBytes; // 100 ms: a short tail to wait for at the end
    attr.prebuf = quint32(-1);
    attr.minreq = quint32(-1);
    attr.fragsize = quint32(-1);
    const auto flags = pa_stream_flags_t(PA_STREAM_START_CORKED | PA_STREAM_ADJUST_LATENCY | PA_STREAM_DONT_MOVE
                                         | (transfer ? PA_STREAM_START_UNMUTED : 0));
    const pa_cvolume full = fullVolume(1);
    if (P().pa_stream_connect_playback(stream.get(), output.name.toUtf8().constData(), &attr, flags,
                                       transfer ? &full : nullptr, nullptr) < 0
        || !awaitReady(session, stream.get()))
        return nullptr;
    return stream;
}

// A recording of an output's monitor at the sound's own format.
Stream openMonitor(Session &session, const OutputInfo &output, StreamNews *news)
{
    if (output.monitor.isEmpty())
        return nullptr;
    Stream stream(newStream(session, msg::SendCheckStreamName, news));
    if (!stream)
        return nullptr;
    pa_buffer_attr attr;
    std::memset(&attr, 0xff, sizeof attr);
    attr.fragsize = Rate / 100 * SampleBytes;
    const auto flags = pa_stream_flags_t(PA_STREAM_ADJUST_LATENCY | PA_STREAM_DONT_MOVE);
    if (P().pa_stream_connect_record(stream.get(), output.monitor.toUtf8().constData(), &attr, flags) < 0
        || !awaitReady(session, stream.get()))
        return nullptr;
    // A recording volume the server remembers for the program would make a
    // sound played at full level seem quiet.
    const quint32 index = P().pa_stream_get_index(stream.get());
    const pa_cvolume full = fullVolume(1);
    session.awaitAll({P().pa_context_set_source_output_volume(session.context(), index, &full, nullptr, nullptr),
                      P().pa_context_set_source_output_mute(session.context(), index, 0, nullptr, nullptr)});
    return stream;
}

void takeRecorded(pa_stream *stream, QByteArray *heard)
{
    while (P().pa_stream_readable_size(stream) > 0) {
        const void *data = nullptr;
        size_t size = 0;
        if (P().pa_stream_peek(stream, &data, &size) < 0 || size == 0)
            return;
        if (data)
            appendNarrow(heard, static_cast<const char *>(data), size);
        else
            heard->append(QByteArray(qsizetype(size / SampleBytes), char(128))); // a hole: silence
        P().pa_stream_drop(stream);
    }
}

} // namespace

PulseSoundOutput::PulseSoundOutput(int marginMs)
    : m_marginMs(marginMs)
{
}

PulseSoundOutput::~PulseSoundOutput() = default;

bool PulseSoundOutput::connect()
{
    if (!pulse())
        return false;
    Session session;
    return session.connect();
}

void PulseSoundOutput::noteState()
{
    withServer([this](Session &session) {
        const OutputInfo output = outputNamed(session, defaultOutputName(session));
        if (!output.found)
            return;
        OutputState state{output.name, {}, output.mute};
        for (int c = 0; c < output.volume.channels; ++c)
            state.volumes.append(output.volume.values[c]);
        const std::lock_guard lock(m_mutex);
        m_noted = state;
    });
}

void PulseSoundOutput::prepare()
{
    withServer([](Session &session) {
        const OutputInfo output = outputNamed(session, defaultOutputName(session));
        if (!output.found)
            return;
        const pa_cvolume full = fullVolume(output.volume.channels);
        setOutput(session, output.name, &full, false);
    });
}

void PulseSoundOutput::silence()
{
    withServer([](Session &session) { setOutput(session, defaultOutputName(session), nullptr, true); });
}

void PulseSoundOutput::putBack(const OutputState &state, bool mute)
{
    withServer([&](Session &session) {
        pa_cvolume volume{};
        volume.channels = quint8(std::min<qsizetype>(state.volumes.size(), PA_CHANNELS_MAX));
        for (int c = 0; c < volume.channels; ++c)
            volume.values[c] = state.volumes.at(c);
        setOutput(session, state.name, volume.channels ? &volume : nullptr, mute);
    });
}

void PulseSoundOutput::restore(bool atExit)
{
    std::optional<OutputState> noted;
    {
        const std::lock_guard lock(m_mutex);
        noted = m_noted;
    }
    if (noted)
        putBack(*noted, atExit && noted->mute);
}

QStringList PulseSoundOutput::stateLines(const OutputState &state)
{
    QStringList volumes;
    for (quint32 v : state.volumes)
        volumes.append(QString::number(v));
    return {StateMarker, QStringLiteral("output=") + state.name, QStringLiteral("volumes=") + volumes.join(u','),
            QStringLiteral("mute=") + QString::number(int(state.mute))};
}

std::optional<PulseSoundOutput::OutputState> PulseSoundOutput::stateOf(const QStringList &lines)
{
    if (lines.size() != 4 || lines[0] != StateMarker || !lines[1].startsWith(u"output=")
        || !lines[2].startsWith(u"volumes=") || !lines[3].startsWith(u"mute="))
        return std::nullopt;
    OutputState state;
    state.name = lines[1].mid(7);
    const QString mute = lines[3].mid(5);
    if (state.name.isEmpty() || (mute != u"0" && mute != u"1"))
        return std::nullopt;
    state.mute = mute == u"1";
    const QStringList volumes = lines[2].mid(8).split(u',');
    if (volumes.size() > PA_CHANNELS_MAX)
        return std::nullopt;
    for (const QString &v : volumes) {
        bool ok = false;
        const uint value = v.toUInt(&ok);
        if (!ok || value > PA_VOLUME_MAX)
            return std::nullopt;
        state.volumes.append(value);
    }
    return state;
}

QStringList PulseSoundOutput::notedState() const
{
    const std::lock_guard lock(m_mutex);
    return m_noted ? stateLines(*m_noted) : QStringList();
}

bool PulseSoundOutput::adoptNoted(const QStringList &lines)
{
    const std::optional<OutputState> state = stateOf(lines);
    if (!state)
        return false;
    const std::lock_guard lock(m_mutex);
    m_noted = state;
    return true;
}

bool PulseSoundOutput::restoreNoted(const QStringList &lines)
{
    const std::optional<OutputState> state = stateOf(lines);
    if (!state)
        return false;
    putBack(*state, state->mute);
    return true;
}

bool PulseSoundOutput::play(const QString &path, QString *error)
{
    QString ignored;
    return playFile(path, std::nullopt, error, &ignored);
}

bool PulseSoundOutput::playTransfer(const QString &path, int mode, QString *error, QString *warning)
{
    return playFile(path, mode, error, warning);
}

bool PulseSoundOutput::playFile(const QString &path, std::optional<int> transferMode, QString *error, QString *warning)
{
    m_stop = false;
    QElapsedTimer clock;
    clock.start();
    QString message;
    const std::optional<QByteArray> samples = wav::readPlayable(path, &message);
    if (!samples) {
        *error = message;
        return false;
    }
    if (samples->isEmpty())
        return true;
    const qint64 deadline = samples->size() * 1000 / Rate + m_marginMs;
    if (!pulse())
        return fail(error, msg::SoundLibraryMissing);
    Session session;
    if (!session.connect())
        return fail(error, msg::NoSoundServer);
    const bool transfer = transferMode.has_value();

    // The output's rate, before a sample leaves: the stream itself asks an
    // idle output to switch to it, so a second look after reopening it sees
    // an output that has just become free.
    StreamNews news;
    OutputInfo output = outputNamed(session, defaultOutputName(session));
    if (!output.found)
        return fail(error, msg::NoSoundDevice);
    Stream stream = openPlayback(session, output, transfer, &news);
    if (stream)
        output = outputNumbered(session, P().pa_stream_get_device_index(stream.get()));
    if (stream && transfer && output.rate != Rate) {
        stream.reset();
        stream = openPlayback(session, output, transfer, &news);
        if (stream)
            output = outputNumbered(session, P().pa_stream_get_device_index(stream.get()));
    }
    if (!stream)
        return fail(error, msg::ServerRefusedSound);
    const bool exactRate = output.rate == Rate;
    if (transfer && !exactRate) {
        if (*transferMode >= 2) {
            *error = msg::outputRate(int(output.rate), true);
            return false;
        }
        *warning = msg::outputRate(int(output.rate), false);
    }

    // What left the output, heard from before the sound begins.
    StreamNews monitorNews;
    QByteArray heard;
    Stream monitor = transfer && exactRate ? openMonitor(session, output, &monitorNews) : nullptr;

    const QByteArray wide = wideSamples(*samples);
    const auto *data = wide.constData();
    const size_t total = size_t(wide.size());
    size_t written = 0;
    qint64 lastTaken = clock.elapsed(); // when the server last took samples
    const auto feed = [&] {
        const size_t room = P().pa_stream_writable_size(stream.get());
        const size_t n = std::min(room == size_t(-1) ? 0 : room, total - written) / SampleBytes * SampleBytes;
        if (n > 0 && P().pa_stream_write(stream.get(), data + written, n, nullptr, 0, PA_SEEK_RELATIVE) == 0) {
            written += n;
            lastTaken = clock.elapsed();
        }
    };
    feed(); // filled before it starts, so that it cannot run dry at once
    session.await(P().pa_stream_cork(stream.get(), 0, nullptr, nullptr));
    if (transfer) {
        // The stream plays at full level already (given when it was opened).
        // A server remembers a program's volume only when it changes, so a
        // step of 1/65536 below it and back makes it remember full level
        // instead of a volume someone turned down before.
        const quint32 index = P().pa_stream_get_index(stream.get());
        pa_cvolume nudged = fullVolume(1);
        nudged.values[0] = PA_VOLUME_NORM - 1;
        const pa_cvolume full = fullVolume(1);
        session.await(P().pa_context_set_sink_input_volume(session.context(), index, &nudged, nullptr, nullptr), 0);
        session.await(P().pa_context_set_sink_input_volume(session.context(), index, &full, nullptr, nullptr), 0);
    }

    bool drained = false;
    pa_operation *drain = nullptr;
    QString trouble;
    while (!drained) {
        if (m_stop) {
            if (drain)
                P().pa_operation_unref(drain);
            return true;
        }
        if (clock.elapsed() > deadline)
            trouble = msg::PlayTimedOut;
        else if (written < total && clock.elapsed() - lastTaken >= msg::StallMs)
            trouble = msg::SoundStalled;
        else if (!PA_STREAM_IS_GOOD(P().pa_stream_get_state(stream.get())))
            trouble = msg::ServerEndedSound;
        else if (news.moved)
            trouble = msg::OutputChanged;
        else if (news.suspended || news.corkRequested)
            trouble = msg::ServerPausedSound;
        else if (news.underflows > 0 && !drain)
            trouble = msg::SoundUnderflow;
        if (!trouble.isEmpty()) {
            if (drain)
                P().pa_operation_unref(drain);
            return fail(error, trouble);
        }
        if (written < total) {
            feed();
        } else if (!drain) {
            drain = P().pa_stream_drain(stream.get(), nullptr, nullptr);
            if (!drain)
                return fail(error, msg::SoundServerError);
        } else if (P().pa_operation_get_state(drain) != PA_OPERATION_RUNNING) {
            drained = true;
            P().pa_operation_unref(drain);
        }
        if (monitor)
            takeRecorded(monitor.get(), &heard);
        session.iterate(10);
    }
    if (!monitor)
        return true;

    // The monitor lags: listen on until the whole sound is in.
    const int allowance = heard::clipAllowance(*transferMode);
    QElapsedTimer tail;
    tail.start();
    heard::Result result = heard::compare(*samples, heard, allowance);
    while (result.verdict != heard::Verdict::Exact && tail.elapsed() < HearingMs && !m_stop) {
        session.iterate(10);
        takeRecorded(monitor.get(), &heard);
        result = heard::compare(*samples, heard, allowance);
    }
    if (result.verdict == heard::Verdict::Exact || m_stop)
        return true;
    if (monitorNews.moved || !PA_STREAM_IS_GOOD(P().pa_stream_get_state(monitor.get())))
        return true; // the recording failed, not the sound: nothing to tell
    *error = msg::withReason(msg::NotHeard, heardReason(result.verdict));
    return false;
}

} // namespace kr31
