// SPDX-License-Identifier: GPL-3.0-or-later
// The definition composer.
#include "app/definition_html.h"

#include <algorithm>

#include "app/dictionary_table.h"
#include "app/trim.h"

namespace app {
namespace {

// "<", ">" and "&" are text in a definition ("<" is the Preeti question
// mark), so they go to the pane as entities, which it decodes.
void AppendEscaped(std::string& html, std::string_view text) {
    for (char c : text) {
        switch (c) {
            case '<':
                html += "&lt;";
                break;
            case '>':
                html += "&gt;";
                break;
            case '&':
                html += "&amp;";
                break;
            default:
                html += c;
        }
    }
}

}  // namespace

std::vector<DefinitionSegment> SplitDefinition(std::string_view definition) {
    std::string d(TrimSpaces(definition));
    // Every segment is closed by ".", so a last sentence without one gets it.
    if (d.empty() || d.back() != '.') d += " .";

    std::vector<DefinitionSegment> segments;
    size_t begin = 0;
    for (size_t dot = d.find('.'); dot != std::string::npos; dot = d.find('.', begin)) {
        const std::string_view t = TrimSpaces(std::string_view(d).substr(begin, dot - begin));
        begin = dot + 1;
        DefinitionSegment segment;
        // "=]" is looked for from the second character on, so "[=]" has an
        // empty key while "=]" alone, or "[" with no "=]", is a plain line.
        const size_t mark = t.size() > 1 && t.front() == '[' ? t.find("=]", 1) : t.npos;
        if (mark != t.npos) {
            segment.is_subentry = true;
            segment.key = t.substr(1, mark - 1);
            segment.text = t.substr(mark + 2);
        } else {
            segment.text = t;
        }
        segments.push_back(std::move(segment));
    }
    return segments;
}

std::string ComposeDefinitionHtml(std::string_view definition, std::string_view word) {
    using namespace html_piece;
    std::string html;
    html.reserve(kHeaderStart.size() + word.size() + kHeaderEnd.size() + definition.size() * 2 +
                 128);
    html += kHeaderStart;
    AppendEscaped(html, word);
    html += kHeaderEnd;
    for (const DefinitionSegment& segment : SplitDefinition(definition)) {
        if (segment.is_subentry) {
            html += kKeyStart;
            AppendEscaped(html, segment.key);
            html += kKeyEnd;
        }
        html += kLineStart;
        AppendEscaped(html, segment.text);
        html += kLineEnd;
    }
    return html;
}

std::vector<std::string> ComposeTableDefinitions(std::string_view table) {
    const TableResult converted = ConvertTable(table, TableEncoding::kUnicode);
    std::vector<std::string> docs;
    const std::string& records = converted.packed.headword_records;
    const std::string& lines = converted.packed.definition_lines;
    size_t at = 0;
    for (int32_t k = 0; k < converted.packed.entries; ++k) {
        std::string_view word = std::string_view(records).substr(static_cast<size_t>(k) * 34, 30);
        while (!word.empty() && word.back() == ' ') word.remove_suffix(1);
        const size_t end = std::min(lines.find("\r\n", at), lines.size());
        docs.push_back(ComposeDefinitionHtml(std::string_view(lines).substr(at, end - at), word));
        at = end + 2;
    }
    return docs;
}

}  // namespace app
