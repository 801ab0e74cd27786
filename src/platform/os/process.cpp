// SPDX-License-Identifier: GPL-3.0-or-later
// RunAndWait on POSIX: fork + execv, a close-on-exec pipe to learn whether
// the exec worked, and a wait on the monotonic clock (pidfd when the kernel
// has it, short sleeps otherwise).
#include "platform/os/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>

namespace platform::os {
namespace {

int64_t NowMs() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

bool IsExecutableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

// The PATH search happens here, before fork, because the child may only make
// async-signal-safe calls (the parent can have other threads, such as the
// audio thread, whose locks the child would inherit held).
std::string ResolveProgram(const std::string& name, int* error) {
    *error = 0;
    if (name.find('/') != std::string::npos) {
        // A relative path means relative to the caller's folder, not to the
        // working folder the child is about to move into.
        if (name.front() == '/') return name;
        char cwd[PATH_MAX];
        if (::getcwd(cwd, sizeof cwd) == nullptr) {
            *error = errno;
            return {};
        }
        return std::string(cwd) + "/" + name;
    }
    const char* env_path = std::getenv("PATH");
    const std::string search = env_path && *env_path ? env_path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    for (;;) {
        const size_t colon = search.find(':', start);
        std::string dir =
            search.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
        if (dir.empty()) dir.push_back('.');  // an empty PATH entry means the current folder
        const std::string candidate = dir + "/" + name;
        if (IsExecutableFile(candidate)) return candidate;
        if (colon == std::string::npos) break;
        start = colon + 1;
    }
    *error = ENOENT;
    return {};
}

int OpenPidFd(pid_t pid) {
#ifdef SYS_pidfd_open
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    return -1;
#endif
}

// Waits until `pid` has ended or `deadline_ms` has come, without reaping it:
// while the process is an unreaped zombie its id (and so its process group
// id) cannot be reused, which keeps a later group kill aimed correctly.
bool WaitForExit(pid_t pid, int pidfd, int64_t deadline_ms) {
    for (;;) {
        siginfo_t info{};
        if (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0) {
            if (info.si_pid == pid) return true;
        } else if (errno == ECHILD) {
            return true;  // reaped elsewhere (SIGCHLD ignored): nothing to wait for
        }
        const int64_t remaining = deadline_ms - NowMs();
        if (remaining <= 0) return false;
        if (pidfd >= 0) {
            pollfd p{pidfd, POLLIN, 0};
            ::poll(&p, 1, static_cast<int>(std::min<int64_t>(remaining, INT_MAX)));
        } else {
            const int64_t step = std::min<int64_t>(remaining, 5);
            timespec ts{0, static_cast<long>(step) * 1000000L};
            ::nanosleep(&ts, nullptr);
        }
    }
}

int Reap(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return status;
}

void SignalGroup(pid_t pid, int sig) {
    ::kill(-pid, sig);
    ::kill(pid, sig);  // in case the child never got its own group
}

// Runs in the forked child; reports an errno value through `report_fd` and
// exits if anything before or including the exec fails.
[[noreturn]] void ExecChild(const char* program, char* const* argv, const char* working_folder,
                            int report_fd) {
    ::setpgid(0, 0);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    // Ignored signals stay ignored across exec; the program should start
    // with the default reactions (to SIGPIPE and SIGTERM above all).
    struct sigaction default_action {};
    default_action.sa_handler = SIG_DFL;
    for (int sig = 1; sig < NSIG; ++sig) ::sigaction(sig, &default_action, nullptr);

    int err = 0;
    if (working_folder[0] != '\0' && ::chdir(working_folder) != 0) err = errno;
    if (err == 0) {
        const int null_fd = ::open("/dev/null", O_RDONLY);
        if (null_fd < 0) {
            err = errno;
        } else {
            if (null_fd != STDIN_FILENO) {
                ::dup2(null_fd, STDIN_FILENO);
                ::close(null_fd);
            }
            ::execv(program, argv);
            err = errno;
        }
    }
    while (::write(report_fd, &err, sizeof err) < 0 && errno == EINTR) {
    }
    ::_exit(127);
}

ProcessOutcome FromStatus(int status, pid_t pid) {
    ProcessOutcome outcome;
    outcome.pid = pid;
    outcome.kind = ProcessOutcome::Kind::kExited;
    if (status < 0) {
        outcome.exit_code = -1;  // reaped by someone else: the status is lost
    } else if (WIFEXITED(status)) {
        outcome.exit_code = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        outcome.kind = ProcessOutcome::Kind::kSignaled;
        outcome.signal = WTERMSIG(status);
    }
    return outcome;
}

}  // namespace

Result<ProcessOutcome> RunAndWait(const std::vector<std::string>& argv,
                                  const std::string& working_folder, int timeout_ms) {
    if (argv.empty() || argv.front().empty() || timeout_ms < 0) {
        return MakeError(ErrorCode::kInvalidCall, "RunAndWait needs a program and a time-out");
    }
    const int64_t deadline = NowMs() + timeout_ms;

    ProcessOutcome failed;
    failed.kind = ProcessOutcome::Kind::kFailedToStart;
    const std::string program = ResolveProgram(argv.front(), &failed.start_error);
    if (failed.start_error != 0) return failed;

    std::vector<char*> arg_pointers;
    arg_pointers.reserve(argv.size() + 1);
    for (const std::string& arg : argv) arg_pointers.push_back(const_cast<char*>(arg.c_str()));
    arg_pointers.push_back(nullptr);

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        failed.start_error = errno;
        return failed;
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
        failed.start_error = errno;
        ::close(report[0]);
        ::close(report[1]);
        return failed;
    }
    if (pid == 0) {
        ::close(report[0]);
        ExecChild(program.c_str(), arg_pointers.data(), working_folder.c_str(), report[1]);
    }
    // Set the group from both sides so it exists before either of us relies
    // on it; whichever runs second gets a harmless error.
    ::setpgid(pid, pid);
    ::close(report[1]);

    int child_error = 0;
    ssize_t got;
    do {
        got = ::read(report[0], &child_error, sizeof child_error);
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    if (got == static_cast<ssize_t>(sizeof child_error)) {
        Reap(pid);
        failed.start_error = child_error;
        failed.pid = pid;
        return failed;
    }

    const int pidfd = OpenPidFd(pid);
    ProcessOutcome outcome;
    if (WaitForExit(pid, pidfd, deadline)) {
        outcome = FromStatus(Reap(pid), pid);
    } else {
        SignalGroup(pid, SIGTERM);
        WaitForExit(pid, pidfd, NowMs() + kTerminateGraceMs);
        // Also when the child itself obeyed: its own children may not have.
        SignalGroup(pid, SIGKILL);
        Reap(pid);
        outcome.kind = ProcessOutcome::Kind::kTimedOut;
        outcome.pid = pid;
    }
    if (pidfd >= 0) ::close(pidfd);
    return outcome;
}

}  // namespace platform::os
