// What the virtual lamp hears, as any packet of values 0..255: the LED program
// interpreter run on with touches and odd time steps, and the melody player.
// Neither may hang (a program of commands that take no time loops without end
// only in steps of real time) nor leave its command list.
#include "lamp/LampMachine.h"
#include "lamp/MelodyRun.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QList<int> packet;
    for (size_t i = 0; i < size; ++i)
        packet.append(data[i]);
    const size_t half = size / 2;
    kr31::lamp::LampMachine machine = kr31::lamp::LampMachine::fromPacket(packet.mid(0, qsizetype(half)));
    machine.setSpeed(1 + (size > 0 ? data[0] % 60 : 0));
    machine.advance(0);
    for (size_t i = half; i < size && i < half + 200; ++i) {
        machine.setTouch(data[i] & 1);
        machine.advance(qint64(data[i]) * 97);
        const int step = machine.state().step;
        if (step < -1 || step >= machine.steps().size())
            __builtin_trap();
    }
    kr31::lamp::MelodyRun melody = kr31::lamp::MelodyRun::fromPacket(packet);
    for (int i = 0; i < 50; ++i)
        melody.advance(melody.lengthMs() / 40 + 1);
    return 0;
}
