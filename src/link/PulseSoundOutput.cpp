#include "link/PulseSoundOutput.h"

namespace kr31 {

PulseSoundOutput::PulseSoundOutput(int marginMs)
    : m_marginMs(marginMs)
{
}

PulseSoundOutput::~PulseSoundOutput() = default;

bool PulseSoundOutput::connect()
{
    return false;
}

} // namespace kr31
