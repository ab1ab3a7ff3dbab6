// Any file found in the cache of decoded pictures.
#include "core/PictureCache.h"

#include <QImage>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const auto entry = kr31::picturecache::parse(bytes)) {
        // A whole entry written again is the same bytes.
        if (kr31::picturecache::serialize(*entry) != bytes)
            __builtin_trap();
        // The program shows the pixels where they were read, as an image of
        // the entry's size, line length and format, when an image takes them.
        if (entry->format < QImage::NImageFormats) {
            QByteArray pixels = entry->pixels.toByteArray(); // aligned, as the program places them
            const QImage image(reinterpret_cast<uchar *>(pixels.data()), entry->width, entry->height,
                               entry->bytesPerLine, QImage::Format(entry->format));
            if (!image.isNull() && image.sizeInBytes() == pixels.size())
                (void)image.pixel(image.width() - 1, image.height() - 1);
        }
    }
    return 0;
}
