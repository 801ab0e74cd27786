// Making sure only one copy of the program runs per user.
//
// The first instance holds an advisory lock on a per-user lock file for as
// long as it lives; the kernel drops the lock when the process ends in any
// way, so a crash never leaves a stale "running" marker behind.
#pragma once

#include <string>
#include <string_view>

#include "platform/error.h"

namespace platform::os {

class SingleInstanceLock {
  public:
    // Takes the lock called `name` in the private temporary folder. Fails with
    // an error for which IsAlreadyRunning() is true when another process holds
    // it; any other error means the check itself could not be made.
    static Result<SingleInstanceLock> Acquire(std::string_view name);
    // The same, with the lock file in `folder`.
    static Result<SingleInstanceLock> AcquireIn(const std::string& folder, std::string_view name);

    SingleInstanceLock(SingleInstanceLock&& other) noexcept;
    SingleInstanceLock& operator=(SingleInstanceLock&& other) noexcept;
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;
    ~SingleInstanceLock();

  private:
    explicit SingleInstanceLock(int fd) : fd_(fd) {}
    int fd_ = -1;
};

bool IsAlreadyRunning(const Error& error);

}  // namespace platform::os
