#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include "core/FileIdentity.h"

#include <chrono>
#include <optional>

namespace kr31::picturecache {

// Decoded pictures are kept between runs in the user's cache folder, so that
// a start shows its pictures without decoding the JPEG files again. An entry
// holds the pixels as they are in memory, with the identity of the picture
// file it came from: a picture file changed in any way is decoded again. The
// picture files themselves stay as they are; the cache can be removed at any
// time.

// What stat() tells of a picture file.
using Source = FileIdentity;

// The picture file as it is now; nullopt when it is missing or no regular file.
std::optional<Source> sourceOf(const QString &path);
// Whether the file changed so lately (2 s by default) that a further change
// could keep its size and times; such a picture is not kept.
bool recentlyChanged(const Source &source);
void setRecentWindow(std::chrono::nanoseconds window);

struct Entry
{
    QString path; // the picture file
    Source source;
    int width = 0;
    int height = 0;
    int bytesPerLine = 0;
    int format = 0; // the image format's number
    QByteArrayView pixels; // height * bytesPerLine bytes, within the parsed bytes
};

// The largest entry read back (a picture of 4096 x 4096 at 4 bytes a pixel).
inline constexpr qint64 Limit = 64 << 20;

// The entry in bytes; nullopt when they are not a whole entry.
std::optional<Entry> parse(const QByteArray &bytes);
// The bytes of an entry (its pixels included).
QByteArray serialize(const Entry &entry);
// Where the pixels of an entry begin, for a picture path of pathBytes bytes
// in UTF-8.
qint64 pixelsOffset(qsizetype pathBytes);

// The folder of the entries ($XDG_CACHE_HOME/kr31/pictures/, else
// ~/.cache/kr31/pictures/) and the entry's file for a picture file.
QString folder();
QString entryFile(const QString &picturePath);

} // namespace kr31::picturecache
