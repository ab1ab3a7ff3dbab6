#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace kr31 {

// One slot of the icon editor: a command code and its two argument texts.
// An empty slot holds "27" and no values.
struct IconSlot
{
    QString code = QStringLiteral("27");
    QString value1;
    QString value2;

    bool isEmpty() const { return code == QLatin1String("27"); }
    bool operator==(const IconSlot &) const = default;
};

// What the argument controls show and store for one argument after a value
// reached them: the slider position, the value box text and the slot text.
struct ArgumentState
{
    int slider;
    QString box;
    QString slot;
    bool operator==(const ArgumentState &) const = default;
};

// The outcome of checking an icon program before it is sent or saved.
struct IconCheck
{
    bool ok = true;
    QStringList messages; // the messages shown, in order (a nested repeat shows none)
    int slot = -1;        // the slot that failed; -1 when the total failed or all passed
};

// Rules of the icon editor's commands: pictures, weights, argument ranges.
namespace icon {

inline constexpr int SlotCount = 47;
inline constexpr int SlotPitch = 105;   // pixels between slot columns
inline constexpr int StripEnd = 4426;   // last scroll position of the slot strip

// The left edge of a slot's picture in the strip.
inline constexpr int slotLeft(int slot)
{
    return SlotPitch * slot + 10;
}

// The slot whose picture (100 x 170 at the strip's y 32) lies under a point of the strip, or -1.
inline constexpr int slotAt(int x, int y)
{
    if (x < 10 || y < 32 || y >= 32 + 170)
        return -1;
    const int slot = (x - 10) / SlotPitch;
    if (slot >= SlotCount || x - slotLeft(slot) >= 100)
        return -1;
    return slot;
}

// "Img/DD/Icon/<picture>" of a code; "Empty.jpg" for 27 and codes that are no command.
QString iconPath(int code);
// The palette picture of a command ("Img/DD/Palette/ON.jpg").
QString palettePath(int code);
// The drag picture of a palette command ("Img/DD/Icon/ON.bmp").
QString dragPicturePath(int code);
// Bytes a slot's code takes: 2 for 18, 3 for 19..22 and the loop variants,
// 0 for 27 and 100, 1 for anything else (also codes that are no command).
int iconWeight(int code);
// Maximum of the argument-1 slider: 64800 for 21, 46 for 22, else 100.
int value1Max(int code);
// Maximum of the argument-2 slider: always 255.
int value2Max(int code);
// A slider's page step: its maximum / 10, halves to even.
int pageStep(int maximum);
// Whether the argument-1 and argument-2 controls show for a code.
bool showsValue1(int code);
bool showsValue2(int code);

// A value typed into a value box whose slider spans min..max: nothing (the
// box is emptied, the slot keeps its value) unless the text is an integer;
// otherwise slider, box and slot all take it limited to min..max.
std::optional<ArgumentState> typedValue(const QString &text, int min, int max);

// A stored value reaching the controls from a file or after insert/delete:
// the slider starts at min. A value above max becomes max in box and slot; a
// value below min (or no integer) leaves the slider at min, the box empty and
// the slot's text as stored; exactly min shows min in the box.
ArgumentState storedValue(const QString &text, int min, int max);

struct Hms
{
    int hours, minutes, seconds;
    bool operator==(const Hms &) const = default;
};
// Seconds split for the spin boxes (hours 0..18, minutes and seconds 0..59, each limited).
Hms splitTime(int seconds);
int joinTime(const Hms &time);

} // namespace icon

// The icon program: 47 slots, the editing operations and the compilation.
// A plain value: copy it, compare it, keep it as a snapshot.
class IconProgram
{
public:
    std::array<IconSlot, icon::SlotCount> Slots;

    bool operator==(const IconProgram &) const = default;

    // The total as the editor counts it: weights up to the first empty or Stop slot.
    int slotTotal() const;

    // One line per slot, 47 in all: "19,50,10", "18,50", "22,…" for the loop
    // variants, the code alone otherwise. Texts are copied as they stand.
    QStringList compileSlots() const;

    // The compiled lines up to (not including) the first "27" or "100".
    QStringList chartSteps() const;

    // The check before sending and saving (see the .cpp for the rules).
    IconCheck checkProgram() const;

    // Places a palette command on a slot with the controls' defaults. Refused
    // (false) when the total plus its weight would pass 47; the slot is then unchanged.
    bool drop(int slot, int code);

    // A slot filled as from a file line: code as its integer in decimal, the
    // arguments passed through the controls (limited above, time re-joined).
    void load(int slot, int code, const QString &value1, const QString &value2);

    // Opens an empty slot at slot, moving the rest right; slot 46 falls off.
    // Moved slots pass through their controls again, as after a load.
    void insertAt(int slot);
    // Removes slot, moving the rest left; slot 46 becomes empty.
    void deleteAt(int slot);
    // Empties every slot.
    void clear();

private:
    void refill();
};

} // namespace kr31
