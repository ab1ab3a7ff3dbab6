// A file in the recovery folder as a crash, a full disk or anyone may have
// left it: the folder read at start, the plan of what to offer, and what the
// editor it belongs to reads back from it. The first byte picks the file's
// name among the editors' copies and a name no editor keeps.
#include "core/Recovery.h"
#include "core/Settings.h"
#include "core/TextFile.h"
#include "editors/flowchart/FlowchartFile.h"
#include "editors/icon/IconFile.h"
#include "editors/text/WordFile.h"
#include "melody/MelodyFile.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir home;
    static const bool homeSet = setenv("HOME", home.path().toLocal8Bit().constData(), 1) == 0 &&
                                setenv("XDG_CONFIG_HOME", (home.path() + "/.config").toLocal8Bit().constData(), 1) == 0;
    if (!homeSet || size == 0)
        return 0;
    static const QStringList names = {"Icon.kr3", "Flowchart.kr3", "Text.kr3", "Melody-20261208-101500.kr3",
                                      "Other.kr3"};
    QDir folder(kr31::recovery::folder());
    for (const QString &name : folder.entryList(QDir::Files))
        folder.remove(name);
    const QByteArray bytes(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    if (!kr31::textfile::writeAtomically(folder.filePath(names.at(data[0] % names.size())), bytes, nullptr,
                                          kr31::textfile::Durability::Scratch))
        __builtin_trap();
    const kr31::recovery::Plan plan = kr31::recovery::plan(kr31::recovery::findCopies());
    for (const kr31::recovery::Offer &offer : plan.offers) {
        const QString &key = offer.editor.key;
        if (key == QLatin1String("Icon"))
            kr31::iconfile::readLines(offer.lines);
        else if (key == QLatin1String("Flowchart"))
            kr31::flowfile::readLines(offer.lines);
        else if (key == QLatin1String("Text"))
            kr31::wordfile::readLines(offer.lines, kr31::Settings::defaultCommandNames());
        else
            kr31::melodyfile::readLines(offer.lines);
    }
    return 0;
}
