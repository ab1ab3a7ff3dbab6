#pragma once

#include <QString>

namespace kr31 {

// The folder holding "Img/", "HTML/" and "Navi/": beside the executable in
// the build tree, "../share/kr31/" when installed. Ends with '/'.
QString resourceFolder();

// A resource by its relative path ("Img/Menu/DD.jpg").
QString resourcePath(const QString &relative);

} // namespace kr31
