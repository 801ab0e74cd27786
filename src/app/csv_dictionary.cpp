// SPDX-License-Identifier: GPL-3.0-or-later
// CSV reading, one row at a time.
#include "app/csv_dictionary.h"

namespace app {
namespace {

bool AllAscii(std::string_view s) {
    for (const char c : s) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

// Where the text starts: after a UTF-8 byte order mark, when there is one.
uint64_t TextStart(const platform::os::ByteFile& text) {
    char head[3];
    return text.ReadAt(0, 3, head).ok() && std::string_view(head, 3) == "\xEF\xBB\xBF" ? 3 : 0;
}

}  // namespace

CsvReader::CsvReader(const platform::os::ByteFile& text, ImportNotes& notes)
    : EntrySource(notes), in_(text, TextStart(text)) {
}

CsvReader::Row CsvReader::ReadRow() {
    fields_[0].clear();
    fields_[1].clear();
    field_count_ = 1;
    too_long_ = false;
    row_line_ = line_;
    bool quoted = false;      // inside a quoted field
    bool was_quoted = false;  // the current field was quoted (text after it is kept)
    bool field_empty = true;  // nothing in the current field yet
    bool any = false;
    auto add = [&](char c) {
        field_empty = false;
        if (field_count_ > 2 || too_long_) return;
        if (fields_[0].size() + fields_[1].size() >= kMaxSourceEntryBytes) {
            too_long_ = true;
            fields_[0] = std::string();
            fields_[1] = std::string();
            return;
        }
        fields_[field_count_ - 1] += c;
    };
    char c = 0;
    while (in_.Next(c)) {
        any = true;
        if (quoted) {
            if (c == '"') {
                char next = 0;
                if (in_.Peek(next) && next == '"') {
                    in_.Next(next);
                    add('"');
                } else {
                    quoted = false;
                }
            } else {
                if (c == '\n') ++line_;
                add(c);
            }
            continue;
        }
        if (c == '"' && field_empty && !was_quoted) {
            quoted = true;
            was_quoted = true;
        } else if (c == ',') {
            ++field_count_;
            was_quoted = false;
            field_empty = true;
        } else if (c == '\n') {
            ++line_;
            break;
        } else if (char next = 0; c == '\r' && (!in_.Peek(next) || next == '\n')) {
            // The CR of a CR LF line end.
        } else {
            add(c);
        }
    }
    if (in_.failed() || quoted) {
        Fail(quoted ? "line " + std::to_string(row_line_) + ": a quoted field is never closed"
                    : in_.failure());
        return Row::kEnd;
    }
    if (!any) return Row::kEnd;
    const bool blank = field_count_ == 1 && fields_[0].empty() && !was_quoted && !too_long_;
    return blank ? Row::kBlank : Row::kRow;
}

bool CsvReader::Next(SourceEntry& entry) {
    for (Row row = ReadRow(); row != Row::kEnd; row = ReadRow()) {
        if (row == Row::kBlank) continue;
        const std::string where = "line " + std::to_string(row_line_);
        const bool first = first_row_;
        first_row_ = false;
        if (first && !too_long_ && !fields_[0].empty() && AllAscii(fields_[0])) {
            continue;  // the column names
        }
        if (too_long_) {
            PassOver(where, "the row takes more than " + std::to_string(kMaxSourceEntryBytes) +
                                " bytes in its first two columns (a definition takes at most " +
                                std::to_string(kMaxDefinitionBytes) + " bytes)");
        } else if (field_count_ < 2) {
            PassOver(where, "the row has no definition column");
        } else {
            entry.word = OneLine(fields_[0]);
            entry.definition = OneLine(fields_[1]);
            entry.where = where;
            return true;
        }
    }
    return false;
}

}  // namespace app
