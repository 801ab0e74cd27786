// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a dictionary kept as CSV: one record a row, the headword in the
// first column and the definition in the second, fields separated by commas
// and quoted with '"' when they hold commas, quotes ("" inside) or line
// breaks. Further columns are ignored; a first row with no character beyond
// ASCII in its first column names the columns and is passed over.
//
// The text is read front to back through a buffer, one row at a time. A row
// whose two columns take more than kMaxSourceEntryBytes is passed over
// without being kept; a quoted field that is never closed is damage.
#pragma once

#include <string>
#include <vector>

#include "app/dictionary_import.h"
#include "platform/os/byte_file.h"

namespace app {

class CsvReader final : public EntrySource {
  public:
    // "line N" in the entries is the line the row starts on.
    CsvReader(const platform::os::ByteFile& text, ImportNotes& notes);
    bool Next(SourceEntry& entry) override;

  private:
    enum class Row { kRow, kBlank, kEnd };
    // Reads one row into fields_ (kEnd also when the text is damaged).
    Row ReadRow();

    platform::os::ByteReader in_;
    size_t line_ = 1;
    size_t row_line_ = 1;
    bool first_row_ = true;
    std::string fields_[2];
    size_t field_count_ = 0;
    bool too_long_ = false;
};

}  // namespace app
