#pragma once

#include <QStringList>

#include <functional>

class QWidget;

namespace kr31 {

class Melody;

// The virtual lamp as the editors reach it: it runs a program or a melody
// beside the window that opens it (its opener), which it moves aside when
// there is no room.
class LampRunner
{
public:
    virtual ~LampRunner() = default;
    // Runs a command list from the start; onLine gets the line of the list
    // that is running (-1 for none) whenever it changes. numberOf gives the
    // number the opener shows the learner for a line of the list (the text
    // editor's line numbers count from 1); without it the line's own index,
    // as the icon editor numbers its slots and a repeat names its target.
    virtual void runProgram(const QStringList &commandList, QWidget *opener, std::function<void(int)> onLine = {},
                            std::function<int(int)> numberOf = {}) = 0;
    // Plays a melody from the start, the light following its link values.
    virtual void runMelody(const Melody &melody, QWidget *opener) = 0;
};

} // namespace kr31
