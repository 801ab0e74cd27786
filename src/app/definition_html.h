// SPDX-License-Identifier: GPL-3.0-or-later
// Turning a headword and its one-line definition into the small HTML
// document the definition pane shows, and into the plain segments a
// terminal lookup prints.
//
// A definition is a run of segments, each ended by "."; a segment that
// starts with "[" and holds "=]" further on is a sub-entry: the text between
// is its key, the text after "=]" its explanation. The word's and the
// definition's bytes reach the pane as they are, except "<", ">" and "&",
// which are written as entities ("<" is the Preeti question mark).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace app {

struct DefinitionSegment {
    bool is_subentry = false;
    std::string key;   // sub-entries only
    std::string text;  // the sentence, or the sub-entry's explanation
};

// The segments of a definition, in order, empty ones included.
std::vector<DefinitionSegment> SplitDefinition(std::string_view definition);

// The document for the definition pane.
std::string ComposeDefinitionHtml(std::string_view definition, std::string_view word);

// The definition pane's document for every entry of a dictionary table (the
// packer's format, Unicode), in order; empty when the table is refused. For
// benchmarks and demos that show every sample definition.
std::vector<std::string> ComposeTableDefinitions(std::string_view table);

// The pieces of the document, shared with callers that lay the same
// structure out in another medium.
namespace html_piece {
inline constexpr std::string_view kHeaderStart =
    "<p align='center'><font face='OrvSoft' size=10 color='ff0000'><B>";
inline constexpr std::string_view kHeaderEnd = "</B></font></p><hr>";
inline constexpr std::string_view kKeyStart =
    "<font face='arial' size=8 color=0000ff> [ </font><font face='OrvPreeti' size=8 "
    "color=0000ff><B> ";
inline constexpr std::string_view kKeyEnd =
    "</B>=</font><font face='arial' size=6 color=0000ff> ]</font> ";
inline constexpr std::string_view kLineStart = "<br><font face='OrvPreeti' size=8>";
inline constexpr std::string_view kLineEnd = " .</font><br>";
}  // namespace html_piece

}  // namespace app
