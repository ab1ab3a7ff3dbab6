// Checking and compiling a 200-line text program, as the text window does on
// every keystroke once a check has failed. Run: build/bin/bench_text
#include "core/Settings.h"
#include "editors/text/TextLanguage.h"

#include <benchmark/benchmark.h>

using namespace kr31;

namespace {

// 200 lines: comments, blank lines, every command, loops; weight at most 47
// because most commands stand after Stop.
QStringList program()
{
    QStringList lines{"// 200 lines", "Touch();", "Bright(30);  // a little light", "For(i:=1,i<3,i++){",
                      "  FadeIn(100,5);", "  FadeOut(0,5);", "}", "Timer(64800);", "Stop();"};
    const QStringList body{"ON();", "OFF();", "Bright( 50 );", "FadeIn(80,3); // fade", "", "Timer(90);",
                           "Beep();", "TouchIn();", "TouchOut();", "While(i<=4){", "Beep();", "}"};
    while (lines.size() + body.size() <= 200)
        lines.append(body);
    while (lines.size() < 200)
        lines.append("// end");
    return lines;
}

void BM_Check200Lines(benchmark::State &state)
{
    const QStringList lines = program();
    const QStringList names = Settings::defaultCommandNames();
    if (!textlang::check(lines, names).ok())
        state.SkipWithError("the program does not pass the check");
    for (auto _ : state)
        benchmark::DoNotOptimize(textlang::check(lines, names));
}
BENCHMARK(BM_Check200Lines)->Unit(benchmark::kMicrosecond);

void BM_Compile200Lines(benchmark::State &state)
{
    const QStringList lines = program();
    const QStringList names = Settings::defaultCommandNames();
    for (auto _ : state)
        benchmark::DoNotOptimize(textlang::compile(lines, names));
}
BENCHMARK(BM_Compile200Lines)->Unit(benchmark::kMicrosecond);

void BM_ConvertListToText(benchmark::State &state)
{
    const QStringList names = Settings::defaultCommandNames();
    const QStringList list = textlang::check(program(), names).compiled;
    for (auto _ : state)
        benchmark::DoNotOptimize(textlang::toText(list, names));
}
BENCHMARK(BM_ConvertListToText)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
