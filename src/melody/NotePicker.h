#pragma once

#include <functional>

class QWidget;

namespace kr31 {

// The note picker as the melody editor reaches it.
class NotePicker
{
public:
    enum class Mode { Insert, Edit };

    virtual ~NotePicker() = default;
    // Shows the picker modally, centred on the screen, to insert a note
    // before or to replace the note code current, selected in opener; chosen
    // runs with the code of the note picked as the picker closes. Closing it
    // otherwise picks nothing.
    virtual void pickNote(Mode mode, int current, QWidget *opener, std::function<void(int)> chosen) = 0;
};

} // namespace kr31
