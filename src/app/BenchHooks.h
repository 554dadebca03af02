#pragma once
// Opt-in measuring points for the benchmarks in bench/app. With TESSARIN_BENCH_MILESTONE unset, install()
// returns at once and nothing is connected.
//
//   TESSARIN_BENCH_MILESTONE=first-list  the first frame painted with a list: the one kept on disk by the
//                                        last run, or the first successful refresh
//   TESSARIN_BENCH_MILESTONE=fresh-list  the first frame painted with the server's answer
//   TESSARIN_BENCH_MILESTONE=detail      the first frame painted once the selected issue's comments are in
//   TESSARIN_BENCH_KEEP_RUNNING=1        report, but do not quit
//
// At the milestone one line goes to standard output:
//   tessarin-bench <milestone> <CLOCK_MONOTONIC ns> <VmHWM kB>
// after one line per step of the start-up passed on the way (main entered, application made, single
// instance claimed, settings and token read, QML loaded, first frame):
//   tessarin-bench-step <step> <CLOCK_MONOTONIC ns>
// and, for the same frame, how many items its window's scene holds and how many QObjects are alive
// (counted from the first step on):
//   tessarin-bench-count <milestone> <QQuickItems> <QObjects>
// and the application quits.

class QQmlApplicationEngine;

namespace BenchHooks {

// Watches the engine's first root object, the main window.
void install(QQmlApplicationEngine *engine);
// Notes that the start-up passed a step (a name that lives as long as the program), when a milestone is
// asked for; else nothing.
void mark(const char *step);

} // namespace BenchHooks
