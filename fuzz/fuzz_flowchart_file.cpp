// A ".kr3" file of any content opened in the flowchart editor: the reader,
// then everything the editor does with what it read (compile, file lines,
// drawing, the edits at every drawn entry).
#include "core/Cp932.h"
#include "core/TextFile.h"
#include "editors/flowchart/FlowchartFile.h"
#include "editors/flowchart/FlowchartLayout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace kr31;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList lines = textfile::splitLines(cp932::decode(bytes));
    flowfile::hasPages(lines);
    flowfile::ReadResult read = flowfile::readLines(lines);
    FlowchartProgram &program = read.program;
    if (program.compileChart().ok())
        flowfile::fileLines(program, flowfile::markerFor(program.CompiledList));
    for (int page = 0; page <= program.SubroutineCount; ++page) {
        const QStringList entries = program.entries(page);
        flowlayout::layout(entries, flowlayout::ScreenUnit, 172);
        flowlayout::hitEntry(entries, QPoint(172, 100));
        program.CurrentPage = page;
        for (int s = 0; s < int(entries.size()); ++s) {
            FlowchartProgram copy = program;
            copy.SelectedEntry = s;
            copy.insertEntry(6, QStringLiteral("0"), QStringLiteral("1"), true);
            copy.replaceEntry(6, QStringLiteral("1"), QStringLiteral("1"));
            copy.deleteEntry();
            copy.compileChart();
        }
    }
    return 0;
}
