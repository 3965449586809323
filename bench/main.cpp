// Runs every benchmark and prints one table: each piece of the program's
// work against the least the same work costs on this machine.
#include "ArchiveCopyBench.h"
#include "BenchMedium.h"
#include "GameFinderBench.h"
#include "GameProcessBench.h"
#include "ResultTable.h"
#include "StartupBench.h"
#include "SwitchAndSaveBench.h"
#include "gui/app/Program.h"

#include <QApplication>

#include <cstdio>
#include <exception>

int main(int argc, char* argv[])
{
    // The windows are made, as in the program, but never put on a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Program::configureApplication();
    ResultTable table;
    if (!BenchMedium::hasTmpfs())
        table.addNote("no tmpfs at /dev/shm: the tmpfs rows are left out");
    // GRIMTIDE_BENCH_ONLY=finder runs only the stages whose name holds it.
    const QByteArray only = qgetenv("GRIMTIDE_BENCH_ONLY");
    const auto stage = [&table, &only](const char* name, void (*run)(ResultTable&)) {
        if (!QByteArray(name).contains(only))
            return;
        std::fprintf(stderr, "bench: %s\n", name);
        run(table);
    };
    try {
        stage("start-up and idle memory", StartupBench::run);
        stage("mode switch and save", SwitchAndSaveBench::run);
        stage("archive copy", ArchiveCopyBench::run);
        stage("game finder", GameFinderBench::run);
        stage("game running check", GameProcessBench::run);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench: %s\n", error.what());
        return 1;
    }
    table.print();
    return 0;
}
