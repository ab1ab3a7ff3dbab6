#pragma once

#include "core/PictureCache.h"

#include <QImage>
#include <QPixmap>
#include <QString>

#include <functional>

class QLabel;
class QWidget;

namespace kr31 {

// The picture at relativePath under the resources ("Img/Menu/DD.jpg"),
// decoded once and kept for the run; a null pixmap when it cannot be loaded
// (not kept, so a later call tries again). Decoded pictures are also kept
// between runs in the user's cache folder (see core/PictureCache.h).
QPixmap picture(const QString &relativePath);

// The image the cache of decoded pictures holds under name (a picture file's
// path, or another name for what was drawn), as it was for source; a null
// image when the cache holds no whole entry of it.
QImage cachedImage(const QString &name, const picturecache::Source &source);
// Keeps image in that cache under name; a cache that cannot be written costs
// only time.
void keepCachedImage(const QString &name, const picturecache::Source &source, const QImage &image);

// Forgets the pictures kept for the run (the next call of picture() reads
// its file, or the cache of decoded pictures, again).
void forgetKeptPictures();

// Shows a picture of the resources in label, stretched to the label's size.
// A window decodes its pictures when it is first shown: until then the
// request waits (the last one per label counts); once the window has been
// shown it is decoded at once. When the file cannot be loaded the label keeps
// what it showed and onMissing gets relativePath. Returns false only when the
// picture was decoded at once and is missing.
bool loadPicture(QLabel *label, const QString &relativePath,
                 const std::function<void(const QString &)> &onMissing = {});

// Decodes now the pictures waiting for window's first showing; from then on
// its pictures are decoded as they are asked for.
void loadPendingPictures(QWidget *window);

// Starts decoding, on other threads, the pictures at relativePaths that are
// not kept yet; asking for one later waits only for what is not finished.
void startDecodingPictures(const QStringList &relativePaths);
// While the application object is being made, a decoding that needs the
// image readers' plugins (a picture the cache lacks) waits.
void holdImageReaders();
void releaseImageReaders();
// Drops the decodings not begun and waits for the others: a program that
// ends early must not pull its toolkit away under a decoding thread.
void stopDecodingPictures();

// The number of pictures waiting for window's first showing.
int pendingPictureCount(QWidget *window);

} // namespace kr31
