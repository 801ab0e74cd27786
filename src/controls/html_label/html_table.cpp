// The table tags' place in the walk. Every TABLE, TR, TD and end tag of the
// layout comes to LayoutTableTag, so that table layout (column widths, row
// heights measured in the first pass, cell frames and backgrounds) lives in
// this one routine.
//
// Until then a table reads as plain lines: each cell starts a new line at
// the block's margin and the line after the table starts afresh, so the
// text of a table never runs into or over its neighbours.
#include "controls/html_label/html_label.h"
#include "controls/html_label/html_layout.h"

namespace html_label {

void HTMLLayout::LayoutTableTag(int32_t i) {
    switch (E(i).TagID) {
        case tagTD:
        case tagTableEnd:
            LineBreak();
            s_.RunIndent = s_.BlockIndent;
            E(i).Indent = detail::Narrow(s_.BlockIndent);
            break;
        default:
            break;
    }
}

}  // namespace html_label
