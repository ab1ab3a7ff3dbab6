#pragma once

#include <QTextBrowser>

#include <functional>

namespace kr31 {

// A browser pane for the program's pages: a page that declares shift_jis is
// read with the program's own code page 932 table (Qt's Shift-JIS codec
// differs on some characters), and its ideographic spaces are kept.
class PageBrowser : public QTextBrowser
{
    Q_OBJECT
public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl &name) override;

    // Applied to every Shift-JIS page before it is shown (none by default).
    std::function<QString(const QString &)> displayFilter;
};

} // namespace kr31
