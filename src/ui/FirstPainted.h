#pragma once

#include <functional>

class QWidget;

namespace kr31 {

// Runs then once window's first paint has finished, in a later turn of the
// message loop; several run in the order they were asked for. Asked after
// that paint, it waits for the next one. Never runs for a window deleted
// before it paints.
void whenFirstPainted(QWidget *window, std::function<void()> then);

} // namespace kr31
