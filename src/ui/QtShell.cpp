#include "ui/QtShell.h"

#include <QDesktopServices>
#include <QUrl>

namespace kr31 {

bool QtShell::open(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace kr31
