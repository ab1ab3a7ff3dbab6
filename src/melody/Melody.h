#pragma once

#include <QList>

#include <array>

// The two-voice alarm melody as the melody editor holds it.
namespace kr31 {

namespace melody {
inline constexpr int Voices = 2;
inline constexpr int LinkValues = 13;  // C, C#, ... B, then the rest
inline constexpr int FirstX = 70;      // x of the first note on the score
inline constexpr int ScrollSpan = 432; // the score's visible width less a margin
inline constexpr int LastScroll = 6181;
} // namespace melody

// Melody 1 (voice 0, upper) and Melody 2 (voice 1, lower): note codes in
// playing order, the LED link and its 13 brightness percentages. A voice
// holds at most 95 notes; link values stay within 0..100.
class Melody
{
public:
    std::array<QList<int>, melody::Voices> notes;
    bool link = false;
    std::array<int, melody::LinkValues> linkValues{100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100};
    // The running x of each voice's end, which the score scrolls to: grows by
    // each note added from the keyboard, set to the last position by a load, 0 when cleared.
    std::array<int, melody::Voices> end{0, 0};

    bool operator==(const Melody &) const = default;

    // The x of each note of voice on the score, then the end: 70, then each
    // previous entry + length factor × 18. Empty for an empty voice.
    QList<int> positions(int voice) const;
    // The last position of voice (0 when it is empty).
    int lastPosition(int voice) const;
    bool isEmpty() const { return notes[0].isEmpty() && notes[1].isEmpty(); }

    // Appends code to voice and moves its end by the note's width; false
    // (nothing changes) when the voice already holds 95 notes.
    bool append(int voice, int code);
    // Inserts code before note index; false when the voice is full or index is out of range.
    bool insert(int voice, int index, int code);
    // Replaces note index; false when index is out of range.
    bool replace(int voice, int index, int code);
    // Gives note index the length 0..3 (eighth..half), keeping its pitch or rest.
    bool changeLength(int voice, int index, int length);
    // Removes note index; false when index is out of range.
    bool remove(int voice, int index);
    // Empties both voices, both ends 0 and the link off; link values are kept.
    void clear();

    // A link value as typed or read, kept within 0..100.
    void setLinkValue(int index, int percent);

    // The note of voice under score point x: the first note i with
    // position i <= x <= position i + 18, or -1.
    int noteAt(int voice, int x) const;
    // The voice a score row y belongs to (0 for 0 < y < 78, 1 for 93 < y < 186), or -1.
    static int voiceAt(int y);
    // Where the score scrolls after an add that brought a voice's end to end.
    static int scrollFor(int end);
};

} // namespace kr31
