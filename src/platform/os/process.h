// SPDX-License-Identifier: GPL-3.0-or-later
// Running an external program and waiting for it with a time-out.
//
// The program is started directly, without a shell, so arguments (and paths
// with spaces) arrive exactly as given. The wait blocks the calling thread on
// the real monotonic clock; nothing else runs meanwhile. A program that
// overstays its time-out is ended together with everything it started, so no
// stray process keeps writing files after we have moved on.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "platform/error.h"

namespace platform::os {

struct ProcessOutcome {
    enum class Kind {
        kExited,         // ended on its own; `exit_code` holds its code (-1: unknown,
                         // when SIGCHLD is ignored and the kernel reaped it)
        kSignaled,       // ended on its own by a signal; `signal` holds it
        kTimedOut,       // still running at the time-out, so it was killed
        kFailedToStart,  // never ran; `start_error` holds the errno value
    };
    Kind kind = Kind::kFailedToStart;
    int exit_code = 0;
    int signal = 0;
    int start_error = 0;
    pid_t pid = 0;  // the process id it had, 0 when it never got one
};

// How long a timed-out program gets between the polite request to stop and
// the kill.
inline constexpr int kTerminateGraceMs = 500;

// Starts argv[0] (searched on PATH when it has no '/') with the arguments
// argv[1..], in `working_folder` (empty: the caller's), with the caller's
// environment and stdin from /dev/null, and waits at most `timeout_ms`.
// An empty argv or a negative time-out is a kInvalidCall error; everything
// that happens to the program is reported in the outcome.
Result<ProcessOutcome> RunAndWait(const std::vector<std::string>& argv,
                                  const std::string& working_folder, int timeout_ms);

}  // namespace platform::os
