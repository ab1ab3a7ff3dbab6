// "Data/set.ini" of the work folder as anyone may have edited it: the text
// window reads its comment colours from it.
#include "core/Settings.h"
#include "core/TextFile.h"

#include <QDir>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir folder;
    static const bool made = QDir(folder.path()).mkpath(QStringLiteral("Data"));
    if (!made)
        __builtin_trap();
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (!kr31::textfile::writeAtomically(folder.path() + QStringLiteral("/Data/set.ini"), bytes, nullptr,
                                          kr31::textfile::Durability::Scratch))
        __builtin_trap();
    const kr31::CommentColours colours = kr31::readCommentColours(folder.path() + u'/');
    if (colours.text > 0xFFFFFF || colours.background > 0xFFFFFF)
        __builtin_trap();
    kr31::parseColour(QString::fromLatin1(bytes.left(64)));
    return 0;
}
