#pragma once

#include <functional>

class QWidget;

namespace kr31 {

enum class PaintTurn {
    AfterOthers, // after what was asked for before
    BeforeOthers, // ahead of what was asked for before (for telling the paint's moment)
};

// Runs then once window's first paint has finished, in a later turn of the
// message loop; several run in the order they were asked for, unless one asks
// to go before the others. Asked after that paint, it waits for the next one.
// Never runs for a window deleted before it paints.
void whenFirstPainted(QWidget *window, std::function<void()> then, PaintTurn turn = PaintTurn::AfterOthers);

} // namespace kr31
