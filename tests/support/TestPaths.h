#pragma once

#include <QString>

namespace kr31::test {

// Where the tests find their inputs. CTest passes both folders in the
// environment (KR31_TEST_DATA, KR31_BIN_DIR), so the test binaries hold no
// absolute paths and a build in another folder reuses compiled objects.
// A test run by hand falls back to the folders beside its own binary.
QString testDataDir();
// tests/data/<relative>
QString testData(const QString &relative);
// The build's bin folder: kr31, kr31-cli and the pictures and pages.
QString binDir();

// Fills folder with links to every picture and page of the build (Img, HTML,
// Navi) except the files named (relative paths such as "HTML/DD/index.html"),
// for tests of what a window does when one is missing.
bool linkResourcesExcept(const QString &folder, const QStringList &missing);

} // namespace kr31::test
