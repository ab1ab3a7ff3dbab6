#include "melody/Melody.h"

#include "core/Messages.h"
#include "melody/NoteCode.h"

#include <QtGlobal>

namespace kr31 {

QList<int> Melody::positions(int voice) const
{
    QList<int> result;
    const QList<int> &list = notes[voice];
    if (list.isEmpty())
        return result;
    result.reserve(list.size() + 1);
    result.append(melody::FirstX);
    for (int code : list)
        result.append(result.last() + note::lengthFactor(code) * limits::EighthUnit);
    return result;
}

int Melody::lastPosition(int voice) const
{
    const QList<int> p = positions(voice);
    return p.isEmpty() ? 0 : p.last();
}

bool Melody::append(int voice, int code)
{
    if (notes[voice].size() >= note::MaxNotes)
        return false;
    notes[voice].append(code);
    end[voice] += note::lengthFactor(code) * limits::EighthUnit;
    return true;
}

bool Melody::insert(int voice, int index, int code)
{
    QList<int> &list = notes[voice];
    if (list.size() >= note::MaxNotes || index < 0 || index > list.size())
        return false;
    list.insert(index, code);
    return true;
}

bool Melody::replace(int voice, int index, int code)
{
    QList<int> &list = notes[voice];
    if (index < 0 || index >= list.size())
        return false;
    list[index] = code;
    return true;
}

bool Melody::changeLength(int voice, int index, int length)
{
    QList<int> &list = notes[voice];
    if (index < 0 || index >= list.size())
        return false;
    list[index] = note::withLength(list.at(index), length);
    return true;
}

bool Melody::remove(int voice, int index)
{
    QList<int> &list = notes[voice];
    if (index < 0 || index >= list.size())
        return false;
    list.removeAt(index);
    return true;
}

void Melody::clear()
{
    notes[0].clear();
    notes[1].clear();
    end = {0, 0};
    link = false;
}

void Melody::setLinkValue(int index, int percent)
{
    linkValues[index] = qBound(0, percent, 100);
}

int Melody::noteAt(int voice, int x) const
{
    const QList<int> p = positions(voice);
    for (int i = 0; i + 1 < p.size(); ++i) {
        if (p.at(i) <= x && x <= p.at(i) + limits::EighthUnit)
            return i;
    }
    return -1;
}

int Melody::voiceAt(int y)
{
    if (y > 0 && y < 78)
        return 0;
    if (y > 93 && y < 186)
        return 1;
    return -1;
}

int Melody::scrollFor(int end)
{
    if (end <= melody::ScrollSpan)
        return 0;
    if (end < 6768)
        return end - melody::ScrollSpan;
    return melody::LastScroll;
}

} // namespace kr31
