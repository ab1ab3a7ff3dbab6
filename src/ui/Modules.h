#pragma once

#include <QString>

namespace kr31 {

// Parts of the program that bring large libraries (the text control, the
// printer) are built as modules of their own and loaded when first needed,
// so that starting the program does not wait for those libraries to load.
//
// Returns the function `symbol` of the module file `module`
// ("libkr31textcontrol.so"): from the program itself when the module is
// linked into it, else from the module file in the resource folder (the build
// folder, or the one a test sets), beside the program or in the installed
// module folder, loaded once. nullptr, with
// the reason in *error, when neither has it.
void *moduleFunction(const char *module, const char *symbol, QString *error);

} // namespace kr31
