#pragma once

#include <QString>

#include <alsa/asoundlib.h>

namespace kr31 {

// The functions of ALSA's library this program calls. The library is loaded
// when first needed (noting the mixer at start does it on another thread)
// rather than with the program: its symbols are all resolved when it loads,
// a noticeable part of every start, and most runs play nothing.
#define KR31_ALSA_FUNCTIONS(X)                                                                                        \
    X(snd_lib_error_set_handler)                                                                                      \
    X(snd_mixer_attach)                                                                                               \
    X(snd_mixer_close)                                                                                                \
    X(snd_mixer_find_selem)                                                                                           \
    X(snd_mixer_load)                                                                                                 \
    X(snd_mixer_open)                                                                                                 \
    X(snd_mixer_selem_get_playback_switch)                                                                            \
    X(snd_mixer_selem_get_playback_volume)                                                                            \
    X(snd_mixer_selem_get_playback_volume_range)                                                                      \
    X(snd_mixer_selem_has_playback_channel)                                                                           \
    X(snd_mixer_selem_has_playback_switch)                                                                            \
    X(snd_mixer_selem_has_playback_volume)                                                                            \
    X(snd_mixer_selem_has_playback_volume_joined)                                                                     \
    X(snd_mixer_selem_id_set_name)                                                                                    \
    X(snd_mixer_selem_id_sizeof)                                                                                      \
    X(snd_mixer_selem_is_playback_mono)                                                                               \
    X(snd_mixer_selem_register)                                                                                       \
    X(snd_mixer_selem_set_playback_switch_all)                                                                        \
    X(snd_mixer_selem_set_playback_volume)                                                                            \
    X(snd_mixer_selem_set_playback_volume_all)                                                                        \
    X(snd_pcm_avail)                                                                                                  \
    X(snd_pcm_close)                                                                                                  \
    X(snd_pcm_delay)                                                                                                  \
    X(snd_pcm_drain)                                                                                                  \
    X(snd_pcm_drop)                                                                                                   \
    X(snd_pcm_get_params)                                                                                             \
    X(snd_pcm_open)                                                                                                   \
    X(snd_pcm_prepare)                                                                                                \
    X(snd_pcm_recover)                                                                                                \
    X(snd_pcm_resume)                                                                                                 \
    X(snd_pcm_set_params)                                                                                             \
    X(snd_pcm_start)                                                                                                  \
    X(snd_pcm_state)                                                                                                  \
    X(snd_pcm_wait)                                                                                                   \
    X(snd_pcm_writei)

struct AlsaLibrary
{
#define KR31_ALSA_POINTER(name) decltype(&::name) name = nullptr;
    KR31_ALSA_FUNCTIONS(KR31_ALSA_POINTER)
#undef KR31_ALSA_POINTER
};

// Loads file ("libasound.so.2") and finds every function; nullptr, with the
// reason in *why, when the file or a function is missing. Loads anew at each
// call (the system keeps one copy of the file); the program calls alsa().
const AlsaLibrary *loadAlsaLibrary(const char *file, QString *why);

// ALSA's library of the system, loaded once (safe from any thread); nullptr
// when it is not installed, with the reason in *why.
const AlsaLibrary *alsa(QString *why = nullptr);

} // namespace kr31
