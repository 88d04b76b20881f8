// Confines a benchmark's timing child to a few of the cores it may run on, so that one
// run measures what fewer cores do. It takes the last of them: other timing children
// start from the first, which are then the busiest. A benchmark started under taskset
// stays on the cores taskset gave it. Call it before the process starts any thread:
// every thread started later inherits the confinement.
#pragma once

#include <sched.h>

inline void confineToCores(int count)
{
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    sched_getaffinity(0, sizeof allowed, &allowed);
    cpu_set_t cores;
    CPU_ZERO(&cores);
    for (int core = CPU_SETSIZE - 1; core >= 0 && count > 0; --core) {
        if (CPU_ISSET(core, &allowed)) {
            CPU_SET(core, &cores);
            --count;
        }
    }
    sched_setaffinity(0, sizeof cores, &cores);
}
