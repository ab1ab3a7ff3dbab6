#pragma once

#include <QString>

namespace kr31 {

// The folder holding "Img/", "HTML/" and "Navi/": beside the executable in
// the build tree, "../share/kr31/" when installed. Ends with '/'.
QString resourceFolder();

// Makes resources come from folder instead (a test's own copy); empty undoes it.
void setResourceFolder(const QString &folder);

// A resource by its relative path ("Img/Menu/DD.jpg").
QString resourcePath(const QString &relative);

} // namespace kr31
