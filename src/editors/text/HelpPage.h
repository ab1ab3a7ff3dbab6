#pragma once

#include <QString>
#include <QStringList>

namespace kr31::helppage {

// The text window's help page from the lines of "HTML/Word/index.html": each
// placeholder ("Com_On", "Com_Off", ... "Com_Stop") replaced by its configured
// command name (markup characters escaped), "../size.css" and each command's
// page ("On.html" ... "Stop.html") by the file URL of that file under
// resourceFolder ("HTML/size.css", "HTML/Word/<page>").
QStringList build(const QStringList &templateLines, const QStringList &names, const QString &resourceFolder);

} // namespace kr31::helppage
