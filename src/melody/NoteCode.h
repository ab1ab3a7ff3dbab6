#pragma once

#include <QChar>
#include <QString>

// The note codes of a melody: 48 + 38 × length index + pitch index, where the
// length index is 0 eighth, 1 quarter, 2 dotted quarter, 3 half, and the pitch
// index 0..36 is C3..C6 in semitones, 37 the rest. 204 marks an empty slot.
// Every function is total: a code outside the ranges gets the "other" value.
namespace kr31::note {

inline constexpr int FirstCode = 48;
inline constexpr int GroupSize = 38;
inline constexpr int LastCode = 199;   // the half rest
inline constexpr int RestPitch = 37;
inline constexpr int EmptySlot = 204;
inline constexpr int MaxNotes = 95;    // notes a voice may hold; its 96th slot stays empty
inline constexpr QChar ClefGlyph = u'e';

// The eighth-note codes of the keyboard, white keys (C3..C6, then the rest key) and black keys.
inline constexpr int WhiteKeys[23] = {48, 50, 52, 53, 55, 57, 59, 60, 62, 64, 65, 67,
                                      69, 71, 72, 74, 76, 77, 79, 81, 83, 84, 85};
inline constexpr int BlackKeys[15] = {49, 51, 54, 56, 58, 61, 63, 66, 68, 70, 73, 75, 78, 80, 82};

// True for 48..199 (notes and rests of the four lengths).
bool isNote(int code);
// True for the four rests 85, 123, 161, 199.
bool isRest(int code);

// Hz of the pitch (A4 = 440, whole hertz); 0 for rests and other codes.
int frequency(int code);
// Eighths: 1 for 48..85, 2 for 86..123, 3 for 124..161, 4 for every other code (204 too).
int lengthFactor(int code);
// 0..3 for notes and rests, 4 for 200..237 (the empty-slot code gives 4 and names no length).
int lengthIndex(int code);
// (code − 48) mod 38 for notes and rests; -1 for other codes.
int pitchIndex(int code);
// The code of pitch index p (0..37) in length index 0..3.
int codeOf(int pitch, int length);
// The same pitch (or rest) in another length; other codes are returned unchanged.
int withLength(int code, int length);

// The glyph letter drawn for the code; other codes give fallback (the caller's text).
QChar glyphLetter(int code, QChar fallback = {});
// The letter naming the pitch class under the note; none for rests; other codes give fallback.
QChar labelLetter(int code, QChar fallback = {});
// Short lines the note needs outside the staff; 0 for others.
int ledgerLines(int code);
// True when the ledger lines lie below the staff (C3..C#4).
bool ledgersBelow(int code);
// The glyph cell's top relative to the staff's top line, in half staff steps
// (so C3 gives 10, C6 −6, a rest −1); 0 for other codes.
int halfStepOffset(int code);

// The solfège name of a pitch index ("ド", "ド#"... "シ", "休み" for 37).
QString solfege(int pitch);
// The solfège name shown for a label letter (t..z, o..s); empty for others.
QString labelText(QChar letter);

// The eighth-note key code (the key's tag) that a Windows virtual-key code
// plays; -1 for every other key.
int keyTag(int virtualKey);
// What a Japanese keyboard prints on the computer key that plays tag ("A",
// ";", "¥", "␣" for Space); empty for a tag no key plays.
QString keyLabel(int tag);
// The component name of the key picture carrying tag ("Image1".."Image38"); empty for others.
QString keyImageName(int tag);

} // namespace kr31::note
