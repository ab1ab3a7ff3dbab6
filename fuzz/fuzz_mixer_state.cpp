// The mixer state file as a kill, a full disk or anyone may have left it:
// noted at start, put back and removed at the end, never trusted blindly.
#include "core/TextFile.h"
#include "sound/MixerGuard.h"

#include <QTemporaryDir>

namespace {
// An output with a mixer that takes any noted state and does nothing.
struct NoOutput : kr31::SoundOutput
{
    void noteState() override {}
    void prepare() override {}
    void silence() override {}
    void restore(bool) override {}
    bool play(const QString &, QString *) override { return true; }
    bool restoreNoted(const QStringList &lines) override { return !lines.isEmpty(); }
    bool adoptNoted(const QStringList &lines) override { return !lines.isEmpty(); }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("mixer-state"));
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (!kr31::textfile::writeAtomically(path, bytes, nullptr, kr31::textfile::Durability::Scratch))
        __builtin_trap();
    NoOutput output;
    kr31::MixerGuard guard(output, path);
    guard.noteState();
    guard.prepare();
    guard.restore(true);
    return 0;
}
