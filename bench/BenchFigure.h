#pragma once
#include <cstdio>

// One figure of a benchmark held to a target, in a line of its own that
// bench/run_all.sh gathers into one table: its name, value and unit, and
// the bound it must stay below ("<") or not exceed ("<=").
inline void BenchFigure(const char *name, double value, const char *unit, const char *bound, double target)
{
    std::printf("FIGURE|%s|%.2f|%s|%s|%.2f\n", name, value, unit, bound, target);
    std::fflush(stdout);
}
