#include "Comparison.h"

#include <chrono>
#include <cstdlib>

namespace {

double milliseconds(const Comparison::Work& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double, std::milli> taken =
        std::chrono::steady_clock::now() - start;
    return taken.count();
}

} // namespace

int Comparison::roundsFor(int rounds)
{
    const char* asked = std::getenv("GRIMTIDE_BENCH_ROUNDS");
    const int trial = asked ? std::atoi(asked) : 0;
    return trial > 0 ? trial : rounds;
}

void Comparison::alternate(int rounds, const Work& oursRun, const Work& floorRun)
{
    const int runs = roundsFor(rounds);
    for (int round = 0; round < runs; ++round) {
        const bool oursFirst = round % 2 == 0;
        (oursFirst ? oursRun : floorRun)();
        (oursFirst ? floorRun : oursRun)();
    }
}

Comparison Comparison::timed(int rounds, const Work& oursWork, const Work& floorWork)
{
    oursWork();
    floorWork();
    Comparison result;
    alternate(
        rounds, [&] { result.ours.add(milliseconds(oursWork)); },
        [&] { result.floor.add(milliseconds(floorWork)); });
    return result;
}
