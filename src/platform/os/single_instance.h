// SPDX-License-Identifier: GPL-3.0-or-later
// Making sure only one copy of the program runs per user.
//
// The first instance holds an advisory lock on a lock file for as long as it
// lives; the kernel drops the lock when the process ends in any way, so a
// crash never leaves a stale "running" marker behind. The lock file sits in
// the settings folder, beside the settings it protects, so every copy that
// would write the same settings file meets the same lock whatever else its
// environment says.
#pragma once

#include <string>
#include <string_view>

#include "platform/error.h"

namespace platform::os {

class SingleInstanceLock {
  public:
    // Takes the lock called `name` in the current user's settings folder
    // (made when missing). Fails with an error for which IsAlreadyRunning()
    // is true when another process holds it or is taking it, and also when
    // the lock file's name is taken by something that is not a lockable file
    // and cannot be replaced by a fresh one (a folder): another copy may be
    // running then. Any other error means the folder can hold neither a
    // new file nor a lock, so no copy can save settings or lock there.
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
