#include "sound/PulseSession.h"

namespace kr31::pulsesession {

const PulseLibrary &P()
{
    return *pulse();
}

namespace {

void takeOutputInfo(pa_context *, const pa_sink_info *info, int eol, void *data)
{
    if (eol || !info)
        return;
    auto *out = static_cast<OutputInfo *>(data);
    out->found = true;
    out->name = QString::fromUtf8(info->name);
    out->index = info->index;
    out->rate = info->sample_spec.rate;
    out->monitor = QString::fromUtf8(info->monitor_source_name);
    out->volume = info->volume;
    out->mute = info->mute;
}

} // namespace

QString defaultOutputName(Session &session)
{
    QByteArray name;
    const auto take = [](pa_context *, const pa_server_info *info, void *data) {
        if (info && info->default_sink_name)
            *static_cast<QByteArray *>(data) = info->default_sink_name;
    };
    session.await(P().pa_context_get_server_info(session.context(), take, &name));
    return QString::fromUtf8(name);
}

OutputInfo outputNamed(Session &session, const QString &name)
{
    OutputInfo info;
    if (!name.isEmpty())
        session.await(P().pa_context_get_sink_info_by_name(session.context(), name.toUtf8().constData(),
                                                           takeOutputInfo, &info));
    return info;
}

OutputInfo outputNumbered(Session &session, quint32 index)
{
    OutputInfo info;
    session.await(P().pa_context_get_sink_info_by_index(session.context(), index, takeOutputInfo, &info));
    return info;
}

pa_cvolume fullVolume(int channels)
{
    pa_cvolume volume;
    P().pa_cvolume_set(&volume, unsigned(std::clamp(channels, 1, int(PA_CHANNELS_MAX))), PA_VOLUME_NORM);
    return volume;
}

void setOutput(Session &session, const QString &name, const pa_cvolume *volume, std::optional<bool> mute)
{
    const QByteArray n = name.toUtf8();
    if (volume)
        session.await(P().pa_context_set_sink_volume_by_name(session.context(), n.constData(), volume, nullptr, nullptr));
    if (mute)
        session.await(P().pa_context_set_sink_mute_by_name(session.context(), n.constData(), *mute, nullptr, nullptr));
}

} // namespace kr31::pulsesession
