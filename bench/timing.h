// Wall-clock timing for the benchmarks: the median of a number of runs.
#pragma once
#include <windows.h>
#include <algorithm>
#include <vector>

inline double Now()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return (double)counter.QuadPart / (double)frequency.QuadPart;
}

template <typename Work>
double Median(int runs, Work work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; i++) {
        double start = Now();
        work();
        times.push_back(Now() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}
