// SPDX-License-Identifier: GPL-3.0-or-later
#include "lookup/program.h"

#include "platform/window.h"

namespace lookup {

Program::Program(std::unique_ptr<HistoryStore> history)
    : main_(std::make_unique<MainWindow>(std::move(history))),
      startup_(std::make_unique<app::Startup>(*main_)) {
}

app::StartupResult Program::Start() {
    return startup_->Run();
}

void Program::ReportState(platform::Json& out) const {
    startup_->ReportState(out);
}

int RunProgram() {
    Program program;
    if (program.Start() == app::StartupResult::kAlreadyRunning) return 1;
    return platform::RunMessageLoop();
}

}  // namespace lookup
