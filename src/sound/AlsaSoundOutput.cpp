#include "sound/AlsaSoundOutput.h"

#include "core/Messages.h"
#include "core/TextFile.h"
#include "sound/MixerLevels.h"
#include "link/WavFile.h"

#include <QElapsedTimer>
#include <QThread>

#include "sound/AlsaLibrary.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <memory>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace kr31 {

namespace {

constexpr unsigned kRate = 48000;
constexpr unsigned kLatencyUs = 200000;

using Pcm = std::unique_ptr<snd_pcm_t, decltype(&snd_pcm_close)>;
using Mixer = std::unique_ptr<snd_mixer_t, decltype(&snd_mixer_close)>;

void ignoreAlsaMessage(const char *, int, const char *, int, const char *, ...) {}

// ALSA prints its own complaints on stderr; ours go to the user instead.
void quietAlsa()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (const AlsaLibrary *library = alsa())
            library->snd_lib_error_set_handler(ignoreAlsaMessage);
    });
}

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

// Brings the stream back after an underrun or a suspend; -EAGAIN means
// "not yet, try again later".
int recoverStream(snd_pcm_t *pcm, int err)
{
    if (err != -ESTRPIPE)
        return alsa()->snd_pcm_recover(pcm, err, 1);
    err = alsa()->snd_pcm_resume(pcm);
    return err == -EAGAIN ? err : err < 0 ? alsa()->snd_pcm_prepare(pcm) : 0;
}

using SteadyClock = std::chrono::steady_clock;

// Why ALSA failed, in words for the user: the common cases by name, the rest
// as one general sentence.
QString alsaReason(int err)
{
    switch (-err) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return msg::NoSoundDevice;
    case EBUSY:
        return msg::SoundDeviceBusy;
    case EACCES:
    case EPERM:
        return msg::SoundDeviceForbidden;
    default:
        return msg::SoundDeviceError;
    }
}

// The moment the device last took samples (or its delay last moved), as
// steady-clock ticks; the caller watches it for a device that stalls.
using Progress = std::atomic<SteadyClock::rep>;

void stampProgress(Progress &progress)
{
    progress.store(SteadyClock::now().time_since_epoch().count());
}

// Plays samples on "default", giving up at the deadline wherever it can. On
// failure sets *reason to why.
bool playSamples(const QByteArray &samples, SteadyClock::time_point deadlineAt, QString *reason,
                 const std::atomic<bool> &stop, Progress &progress)
{
    const auto alsaFailed = [reason](int err) {
        *reason = alsaReason(err);
        return false;
    };
    snd_pcm_t *raw = nullptr;
    if (const int err = alsa()->snd_pcm_open(&raw, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK); err < 0)
        return alsaFailed(err);
    const Pcm pcm(raw, alsa()->snd_pcm_close);
    if (const int err = alsa()->snd_pcm_set_params(raw, SND_PCM_FORMAT_U8, SND_PCM_ACCESS_RW_INTERLEAVED, 1, kRate, 1,
                                           kLatencyUs);
        err < 0)
        return alsaFailed(err);

    QElapsedTimer clock;
    clock.start();
    const qint64 deadline =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadlineAt - SteadyClock::now()).count();

    const auto *data = reinterpret_cast<const unsigned char *>(samples.constData());
    const snd_pcm_uframes_t total = samples.size();
    const auto stopped = [&] {
        if (!stop)
            return false;
        alsa()->snd_pcm_drop(raw);
        return true;
    };
    for (snd_pcm_uframes_t done = 0; done < total;) {
        if (stopped())
            return true;
        if (clock.elapsed() >= deadline)
            return fail(reason, msg::PlayTimedOut);
        const snd_pcm_sframes_t written = alsa()->snd_pcm_writei(raw, data + done, total - done);
        if (written > 0) {
            done += written;
            stampProgress(progress);
            continue;
        }
        const int waitMs = int(std::clamp<qint64>(deadline - clock.elapsed(), 1, 100));
        int err = written == 0 || written == -EAGAIN ? alsa()->snd_pcm_wait(raw, waitMs) : int(written);
        if (err < 0)
            err = recoverStream(raw, err);
        if (err == -EAGAIN)
            QThread::msleep(10);
        else if (err < 0)
            return alsaFailed(err);
    }

    // Let the device run down before draining, as some plugins block in drain
    // even on a non-blocking stream. Drain early only when our buffer is empty
    // and the delay has stopped shrinking: that is a sound server's own latency.
    if (alsa()->snd_pcm_state(raw) == SND_PCM_STATE_PREPARED) {
        if (const int err = alsa()->snd_pcm_start(raw); err < 0)
            return alsaFailed(err);
    }
    snd_pcm_uframes_t bufferSize = 0, periodSize = 0;
    alsa()->snd_pcm_get_params(raw, &bufferSize, &periodSize);
    snd_pcm_sframes_t lastDelay = -1;
    for (qint64 lastChange = 0;;) {
        snd_pcm_sframes_t delay = 0;
        const snd_pcm_sframes_t avail = alsa()->snd_pcm_avail(raw);
        if (alsa()->snd_pcm_state(raw) != SND_PCM_STATE_RUNNING || avail < 0 || alsa()->snd_pcm_delay(raw, &delay) < 0 || delay <= 0)
            break;
        if (delay != lastDelay) {
            lastDelay = delay;
            lastChange = clock.elapsed();
            stampProgress(progress);
        } else if (snd_pcm_uframes_t(avail) >= bufferSize && clock.elapsed() - lastChange >= 200) {
            break;
        }
        if (stopped())
            return true;
        if (clock.elapsed() >= deadline)
            return fail(reason, msg::PlayTimedOut);
        QThread::msleep(5);
    }
    if (alsa()->snd_pcm_state(raw) == SND_PCM_STATE_XRUN)
        return true; // ran dry, so everything has played
    // A non-blocking drain may return at once and leave the stream DRAINING.
    const int drained = alsa()->snd_pcm_drain(raw);
    while (alsa()->snd_pcm_state(raw) == SND_PCM_STATE_DRAINING) {
        if (clock.elapsed() >= deadline)
            return fail(reason, msg::PlayTimedOut);
        QThread::msleep(5);
    }
    if (drained < 0 && drained != -EAGAIN && drained != -EPIPE)
        return alsaFailed(drained);
    return true;
}

