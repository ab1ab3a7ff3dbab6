#pragma once

#include "core/Services.h"
#include "core/Settings.h"
#include "sound/SoundOutput.h"
#include "link/Transmitter.h"
#include "ui/Printing.h"

namespace kr31 {

// The side effects a window may cause, handed to every window at construction.
// Production wires the real ones; tests wire fakes.
struct Services
{
    Dialogs &dialogs;
    SoundOutput &sound;
    Shell &shell;
    Clock &clock;
    Settings &settings;
    Transmitter &transmitter;
    Printing &printing;
};

} // namespace kr31
