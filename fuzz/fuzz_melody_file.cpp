// A ".kr3" file of any content through the melody reader, and what the
// editor does with what it read: the packet, the saved lines, the score and
// its print layout, the preview of the first notes.
#include "core/Cp932.h"
#include "core/TextFile.h"
#include "melody/MelodyFile.h"
#include "melody/MelodyPreview.h"
#include "melody/ScoreLayout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList lines = kr31::textfile::splitLines(kr31::cp932::decode(bytes));
    const auto read = kr31::melodyfile::readLines(lines);
    const kr31::Melody &melody = read.melody;
    if (melody.notes[0].size() > 95 || melody.notes[1].size() > 95)
        __builtin_trap();
    for (int v : melody.linkValues) {
        if (v < 0 || v > 100)
            __builtin_trap();
    }
    if (kr31::melodyfile::packet(melody).size() != 209)
        __builtin_trap();
    kr31::melodyfile::fileLines(melody);
    kr31::score::screen(melody);
    kr31::score::printPages(melody, kr31::score::printGeometry(600, 600), 6600);
    kr31::preview::voiceStream(melody.notes[0].mid(0, 4));
    return 0;
}