// The "default" card's mixer, or null when there is none (or no ALSA).
Mixer openMixer()
{
    quietAlsa();
    if (!alsa())
        return Mixer(nullptr, nullptr);
    snd_mixer_t *raw = nullptr;
    if (alsa()->snd_mixer_open(&raw, 0) < 0)
        return Mixer(nullptr, alsa()->snd_mixer_close);
    Mixer mixer(raw, alsa()->snd_mixer_close);
    if (alsa()->snd_mixer_attach(raw, "default") < 0 || alsa()->snd_mixer_selem_register(raw, nullptr, nullptr) < 0
        || alsa()->snd_mixer_load(raw) < 0)
        mixer.reset();
    return mixer;
}

snd_mixer_elem_t *findElement(const Mixer &mixer, const char *name)
{
    if (!mixer)
        return nullptr;
    // As snd_mixer_selem_id_alloca() does, through the loaded library.
    const size_t size = alsa()->snd_mixer_selem_id_sizeof();
    auto *id = static_cast<snd_mixer_selem_id_t *>(alloca(size));
    std::memset(id, 0, size);
    alsa()->snd_mixer_selem_id_set_name(id, name);
    return alsa()->snd_mixer_find_selem(mixer.get(), id);
}

snd_mixer_elem_t *speakersLine(const Mixer &mixer)
{
    snd_mixer_elem_t *master = findElement(mixer, "Master");
    return master ? master : findElement(mixer, "Speaker");
}

snd_mixer_elem_t *waveLine(const Mixer &mixer)
{
    return findElement(mixer, "PCM");
}

bool volumeRange(snd_mixer_elem_t *e, long *min, long *max)
{
    return e && alsa()->snd_mixer_selem_has_playback_volume(e) && alsa()->snd_mixer_selem_get_playback_volume_range(e, min, max) == 0
        && *max > *min;
}

// Whether left and right can be set apart, i.e. the line has a balance.
bool hasBalance(snd_mixer_elem_t *e)
{
    return !alsa()->snd_mixer_selem_is_playback_mono(e) && !alsa()->snd_mixer_selem_has_playback_volume_joined(e)
        && alsa()->snd_mixer_selem_has_playback_channel(e, SND_MIXER_SCHN_FRONT_LEFT)
        && alsa()->snd_mixer_selem_has_playback_channel(e, SND_MIXER_SCHN_FRONT_RIGHT);
}

