#include "melody/NoteCode.h"

#include <QHash>

#include <array>

namespace kr31::note {

namespace {

constexpr std::array<int, 37> Hertz = {131, 139, 147, 156, 165, 175, 185, 196, 208, 220, 233, 247, 262,
                                       277, 294, 311, 330, 349, 370, 392, 415, 440, 466, 494, 523, 554,
                                       587, 622, 659, 698, 740, 784, 831, 880, 932, 988, 1047};

// Half staff steps per pitch index (C3..C6), the rest last.
constexpr std::array<int, 38> HalfSteps = {10, 10, 9, 9, 8, 7, 7, 6, 6, 5, 5, 4, 3,  3,  2,  2,  1,  0,  0,
                                           -1, -1, -2, -2, 2, 1, 1, 0, 0, -1, -2, -2, -3, -3, -4, -4, -5, -6, -1};

const char16_t LabelLetters[12] = {u't', u'o', u'u', u'p', u'v', u'w', u'q', u'x', u'r', u'y', u's', u'z'};

bool isSharp(int pitch)
{
    static constexpr bool Sharp[12] = {false, true, false, true, false, false, true, false, true, false, true, false};
    return Sharp[pitch % 12];
}

struct KeyEntry
{
    int virtualKey;
    int tag;
};
constexpr KeyEntry Keys[] = {
    {0x41, 48}, {0x4B, 49}, {0x53, 50}, {0x4C, 51}, {0x44, 52}, {0x46, 53}, {0xBB, 54}, {0x47, 55},
    {0xBA, 56}, {0x48, 57}, {0xDD, 58}, {0x4A, 59}, {0x51, 60}, {0x49, 61}, {0x57, 62}, {0x4F, 63},
    {0x45, 64}, {0x52, 65}, {0x50, 66}, {0x54, 67}, {0xC0, 68}, {0x59, 69}, {0xDB, 70}, {0x55, 71},
    {0x31, 72}, {0x39, 73}, {0x32, 74}, {0x30, 75}, {0x33, 76}, {0x34, 77}, {0xBD, 78}, {0x35, 79},
    {0xDE, 80}, {0x36, 81}, {0xDC, 82}, {0x37, 83}, {0x38, 84}, {0x20, 85},
};

} // namespace

bool isNote(int code)
{
    return code >= FirstCode && code <= LastCode;
}

bool isRest(int code)
{
    return isNote(code) && pitchIndex(code) == RestPitch;
}

int pitchIndex(int code)
{
    return isNote(code) ? (code - FirstCode) % GroupSize : -1;
}

int frequency(int code)
{
    const int p = pitchIndex(code);
    return p >= 0 && p < RestPitch ? Hertz[p] : 0;
}

int lengthFactor(int code)
{
    if (code >= 48 && code <= 85)
        return 1;
    if (code >= 86 && code <= 123)
        return 2;
    if (code >= 124 && code <= 161)
        return 3;
    return 4;
}

int lengthIndex(int code)
{
    return (code - FirstCode) / GroupSize;
}

int codeOf(int pitch, int length)
{
    return FirstCode + GroupSize * length + pitch;
}

int withLength(int code, int length)
{
    return isNote(code) && length >= 0 && length <= 3 ? codeOf(pitchIndex(code), length) : code;
}

QChar glyphLetter(int code, QChar fallback)
{
    if (!isNote(code))
        return fallback;
    const int p = pitchIndex(code);
    const int length = lengthIndex(code);
    // Per length (eighth, quarter, dotted quarter, half): natural and sharp
    // stem-up, natural and sharp stem-down, rest.
    static const char *const Letters[4] = {"dm48f", "cl37g", "bk26h", "aj15i"};
    int column;
    if (p == RestPitch)
        column = 4;
    else
        column = (p < 23 ? 0 : 2) + (isSharp(p) ? 1 : 0);
    return QChar::fromLatin1(Letters[length][column]);
}

QChar labelLetter(int code, QChar fallback)
{
    if (!isNote(code))
        return fallback;
    const int p = pitchIndex(code);
    return p == RestPitch ? QChar() : QChar(LabelLetters[p % 12]);
}

int ledgerLines(int code)
{
    const int p = pitchIndex(code);
    if (p < 0 || p == RestPitch)
        return 0;
    if (p <= 3)
        return 4;
    if (p <= 6)
        return 3;
    if (p <= 10)
        return 2;
    if (p <= 13)
        return 1;
    if (p <= 32)
        return 0;
    return p == 36 ? 2 : 1;
}

bool ledgersBelow(int code)
{
    const int p = pitchIndex(code);
    return p >= 0 && p <= 13;
}

int halfStepOffset(int code)
{
    const int p = pitchIndex(code);
    return p < 0 ? 0 : HalfSteps[p];
}

QString solfege(int pitch)
{
    static const char *const Names[12] = {"ド", "ド#", "レ", "レ#", "ミ", "ファ", "ファ#", "ソ", "ソ#", "ラ", "ラ#", "シ"};
    if (pitch == RestPitch)
        return QStringLiteral("休み");
    if (pitch < 0 || pitch > RestPitch)
        return {};
    return QString::fromUtf8(Names[pitch % 12]);
}

QString labelText(QChar letter)
{
    for (int i = 0; i < 12; ++i) {
        if (letter == QChar(LabelLetters[i]))
            return solfege(i);
    }
    return {};
}

int keyTag(int virtualKey)
{
    for (const KeyEntry &k : Keys) {
        if (k.virtualKey == virtualKey)
            return k.tag;
    }
    return -1;
}

QString keyLabel(int tag)
{
    static const QHash<int, QString> Printed = {
        {0xBB, QStringLiteral(";")}, {0xBA, QStringLiteral(":")}, {0xC0, QStringLiteral("@")},
        {0xDD, QStringLiteral("]")}, {0xDB, QStringLiteral("[")}, {0xBD, QStringLiteral("-")},
        {0xDE, QStringLiteral("^")}, {0xDC, QStringLiteral("¥")}, {0x20, QStringLiteral("␣")},
    };
    for (const KeyEntry &k : Keys) {
        if (k.tag == tag)
            return Printed.value(k.virtualKey, QString(QChar(k.virtualKey)));
    }
    return {};
}

QString keyImageName(int tag)
{
    for (int i = 0; i < 23; ++i) {
        if (WhiteKeys[i] == tag)
            return QStringLiteral("Image%1").arg(i + 1);
    }
    for (int i = 0; i < 15; ++i) {
        if (BlackKeys[i] == tag)
            return QStringLiteral("Image%1").arg(i + 24);
    }
    return {};
}

} // namespace kr31::note
