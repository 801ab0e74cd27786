// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the two unpacked data files into the dictionary store.
//
// The record file holds 34-byte headword records (a 30-byte space-padded
// headword and four bytes the dictionary does not use); the definition file
// holds one line per record. Loading runs on the user interface thread while
// the splash window is up, so it reports a percentage and yields to the
// message loop every 600 entries; the windows reach it only through the
// callbacks below, which keeps the loader testable without them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "app/dictionary_store.h"

namespace app {

inline constexpr uint64_t kRecordBytes = 34;
inline constexpr int64_t kProgressStep = 600;
// Up to this many entries the percentage reads as the classic scale for
// about thirty thousand entries; larger dictionaries show the true share.
inline constexpr int64_t kClassicScaleEntries = 30002;

// How the headword list is set up once the store is filled.
struct HeadwordListSetup {
    std::string font_face = "OrvSoft";
    float font_size = 16.0f;
    std::string column_caption = "zAb";
    int32_t column_width = 170;  // pixels
    bool full_row_select = true;
    bool grid_lines = true;
    int32_t item_count = 0;
};

struct LoadCallbacks {
    // The splash window's percentage label.
    std::function<void(const std::string& caption)> set_percentage;
    // Lets the message loop process pending messages.
    std::function<void()> yield;
    // The first access to the main window's headword list, which creates the
    // main window and runs its load step (it reads the filled store).
    std::function<void()> on_list_first_touched;
    // Font, column, row count: after the main window exists.
    std::function<void(const HeadwordListSetup& setup)> configure_list;
};

struct LoadReport {
    int64_t records = 0;      // the record count worked out from the file size
    int32_t entries = 0;      // entries in the store
    int32_t definitions = 0;  // entries whose line was present in the definition file
    int32_t percentage_updates = 0;
    bool headword_file_opened = false;
    bool definition_file_opened = false;
};

// The record count for a record file of `bytes` bytes: bytes / 34 rounded to
// the nearest integer, ties to even (34*2+17 gives 2, 34*3+17 gives 4).
int64_t RecordCountForFileSize(uint64_t bytes);

// The caption shown after reading entry `i` (zero-based) of `n`, or an empty
// string when the label does not change at this entry.
std::string PercentCaptionAfterEntry(int64_t i, int64_t n);

// Replaces the contents of `store` with the entries of the two files, calling
// the callbacks in the loader's fixed order. Damaged or missing files never
// fail the load: a missing record file gives an empty store, a short
// definition file leaves the remaining definitions empty.
LoadReport LoadDictionary(const std::string& headword_path, const std::string& definition_path,
                          DictionaryStore& store, const LoadCallbacks& callbacks);

}  // namespace app