// Volume is the louder side; the quieter side makes the balance (its share of
// the louder one, halved, measured from the louder side's end).
AlsaSoundOutput::LineState readLine(snd_mixer_elem_t *e)
{
    AlsaSoundOutput::LineState state;
    long min = 0, max = 0, left = 0, right = 0;
    if (volumeRange(e, &min, &max) && alsa()->snd_mixer_selem_get_playback_volume(e, SND_MIXER_SCHN_FRONT_LEFT, &left) == 0) {
        if (!hasBalance(e) || alsa()->snd_mixer_selem_get_playback_volume(e, SND_MIXER_SCHN_FRONT_RIGHT, &right) != 0)
            right = left;
        const mixer::Level level = mixer::levelOf(left, right, min, max);
        state.volume = level.volume;
        state.balance = level.balance;
    }
    int on = 1;
    if (e && alsa()->snd_mixer_selem_has_playback_switch(e)
        && alsa()->snd_mixer_selem_get_playback_switch(e, SND_MIXER_SCHN_FRONT_LEFT, &on) == 0)
        state.mute = !on;
    return state;
}

void setVolume(snd_mixer_elem_t *e, double volume, double balance)
{
    long min = 0, max = 0;
    if (!volumeRange(e, &min, &max))
        return;
    const mixer::Sides sides = mixer::sidesOf(volume, hasBalance(e) ? balance : 50, min, max);
    alsa()->snd_mixer_selem_set_playback_volume_all(e, std::max(sides.left, sides.right));
    if (sides.left != sides.right) {
        alsa()->snd_mixer_selem_set_playback_volume(e, SND_MIXER_SCHN_FRONT_LEFT, sides.left);
        alsa()->snd_mixer_selem_set_playback_volume(e, SND_MIXER_SCHN_FRONT_RIGHT, sides.right);
    }
}

void setMute(snd_mixer_elem_t *e, std::optional<bool> mute)
{
    if (e && mute && alsa()->snd_mixer_selem_has_playback_switch(e))
        alsa()->snd_mixer_selem_set_playback_switch_all(e, *mute ? 0 : 1);
}

void putBack(snd_mixer_elem_t *e, const AlsaSoundOutput::LineState &state, std::optional<bool> mute)
{
    if (state.volume)
        setVolume(e, *state.volume, state.balance);
    setMute(e, mute);
}

QString stateLine(const char *name, const AlsaSoundOutput::LineState &state)
{
    const auto exact = [](double value) { return QString::number(value, 'g', 17); };
    return QStringLiteral("alsa %1 %2 %3 %4")
        .arg(QLatin1String(name), state.volume ? exact(*state.volume) : QStringLiteral("-"), exact(state.balance),
             state.mute ? QString::number(int(*state.mute)) : QStringLiteral("-"));
}

std::optional<AlsaSoundOutput::LineState> stateOfLine(const QString &line, const char *name)
{
    const QStringList fields = line.split(u' ');
    if (fields.size() != 5 || fields.at(0) != QLatin1String("alsa") || fields.at(1) != QLatin1String(name))
        return std::nullopt;
    const auto percent = [](const QString &text) -> std::optional<double> {
        bool ok = false;
        const double value = text.toDouble(&ok);
        return ok && value >= 0 && value <= 100 ? std::optional(value) : std::nullopt;
    };
    AlsaSoundOutput::LineState state;
    if (fields.at(2) != QLatin1String("-") && !(state.volume = percent(fields.at(2))))
        return std::nullopt;
    const std::optional<double> balance = percent(fields.at(3));
    if (!balance)
        return std::nullopt;
    state.balance = *balance;
    if (fields.at(4) == QLatin1String("0") || fields.at(4) == QLatin1String("1"))
        state.mute = fields.at(4) == QLatin1String("1");
    else if (fields.at(4) != QLatin1String("-"))
        return std::nullopt;
    return state;
}

} // namespace

QStringList AlsaSoundOutput::stateLines(const LineState &speakers, const LineState &wave)
{
    return {stateLine("speakers", speakers), stateLine("wave", wave)};
}

std::optional<std::pair<AlsaSoundOutput::LineState, AlsaSoundOutput::LineState>>
AlsaSoundOutput::statesOfLines(const QStringList &lines)
{
    if (lines.size() != 2)
        return std::nullopt;
    const auto speakers = stateOfLine(lines.at(0), "speakers");
    const auto wave = stateOfLine(lines.at(1), "wave");
    if (!speakers || !wave)
        return std::nullopt;
    return std::pair(*speakers, *wave);
}

QStringList AlsaSoundOutput::notedState() const
{
    waitForNoting();
    return m_noted ? stateLines(m_speakers, m_wave) : QStringList();
}

