#pragma once

#include <QString>

#include <pulse/pulseaudio.h>

namespace kr31 {

// The functions of the sound server's client library that this program
// calls. Like ALSA's, the library is loaded when first needed rather than
// with the program, so that a start that plays nothing does not pay for it.
#define KR31_PULSE_FUNCTIONS(X)                                                                                       \
    X(pa_context_connect)                                                                                             \
    X(pa_context_disconnect)                                                                                          \
    X(pa_context_errno)                                                                                               \
    X(pa_context_get_server_info)                                                                                     \
    X(pa_context_get_sink_info_by_index)                                                                              \
    X(pa_context_get_sink_info_by_name)                                                                               \
    X(pa_context_get_state)                                                                                           \
    X(pa_context_new_with_proplist)                                                                                   \
    X(pa_context_set_sink_input_mute)                                                                                 \
    X(pa_context_set_sink_input_volume)                                                                               \
    X(pa_context_set_sink_mute_by_name)                                                                               \
    X(pa_context_set_sink_volume_by_name)                                                                             \
    X(pa_context_set_source_output_mute)                                                                              \
    X(pa_context_set_source_output_volume)                                                                            \
    X(pa_context_unref)                                                                                               \
    X(pa_cvolume_set)                                                                                                 \
    X(pa_mainloop_dispatch)                                                                                           \
    X(pa_mainloop_free)                                                                                               \
    X(pa_mainloop_get_api)                                                                                            \
    X(pa_mainloop_new)                                                                                                \
    X(pa_mainloop_poll)                                                                                               \
    X(pa_mainloop_prepare)                                                                                            \
    X(pa_operation_get_state)                                                                                         \
    X(pa_operation_unref)                                                                                             \
    X(pa_proplist_free)                                                                                               \
    X(pa_proplist_new)                                                                                                \
    X(pa_proplist_sets)                                                                                               \
    X(pa_stream_connect_playback)                                                                                     \
    X(pa_stream_connect_record)                                                                                       \
    X(pa_stream_cork)                                                                                                 \
    X(pa_stream_disconnect)                                                                                           \
    X(pa_stream_drain)                                                                                                \
    X(pa_stream_drop)                                                                                                 \
    X(pa_stream_get_device_index)                                                                                     \
    X(pa_stream_get_index)                                                                                            \
    X(pa_stream_get_state)                                                                                            \
    X(pa_stream_new_with_proplist)                                                                                    \
    X(pa_stream_peek)                                                                                                 \
    X(pa_stream_readable_size)                                                                                        \
    X(pa_stream_set_event_callback)                                                                                   \
    X(pa_stream_set_moved_callback)                                                                                   \
    X(pa_stream_set_suspended_callback)                                                                               \
    X(pa_stream_set_underflow_callback)                                                                               \
    X(pa_stream_is_suspended)                                                                                         \
    X(pa_stream_unref)                                                                                                \
    X(pa_stream_writable_size)                                                                                        \
    X(pa_stream_write)

struct PulseLibrary
{
#define KR31_PULSE_POINTER(name) decltype(&::name) name = nullptr;
    KR31_PULSE_FUNCTIONS(KR31_PULSE_POINTER)
#undef KR31_PULSE_POINTER
};

// The sound server's client library ("libpulse.so.0"), loaded once (safe
// from any thread); nullptr when it is not installed, with the reason in *why.
const PulseLibrary *pulse(QString *why = nullptr);

} // namespace kr31
