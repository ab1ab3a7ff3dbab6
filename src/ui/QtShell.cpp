#include "ui/QtShell.h"

#include <QDesktopServices>
#include <QUrl>

namespace kr31 {

void QtShell::open(const QString &path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path)); // the result is not examined
}

} // namespace kr31
