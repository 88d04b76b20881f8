#include "support/killed_writer.h"

#include "support/event_loop.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora::test {

namespace {

// The child's own: set once after the fork, read by its hook.
int reachedPipe = -1;
WriteStep awaitedStep = WriteStep::nameClaimed;
int stepsToGo = 0;

void holdAtStep(WriteStep step)
{
    if (step != awaitedStep || --stepsToGo > 0)
        return;
    const char reached = 's';
    if (::write(reachedPipe, &reached, 1) != 1)
        ::_exit(2);
    for (;;)
        ::pause(); // until the test kills the process
}

} // namespace

bool writeKilledAtStep(WriteStep step, int nth, const std::function<void()> &write)
{
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0) {
        ADD_FAILURE() << "no pipe to the writer";
        return false;
    }
    const pid_t writer = ::fork();
    if (writer < 0) {
        ::close(pipe[0]);
        ::close(pipe[1]);
        ADD_FAILURE() << "no writer process";
        return false;
    }
    if (writer == 0) {
        ::close(pipe[0]);
        reachedPipe = pipe[1];
        awaitedStep = step;
        stepsToGo = nth;
        setWriteStepHook(holdAtStep);
        write();
        ::_exit(0);
    }
    ::close(pipe[1]);
    pollfd reached{pipe[0], POLLIN, 0};
    const int ready = ::poll(&reached, 1, workDeadlineMs);
    char byte = 0;
    const bool atStep = ready == 1 && ::read(pipe[0], &byte, 1) == 1;
    ::kill(writer, SIGKILL);
    ::waitpid(writer, nullptr, 0);
    ::close(pipe[0]);
    if (ready == 0)
        failWaitingFor("the writer to reach the step or end");
    return atStep;
}

} // namespace velmora::test
