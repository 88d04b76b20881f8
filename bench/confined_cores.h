// Confines a benchmark's timing child to a few of the machine's cores, so that one run
// measures what fewer cores do. It takes the last cores: other timing children start
// from the first, which are then the busiest. Call it before the process starts any
// thread: every thread started later inherits the confinement.
#pragma once

#include <sched.h>
#include <unistd.h>

#include <algorithm>

inline void confineToCores(int count)
{
    const int available = int(sysconf(_SC_NPROCESSORS_ONLN));
    cpu_set_t cores;
    CPU_ZERO(&cores);
    for (int core = std::max(0, available - count); core < available; ++core)
        CPU_SET(core, &cores);
    sched_setaffinity(0, sizeof cores, &cores);
}
