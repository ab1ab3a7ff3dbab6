#include "ui/PageBrowser.h"

#include "core/Cp932.h"

#include <QFileInfo>
#include <QImageReader>

namespace kr31 {

namespace {

// Qt's HTML reader collapses U+3000 like an ASCII space, which would turn
// "明るさ　50" into "明るさ 50" and empty the "　" cells; outside tags each
// one is kept by a span that preserves white space.
QString keepIdeographicSpaces(const QString &html)
{
    static const QString kept = QStringLiteral("<span style=\"white-space:pre\">\u3000</span>");
    QString out;
    out.reserve(html.size());
    bool inTag = false;
    for (const QChar c : html) {
        if (c == u'<')
            inTag = true;
        else if (c == u'>')
            inTag = false;
        if (c == QChar(0x3000) && !inTag)
            out += kept;
        else
            out += c;
    }
    return out;
}

} // namespace

QVariant PageBrowser::loadResource(int type, const QUrl &name)
{
    // A picture of a page is read by the reader its name calls for: left to
    // guess from the bytes, Qt would load every image plugin to ask each.
    if (type == QTextDocument::ImageResource) {
        const QUrl url = source().resolved(name);
        if (url.isLocalFile()) {
            const QString path = url.toLocalFile();
            QImageReader reader(path, QFileInfo(path).suffix().toLower().toLatin1());
            reader.setDecideFormatFromContent(false);
            const QImage image = reader.read();
            if (!image.isNull())
                return image;
        }
    }
    QVariant data = QTextBrowser::loadResource(type, name);
    if (type == QTextDocument::HtmlResource && data.userType() == QMetaType::QByteArray) {
        const QByteArray bytes = data.toByteArray();
        const QByteArray head = bytes.left(1024).toLower();
        if (head.contains("charset=shift_jis") || head.contains("charset=\"shift_jis"))
        {
            const QString page = cp932::decode(bytes);
            return keepIdeographicSpaces(displayFilter ? displayFilter(page) : page);
        }
    }
    return data;
}

} // namespace kr31
