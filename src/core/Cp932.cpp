#include "core/Cp932.h"

#include <QList>

#include <iconv.h>
#include <cstring>

#include <cerrno>

namespace kr31::cp932 {

namespace {

// One iconv conversion; on an invalid input sequence, writes `replacement`
// and skips `skip` input bytes, so that a bad character never ends the text.
QByteArray convert(const char *to, const char *from, const QByteArray &in, const QByteArray &replacement,
                   int skip, bool *lossless)
{
    if (lossless)
        *lossless = true;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    QByteArray out;
    out.resize(in.size() * 2 + 16);
    char *inPtr = const_cast<char *>(in.constData());
    size_t inLeft = size_t(in.size());
    size_t outPos = 0;
    while (inLeft > 0) {
        char *outPtr = out.data() + outPos;
        size_t outLeft = size_t(out.size()) - outPos;
        size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        outPos = size_t(outPtr - out.data());
        if (r != size_t(-1))
            break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
        } else {
            // EILSEQ or EINVAL (truncated sequence at the end).
            if (lossless)
                *lossless = false;
            if (size_t(out.size()) - outPos < size_t(replacement.size()) + 1)
                out.resize(out.size() * 2 + replacement.size());
            memcpy(out.data() + outPos, replacement.constData(), size_t(replacement.size()));
            outPos += size_t(replacement.size());
            size_t n = std::min(inLeft, size_t(skip));
            inPtr += n;
            inLeft -= n;
        }
    }
    iconv_close(cd);
    out.resize(qsizetype(outPos));
    return out;
}

} // namespace

QByteArray encode(const QString &text)
{
    // UCS-4 input lets a bad character be skipped exactly (4 bytes).
    QList<uint> ucs4 = text.toUcs4();
    QByteArray in(reinterpret_cast<const char *>(ucs4.constData()), ucs4.size() * 4);
    return convert("CP932", "UCS-4LE", in, "?", 4, nullptr);
}

QString decode(const QByteArray &bytes)
{
    QByteArray utf8 = convert("UTF-8", "CP932", bytes, "\xEF\xBF\xBD", 1, nullptr);
    return QString::fromUtf8(utf8);
}

bool canEncode(const QString &text)
{
    QList<uint> ucs4 = text.toUcs4();
    QByteArray in(reinterpret_cast<const char *>(ucs4.constData()), ucs4.size() * 4);
    bool lossless = true;
    convert("CP932", "UCS-4LE", in, "?", 4, &lossless);
    return lossless;
}

QStringList missing(const QString &text)
{
    QStringList found;
    if (canEncode(text))
        return found;
    for (const uint point : text.toUcs4()) {
        const QString character = QString::fromUcs4(reinterpret_cast<const char32_t *>(&point), 1);
        if (point >= 0x80 && !found.contains(character) && !canEncode(character))
            found.append(character);
    }
    return found;
}

} // namespace kr31::cp932
