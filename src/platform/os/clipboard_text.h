// SPDX-License-Identifier: GPL-3.0-or-later
// Converting text between the clipboard (UTF-8) and the program (single-byte
// Preeti or Windows-1252 bytes).
//
// The clipboard itself belongs to the window system; these functions only
// decide what its text means to the program and back.
#pragma once

#include <string>
#include <string_view>

namespace platform::os {

// Text taken from the clipboard, as the program's bytes.
//
// Text with Devanagari becomes Preeti bytes. Invisible joiners and the byte
// order mark are dropped and Unicode spaces become plain spaces first, since
// copied Nepali text often carries them and they change nothing a reader
// sees. If some character still has no Preeti form the result is empty: a
// partial conversion would silently look up a different word, while empty
// text is simply ignored by the lookup.
//
// Text without Devanagari becomes Windows-1252; characters it lacks become
// '?', which keeps ordinary Latin text usable.
std::string ClipboardToProgramText(std::string_view utf8);

// The program's bytes as clipboard text: read as Preeti when they are shown
// in a Preeti face, as Windows-1252 otherwise.
std::string ProgramTextToClipboard(std::string_view bytes, bool preeti_face);

}  // namespace platform::os
