// SPDX-License-Identifier: GPL-3.0-or-later
// The program as a whole: the start-up sequence handing over to the main
// window. The desktop program and the harness both run it this way, so the
// harness sees exactly what a person sees.
#pragma once

#include <memory>

#include "app/startup.h"
#include "lookup/main_window.h"
#include "platform/json.h"

namespace lookup {

class Program {
  public:
    explicit Program(std::unique_ptr<HistoryStore> history = UserHistoryStore());

    // Runs the start-up; kAlreadyRunning means the process should end.
    app::StartupResult Start();

    MainWindow& main_window() { return *main_; }
    app::Startup& startup() { return *startup_; }
    void ReportState(platform::Json& out) const;

  private:
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<app::Startup> startup_;
};

// Start-up, then the message loop until the main window closes. Returns the
// process exit code.
int RunProgram();

}  // namespace lookup
