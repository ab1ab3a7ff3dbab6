#include "melody/MelodyFile.h"

#include "core/Messages.h"
#include "core/TextTools.h"
#include "melody/NoteCode.h"
#include "program/ProgramFile.h"

namespace kr31::melodyfile {

namespace {

const QString Up = QStringLiteral("UP");
const QString Down = QStringLiteral("DOWN");
const QString Link = QStringLiteral("LINK");
const QString Empty = QStringLiteral("204");

// A voice's codes as sent and saved: at most 95 notes, then 204 to 96 values.
QList<int> slotValues(const QList<int> &notes)
{
    QList<int> values = notes.mid(0, note::MaxNotes);
    while (values.size() < limits::MelodySlots)
        values.append(note::EmptySlot);
    return values;
}

int lastIndexOf(const QStringList &lines, const QString &marker)
{
    for (int i = lines.size() - 1; i >= 1; --i) {
        if (lines.at(i) == marker)
            return i;
    }
    return -1;
}

} // namespace

Packet packet(const Melody &melody)
{
    QList<int> settings;
    if (melody.link) {
        settings.append(1);
        for (int v : melody.linkValues)
            settings.append(packet::brightnessByte(qBound(0, v, 100)));
        settings.append({0, 0});
    } else {
        settings = QList<int>(16, 0);
    }
    QList<int> values = slotValues(melody.notes[0]);
    values.append(slotValues(melody.notes[1]));
    return packet::melody(settings, values);
}

QStringList fileLines(const Melody &melody)
{
    QStringList lines{Marker};
    for (int voice = 0; voice < melody::Voices; ++voice) {
        lines.append(voice == 0 ? Up : Down);
        for (int code : slotValues(melody.notes[voice]))
            lines.append(QString::number(code));
    }
    lines.append(Link);
    lines.append(melody.link ? QStringLiteral("1") : QStringLiteral("0"));
    for (int v : melody.linkValues)
        lines.append(QString::number(qBound(0, v, 100)));
    return lines;
}

ReadResult readLines(const QStringList &lines, const Melody &base)
{
    ReadResult result;
    result.melody = base;
    result.melody.notes = {};
    result.melody.end = {0, 0};
    if (lines.isEmpty()) {
        result.fail(FileRead::Unreadable, msg::EmptyFile);
        return result;
    }
    // Each voice's end is its last position, also after a bad line (its index).
    const auto finish = [&result](int badLine = -1) {
        if (badLine >= 0)
            result.fail(FileRead::BrokeOff, msg::badLine(badLine + 1));
        for (int voice = 0; voice < melody::Voices; ++voice)
            result.melody.end[voice] = result.melody.lastPosition(voice);
        return result;
    };
    if (lines.first() != Marker) {
        result.fail(FileRead::OtherStep);
        return result;
    }
    const int up = lastIndexOf(lines, Up);
    const int down = lastIndexOf(lines, Down);
    const int link = lastIndexOf(lines, Link);
    const int sections[] = {up, down, link};

    for (int voice = 0; voice < melody::Voices; ++voice) {
        const int start = voice == 0 ? up : down;
        if (start < 0)
            continue;
        // The section runs to the next section line after it, or to the end.
        int stop = lines.size();
        for (int s : sections) {
            if (s > start && s < stop)
                stop = s;
        }
        QList<int> &notes = result.melody.notes[voice];
        for (int i = start + 1; i < stop && lines.at(i) != Empty; ++i) {
            const auto code = text::toInt(lines.at(i));
            if (!code || *code < 0 || *code > 255)
                return finish(i);
            if (notes.size() == note::MaxNotes) {
                result.cutVoices.append(voice);
                break;
            }
            notes.append(*code);
        }
    }

    if (link < 0 || link + 1 >= lines.size())
        return finish();
    result.melody.link = lines.at(link + 1) != QLatin1String("0");
    for (int i = link + 2, n = 0; i < lines.size(); ++i, ++n) {
        const auto value = text::toInt(lines.at(i));
        if (!value || n >= melody::LinkValues)
            return finish(i);
        result.melody.setLinkValue(n, *value);
    }
    return finish();
}

ReadResult read(const QString &path, const Melody &base)
{
    return programfile::readFile<ReadResult>(path,
                                             [&base](const QStringList &lines) { return readLines(lines, base); });
}

} // namespace kr31::melodyfile