bool AlsaSoundOutput::adoptNoted(const QStringList &lines)
{
    const auto states = statesOfLines(lines);
    if (!states)
        return false;
    waitForNoting();
    std::tie(m_speakers, m_wave) = *states;
    m_noted = true;
    return true;
}

bool AlsaSoundOutput::restoreNoted(const QStringList &lines)
{
    const auto states = statesOfLines(lines);
    if (!states)
        return false;
    waitForNoting();
    const Mixer mixer = openMixer();
    bool whole = true;
    const auto putBackLine = [&whole](snd_mixer_elem_t *e, const LineState &state) {
        if (!e && (state.volume || state.mute))
            whole = false;
        putBack(e, state, state.mute);
    };
    putBackLine(speakersLine(mixer), states->first);
    putBackLine(waveLine(mixer), states->second);
    return whole;
}

void AlsaSoundOutput::noteState()
{
    const Mixer mixer = openMixer();
    m_speakers = readLine(speakersLine(mixer));
    m_wave = readLine(waveLine(mixer));
    m_noted = true;
}

void AlsaSoundOutput::noteStateMeanwhile()
{
    m_noting = std::async(std::launch::async, [this] { noteState(); }).share();
}

void AlsaSoundOutput::waitForNoting() const
{
    if (m_noting.valid())
        m_noting.wait();
}

void AlsaSoundOutput::prepare()
{
    waitForNoting();
    const Mixer mixer = openMixer();
    for (snd_mixer_elem_t *e : {speakersLine(mixer), waveLine(mixer)}) {
        setVolume(e, 100, 50);
        setMute(e, false);
    }
}

void AlsaSoundOutput::silence()
{
    waitForNoting();
    const Mixer mixer = openMixer();
    setMute(speakersLine(mixer), true);
}

void AlsaSoundOutput::restore(bool atExit)
{
    waitForNoting();
    if (!m_noted)
        return;
    const Mixer mixer = openMixer();
    putBack(speakersLine(mixer), m_speakers, atExit ? m_speakers.mute : std::optional<bool>(false));
    putBack(waveLine(mixer), m_wave, m_wave.mute);
}

AlsaSoundOutput::AlsaSoundOutput(int marginMs, int stallMs)
    : m_marginMs(marginMs)
    , m_stallMs(stallMs)
{
}

bool AlsaSoundOutput::play(const QString &path, QString *error)
{
    const auto start = SteadyClock::now();
    QString message;
    const std::optional<QByteArray> samples = wav::readPlayable(path, &message);
    if (!samples)
        return fail(error, message);
    if (samples->isEmpty())
        return true;
    if (QString why; !alsa(&why))
        return fail(error, msg::cannotPlay(msg::SoundLibraryMissing + why));
    quietAlsa();
    const auto deadline = start + std::chrono::milliseconds(samples->size() * 1000 / kRate + m_marginMs);

    // libasound may block for good inside any call (a device that never takes
    // data blocks even the set-up), so the playing runs on a thread of its own
    // that is left behind when the deadline passes.
    struct Playback
    {
        std::mutex mutex;
        std::condition_variable finished;
        bool done = false;
        bool ok = false;
        QString reason;
        Progress progress;
    };
    const auto playback = std::make_shared<Playback>();
    stampProgress(playback->progress);
    m_stop->store(false);
    std::thread([playback, samples = *samples, deadline, stop = m_stop] {
        QString reason;
        const bool ok = playSamples(samples, deadline, &reason, *stop, playback->progress);
        const std::lock_guard lock(playback->mutex);
        playback->ok = ok;
        playback->reason = reason;
        playback->done = true;
        playback->finished.notify_all();
    }).detach();

    // Until the deadline (with a little grace, so that a stream that gives up
    // by itself says why), or until the device has taken nothing for the stall
    // time: then the thread is left behind, to give up at its own deadline.
    const auto stall = std::chrono::milliseconds(m_stallMs);
    const auto giveUp = deadline + std::chrono::milliseconds(100);
    std::unique_lock lock(playback->mutex);
    while (!playback->done) {
        const SteadyClock::time_point moved{SteadyClock::duration(playback->progress.load())};
        const auto now = SteadyClock::now();
        if (now >= giveUp || now - moved >= stall) {
            message = now >= giveUp ? msg::PlayTimedOut : msg::SoundStalled;
            break;
        }
        playback->finished.wait_until(lock, std::min(giveUp, moved + stall));
    }
    if (playback->done) {
        if (playback->ok)
            return true;
        message = playback->reason;
    }
    return fail(error, msg::cannotPlay(message));
}

} // namespace kr31
