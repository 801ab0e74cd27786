// SPDX-License-Identifier: GPL-3.0-or-later
// The FreeType + HarfBuzz + fontconfig text engine.
//
// Programs and tests call InstallFontEngine() once at start; from then on
// TextEngine::Instance() measures and draws with real fonts (the test face
// still goes to the fixed-metrics engine).
#pragma once

#include <memory>

#include "platform/text.h"

namespace platform::text {

// Installs the font engine as the process text engine. Calling it again
// does nothing, so every test fixture may call it.
void InstallFontEngine();

// A new, separate font engine (for tests that compare engines).
std::unique_ptr<TextEngine> MakeFontEngine();

}  // namespace platform::text
