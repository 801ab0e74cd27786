// SPDX-License-Identifier: GPL-3.0-or-later
// English words Nepali has taken in, as readers type them in English
// spelling ("police", "mobile"), with the Nepali spelling a dictionary has
// them under (पुलिस, मोबाइल). Latin text is read through the phonetic key
// otherwise, which cannot turn an English spelling into Nepali sounds.
#pragma once

#include <string_view>

namespace search {

// The Nepali spelling (UTF-8) of a loanword typed in English spelling, case
// and any spaces, hyphens or apostrophes aside; empty when the text is none
// of the table's words.
std::string_view LoanwordSpelling(std::string_view latin);

}  // namespace search
