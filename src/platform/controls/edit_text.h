// SPDX-License-Identifier: GPL-3.0-or-later
// The text of a one-line edit field and the Preeti typing composer, apart
// from any window: the byte text with its caret and selection, the edits and
// moves keys make, and the turning of Devanagari typed on a Unicode keyboard
// into Preeti bytes.
//
// Offsets are byte offsets into the program's text. Every edit and caret
// move counts on `serial()`, so the composer can tell whether a typing burst
// still continues where it left off.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace platform::controls {

class EditText {
  public:
    explicit EditText(int32_t max_length) : max_length_(max_length) {}

    const std::string& text() const { return text_; }
    int32_t max_length() const { return max_length_; }
    int32_t caret() const { return caret_; }
    int32_t anchor() const { return anchor_; }
    int32_t sel_start() const { return std::min(caret_, anchor_); }
    int32_t sel_length() const { return std::abs(caret_ - anchor_); }
    std::string sel_text() const;
    uint64_t serial() const { return serial_; }
    int32_t size() const { return static_cast<int32_t>(text_.size()); }

    // Replaces the whole text (cut to the maximum length). The caret goes to
    // the end; with `select` the whole text is selected.
    void SetText(std::string_view bytes, bool select = false);
    // Replaces bytes [from, to), cutting what does not fit; the caret ends
    // after the new bytes. Returns whether the text changed.
    bool Edit(int32_t from, int32_t to, std::string_view bytes);
    bool ReplaceSelection(std::string_view bytes) {
        return Edit(sel_start(), sel_start() + sel_length(), bytes);
    }
    // Moves the caret (clamped to the text); `extend` keeps the anchor.
    void MoveCaret(int32_t pos, bool extend);
    // The bytes before this offset are as they were at the last
    // ForgetChanges(), for callers that keep what they worked out from them.
    int32_t unchanged_prefix() const { return std::min(unchanged_, size()); }
    void ForgetChanges() { unchanged_ = size(); }
    // Selects `length` bytes from the selection start (clamped).
    void SetSelLength(int32_t length);
    void SelectAll();
    // The selection, or else the byte before / after the caret, removed.
    bool Backspace();
    bool Delete();

    // Word moves: only blanks separate words, because in Preeti text
    // punctuation bytes are letters and signs ("]" is the e sign).
    int32_t WordLeft(int32_t from) const;
    int32_t WordRight(int32_t from) const;
    // Selects the run of word or blank bytes at `pos`.
    void SelectWordAt(int32_t pos);

  private:
    std::string text_;
    int32_t max_length_;
    int32_t caret_ = 0;
    int32_t anchor_ = 0;
    uint64_t serial_ = 1;
    int32_t unchanged_ = 0;
};

// Control bytes have no place in a one-line field.
std::string WithoutControls(std::string_view bytes);

// Characters that take part in a Devanagari typing burst: the block itself
// and the joiners, which change how the syllable before them is written.
bool IsDevanagariInput(uint32_t code_point);

// Turns typed characters into bytes of the field's text.
//
// In a Preeti face a Devanagari syllable has to be converted as a whole (the
// short i is written before its consonant, the reph after it), so the
// characters of one typing burst are kept and converted again with each new
// one, replacing the bytes they produced the last time. A long burst keeps
// only its last syllables open: the rest is settled as soon as it converts
// on its own to the bytes it left in the text, so every key costs the same
// however long the burst. ASCII typed in a
// Preeti face goes in as its own byte (the Preeti layout on a Latin
// keyboard). In a Latin face characters become Windows-1252 bytes; those
// the code page lacks, and all Devanagari, are dropped.
class PreetiComposer {
  public:
    // Types one character into `text`; returns whether the text changed.
    bool Type(EditText& text, uint32_t code_point, bool preeti_face);
    // Forgets the current burst (the next character starts a new one).
    void Reset() { burst_.clear(); }

  private:
    bool TypeDevanagari(EditText& text, uint32_t code_point);
    void SettleHead(const EditText& text);

    std::string burst_;  // the burst's characters, UTF-8
    int32_t start_ = 0;  // where its bytes begin in the text
    int32_t length_ = 0;
    uint64_t serial_ = 0;  // the text's serial after the burst's last edit
};

}  // namespace platform::controls
