#pragma once

#include <QRect>
#include <QString>

#include <functional>

class QLineEdit;
class QSlider;
class QWidget;

namespace kr31 {

// A value slider (horizontal) and a value box (right-aligned) of the given
// component name and geometry on parent, as the value dialogs lay them out.
QSlider *makeValueBar(QWidget *parent, const char *name, const QRect &geometry);
QLineEdit *makeValueBox(QWidget *parent, const char *name, const QRect &geometry);

// Couples a value slider and its value box both ways: a new slider position
// shows in the box; an integer typed into the box (not "-0") moves the
// slider and the box then shows it limited to the slider's range; any other
// typed text empties the box (and the value stays what it was). changed runs
// with the box's new text after a slider move or a typed integer.
void coupleValue(QSlider *slider, QLineEdit *box, std::function<void(const QString &)> changed = {});

// Sets a slider's range, page step (a tenth of the maximum, halves to even)
// and position without the coupling reacting, and shows position in box. A
// range whose maximum is not above its minimum is ignored (a hidden slider
// may keep an earlier one).
void setValueControls(QSlider *slider, QLineEdit *box, int min, int max, int position);

} // namespace kr31
