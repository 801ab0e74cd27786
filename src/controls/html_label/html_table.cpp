// Tables inside the layout walk. There is no table formatter of its own:
// TABLE opens a table state on a small stack and fixes every column and cell
// width at once (ComputeColumnWidths); TR starts a row; TD turns the cell
// into a temporary page with its own left margin and right limit, so that
// its content is laid out by the ordinary rules; the end tags measure and
// advance. Heights are not known in advance: the measuring pass stores the
// row heights, cell content heights and table heights in the elements, and
// the drawing pass reads them back to draw backgrounds, frames (a raised one
// round the table, sunken ones round the cells) and vertically aligned cells
// at their final size.
//
// Only rows that are children of the TABLE take part in the column widths.
// Beyond 16 nested tables or 17 cells in a row a table or cell is left out
// with everything inside it. Rows, cells and tables the document leaves
// open are closed by whatever closes their container, and at the end.
#include <algorithm>

#include "controls/html_label/html_label.h"
#include "controls/html_label/html_layout.h"

namespace html_label {

using detail::Narrow;
using detail::Round;

namespace {

// VAlign values.
constexpr int8_t kVAlignMiddle = 4;
constexpr int8_t kVAlignBottom = 5;

// A cell spans at least its own column and at most every column there is.
int32_t SpanOf(const HTMLElement& cell) {
    return std::clamp<int32_t>(cell.ColSpan, 1, kMaxCells);
}

}  // namespace

void HTMLLayout::Fill(int64_t x1, int64_t y1, int64_t x2, int64_t y2, platform::Color color) {
    if (!draw_ || x2 < x1 || y2 < y1) return;
    const auto clamp = [](int64_t v) {
        constexpr int64_t kFar = int64_t{1} << 24;
        return static_cast<int32_t>(std::clamp<int64_t>(v, -kFar, kFar));
    };
    dc_->FillRect({clamp(x1), clamp(y1), clamp(x2 + 1), clamp(y2 + 1)}, color);
}

void HTMLLayout::ClearTable() {
    if (s_.PenY >= s_.ClearY) return;
    s_.PenY = s_.ClearY;
    s_.PenX = s_.LeftMargin + s_.BlockIndent;
}

int64_t HTMLLayout::ComputeColumnWidths(int32_t t) {
    const HTMLElement& table = E(t);
    const auto children = label_->Children(table);
    const auto child_count = static_cast<size_t>(std::max(0, table.ChildCount));
    const size_t table_children = std::min(children.size(), child_count);
    // The rows: the TR children, or the table itself when its cells stand
    // in no row at all.
    bool has_rows = false;
    for (size_t k = 0; k < table_children && !has_rows; ++k)
        has_rows = E(children[k]).TagID == tagTR;
    auto for_each_row = [&](auto&& visit) {
        if (!has_rows) {
            visit(t);
            return;
        }
        for (size_t k = 0; k < table_children; ++k) {
            if (E(children[k]).TagID == tagTR && !visit(children[k])) return;
        }
    };
    auto cells_of = [&](int32_t row) {
        const auto cells = label_->Children(E(row));
        return cells.first(
            std::min(cells.size(), static_cast<size_t>(std::max(0, E(row).ChildCount))));
    };

    // 1-2. The first row's cells give the number of columns.
    int32_t first_row = -1;
    for_each_row([&](int32_t row) {
        first_row = row;
        return false;
    });
    if (first_row < 0) return 0;
    int64_t n = 0;
    for (int32_t c : cells_of(first_row)) {
        if (E(c).TagID == tagTD) n += SpanOf(E(c));
    }
    n = std::min<int64_t>(n, kMaxCells);

    // 3-4. The widths the first row without spans asks for; the others
    // share what is left.
    const double spacing = std::max<int16_t>(0, table.CellSpacing);
    const double width = table.ComputedWidth;
    const double available = width - static_cast<double>(n + 1) * spacing;
    double columns[kMaxCells] = {};
    if (n > 0) {
        int32_t plain_row = -1;
        for_each_row([&](int32_t row) {
            for (int32_t c : cells_of(row)) {
                if (E(c).TagID == tagTD && E(c).ColSpan > 1) return true;
            }
            plain_row = row;
            return false;
        });
        if (plain_row >= 0) {
            bool open[kMaxCells];
            std::fill(open, open + kMaxCells, true);
            double fixed = 0;
            int64_t k = 0;
            for (int32_t c : cells_of(plain_row)) {
                if (E(c).TagID != tagTD) continue;
                if (k >= n) break;
                const double w = E(c).WidthSpec;
                if (w < 1) {
                    columns[k] = available * w;
                } else if (w > 1) {
                    columns[k] = w;
                }
                if (w != 1) {
                    fixed += columns[k];
                    open[k] = false;
                }
                ++k;
            }
            int64_t q = 0;
            for (int64_t c = 0; c < n; ++c) q += open[c] ? 1 : 0;
            if (q > 0) {
                const int64_t share = Round(available - fixed) / q;
                for (int64_t c = 0; c < n; ++c) {
                    if (open[c]) columns[c] = static_cast<double>(share);
                }
            }
        } else {
            for (int64_t c = 0; c < n; ++c) columns[c] = available * (1.0 / static_cast<double>(n));
        }
        // A column narrower than nothing is as good as none.
        for (int64_t c = 0; c < n; ++c) columns[c] = std::max(0.0, columns[c]);

        // 5. A pixel table grows to its columns; otherwise columns that do
        // not fill the table are scaled to fill it.
        double sum = 0;
        for (int64_t c = 0; c < n; ++c) sum += static_cast<double>(static_cast<float>(columns[c]));
        if (sum > 1 && table.WidthSpec > 1 && sum > width) {
            E(t).ComputedWidth = Narrow(Round(sum));
        } else if (sum > 0 && sum < width) {
            for (int64_t c = 0; c < n; ++c) columns[c] = columns[c] / sum * available;
        }
    }

    // 6. Cell widths; a cell spanning columns also covers the spacing
    // between them, so its frame lines up with the cells below.
    const int64_t border = std::max<int16_t>(0, table.Border);
    const auto gap = static_cast<int64_t>(std::max<int16_t>(0, table.CellSpacing));
    int64_t reach = 0;
    for_each_row([&](int32_t row) {
        int64_t c = 0;
        int64_t x = border + gap;
        for (int32_t cell : cells_of(row)) {
            HTMLElement& e = E(cell);
            if (e.TagID != tagTD) continue;
            const int32_t span = SpanOf(e);
            double w = 0;
            for (int32_t s = 0; s < span; ++s, ++c) {
                if (c < n)
                    w = static_cast<double>(
                        Round(static_cast<double>(static_cast<float>(columns[c])) + w));
            }
            const int64_t computed = Round(w) + (span - 1) * gap;
            e.ComputedWidth = Narrow(computed);
            reach = std::max(reach, x + computed - border);
            x += computed + gap;
        }
        return true;
    });
    return reach;
}

int32_t HTMLLayout::LayoutTableTag(int32_t i) {
    switch (E(i).TagID) {
        case tagTable:
            return OpenTable(i);
        case tagTR:
            if (s_.TableDepth > 0) OpenRow(i);
            return i;
        case tagTD:
            return s_.TableDepth > 0 ? OpenCell(i) : i;
        case tagTDEnd:
            if (s_.TableDepth > 0) CloseCell(i);
            return i;
        case tagTREnd:
            if (s_.TableDepth > 0) {
                CloseCell(-1);
                CloseRow();
            }
            return i;
        case tagTableEnd:
            if (s_.TableDepth > 0) CloseTable();
            return i;
        default:
            return i;
    }
}

int32_t HTMLLayout::OpenTable(int32_t i) {
    const auto k = static_cast<size_t>(i);
    // Deeper than the stack holds: the table is left out, content and all.
    if (s_.TableDepth >= kMaxTables) return k < subtree_end_.size() ? subtree_end_[k] : i;
    const int64_t padding = label_->DefaultPadding();
    const bool nested = s_.TableDepth > 0;

    // 2. An outermost table starts on a new line when anything came before
    // it; a nested one where the pen is, below content on the cell's line
    // and below a table just closed.
    if (!nested) {
        if (s_.PenY > padding ||
            (s_.PenY == padding && current_x_ > static_cast<double>(s_.LeftMargin))) {
            s_.PenY += s_.LineHeight;
            Remeasure();
        }
    } else {
        if (s_.ContentLineY >= s_.PenY) {
            s_.PenY += s_.LineHeight;
            Remeasure();
        }
    }
    s_.PenY = std::max(s_.PenY, s_.ClearY);
    s_.InTable = true;
    HTMLElement& e = E(i);
    e.Top = Narrow(s_.PenY);

    // 3. The width: pixels, or a fraction of the room. A nested table's room
    // is its cell's content width less its own padding on both sides.
    TableState& t = s_.TableStack[s_.TableDepth];
    t = TableState{};
    const double room = nested
                            ? static_cast<double>(s_.RightLimit - s_.LeftMargin -
                                                  2 * int64_t{std::max<int16_t>(0, e.CellPadding)} -
                                                  std::max<int16_t>(0, e.Border))
                            : static_cast<double>(s_.RightLimit - 2 * padding - s_.LeftMargin);
    // A table narrower than nothing (its room used up) is as wide as nothing.
    t.Width =
        std::max<int64_t>(0, e.WidthSpec > 1 ? Round(e.WidthSpec) : Round(e.WidthSpec * room));
    e.ComputedWidth = Narrow(t.Width);
    const int64_t reach = ComputeColumnWidths(i);
    HTMLElement& table = E(i);

    // 4. Rows start inside the border and the spacing.
    // Negative sizes from attributes count as none.
    t.Border = std::max<int16_t>(0, table.Border);
    t.CellPadding = std::max<int16_t>(0, table.CellPadding);
    t.CellSpacing = std::max<int16_t>(0, table.CellSpacing);
    // The frame takes in every cell, also those wider than the table.
    t.Width = std::max(t.Width, reach + t.CellSpacing);
    t.Top = s_.PenY;
    t.RowTop = s_.PenY + t.Border + t.CellSpacing;
    t.RowHeight = 0;
    t.TableIndex = i;
    t.Back = table.HasBgColor ? table.BgColor
             : nested         ? s_.TableStack[s_.TableDepth - 1].Back
                              : back_;
    if (final_pass_) {
        t.Height = table.MeasuredHeight;
    } else {
        t.Height = table.HeightSpec > 1 ? Round(table.HeightSpec) : 2 * int64_t{t.Border};
    }

    // 5. Centred within the margins when asked and when it fits.
    bool placed = false;
    if (table.AlignCenter) {
        const int64_t left = s_.LeftMargin + (s_.RightLimit - s_.LeftMargin - t.Width) / 2;
        if (left >= s_.LeftMargin) {
            t.Left = left;
            placed = true;
        }
    }
    if (!placed) t.Left = nested ? s_.LeftMargin + t.CellPadding : s_.LeftMargin;

    // 6. Background and raised frame, the frame as far from the cells on
    // the right and at the bottom as on the left and at the top.
    const int64_t border = t.Border;
    const int64_t right = t.Left + t.Width + border - (border == 0 ? 1 : 0);
    const int64_t bottom = t.Top + t.Height + t.CellSpacing - border - (border == 0 ? 1 : 0);
    if (draw_) {
        if (table.HasBgColor) Fill(t.Left, t.Top, right, bottom, table.BgColor);
        if (border >= 1) Draw3DFrame(false, t.Left, t.Top, right, bottom, t.Back);
        if (table_boxes_ != nullptr) {
            table_boxes_->push_back(
                {i, false, Narrow(t.Left), Narrow(t.Top), Narrow(right), Narrow(bottom)});
        }
    }

    // 7. The centring is the table's until it closes.
    t.Centered = table.AlignCenter && s_.CenterOn;
    s_.CenterOn = false;
    s_.ContentLineY = std::numeric_limits<int64_t>::min();
    ++s_.TableDepth;

    // 8. The content is as wide as the table's frame and the padding.
    if (!final_pass_ && label_->EnableScroll()) {
        label_->content_width_ =
            Narrow(std::max<int64_t>(label_->content_width_, right + 1 + padding));
    }
    return i;
}

void HTMLLayout::OpenRow(int32_t row) {
    TableState& t = s_.TableStack[s_.TableDepth - 1];
    // A row left open ends where the next one starts.
    CloseCell(-1);
    CloseRow();
    s_.PenX = s_.LeftMargin + s_.BlockIndent;
    t.RowIndex = row;
    HTMLElement& e = E(row);
    if (row != t.TableIndex) e.Indent = Narrow(s_.BlockIndent);
    if (final_pass_) {
        t.RowHeight = e.RowHeight;
    } else {
        t.RowHeight =
            row != t.TableIndex && e.HeightSpec > 1 ? Round(e.HeightSpec) : int64_t{t.CellSpacing};
    }
    t.CellX = t.Border + t.CellSpacing;
    t.Column = 0;
}

int32_t HTMLLayout::OpenCell(int32_t i) {
    TableState& t = s_.TableStack[s_.TableDepth - 1];
    CloseCell(-1);
    // A cell outside any row opens one of its own, kept in the table.
    if (t.RowIndex < 0) OpenRow(t.TableIndex);
    const auto k = static_cast<size_t>(i);
    // Beyond the cells a row holds: left out, content and all.
    if (t.Column >= kMaxCells) return k < subtree_end_.size() ? subtree_end_[k] : i;

    HTMLElement& cell = E(i);
    // 1. The cell's own alignment.
    s_.CenterOn = cell.AlignCenter;
    s_.AlignRightOn = cell.AlignRight;

    // 2. The cell is a page of its own.
    s_.LeftMargin = t.Left + t.CellX + t.Border + t.CellPadding;
    s_.RightLimit = cell.ComputedWidth + t.Left + t.CellX - 2 * int64_t{t.Border} - t.CellPadding;
    t.CellRight = s_.RightLimit;
    s_.PenX = s_.LeftMargin;
    s_.RunIndent = 0;
    s_.ClearY = 0;
    s_.TableBottomY = 0;
    s_.ContentLineY = std::numeric_limits<int64_t>::min();

    // 3. Its edges; the table grows to take it in.
    // A cell narrower than its border still has its left edge left of its
    // right one.
    const int64_t right_edge = std::max(s_.RightLimit + t.CellPadding + t.Border, t.Left + t.CellX);
    t.CellEdges[t.Column] = {t.Left + t.CellX, right_edge};
    t.CellElements[t.Column] = i;
    t.Width = std::max(t.Width, right_edge - t.Left);
    ++t.Column;
    t.CellIndex = i;

    // 4. The content is as wide as the table.
    if (!final_pass_ && label_->EnableScroll()) {
        label_->content_width_ = Narrow(std::max<int64_t>(
            label_->content_width_, t.Left + t.Width + t.Border + 1 + label_->DefaultPadding()));
    }

    if (!final_pass_) {
        // 5. The content starts inside the border and the padding; the cell
        // keeps where, until its end tag measures the content.
        s_.PenY = t.RowTop + t.Border + t.CellPadding;
        cell.MeasuredHeight = Narrow(s_.PenY);
        return i;
    }

    // 6. The row's measured height gives the background and the place of
    // the content.
    const int64_t no_border = t.Border == 0 ? 1 : 0;
    const int64_t height = E(t.RowIndex).RowHeight - no_border;
    if (cell.HasBgColor) {
        Fill(t.Left + t.CellX + t.Border, t.RowTop + t.Border,
             s_.RightLimit + t.CellPadding - no_border, t.RowTop + height - t.Border, cell.BgColor);
    }
    const double half_spacing = static_cast<double>(t.CellSpacing) / 2;
    switch (cell.VAlign) {
        case kVAlignMiddle:
            s_.PenY = t.RowTop + (height - cell.MeasuredHeight) / 2;
            break;
        case kVAlignBottom:
            s_.PenY = Round(static_cast<double>(t.RowTop + height - cell.MeasuredHeight) -
                            half_spacing - 2.0 * t.CellPadding);
            break;
        default:
            s_.PenY = Round(static_cast<double>(t.RowTop) + half_spacing + t.CellPadding);
            break;
    }
    return i;
}

void HTMLLayout::CloseCell(int32_t closer) {
    TableState& t = s_.TableStack[s_.TableDepth - 1];
    if (t.CellIndex < 0) return;
    const int32_t cell = t.CellIndex;
    t.CellIndex = -1;
    const int64_t spacing = label_->DefaultSpacing();

    // 1. The content's height: from its top to the foot of its last line,
    // or to the bottom of a table that ends it.
    if (!final_pass_) {
        HTMLElement& e = E(cell);
        const int64_t bottom =
            s_.PenY < s_.ClearY ? s_.TableBottomY : s_.PenY + s_.LineHeight - spacing;
        e.MeasuredHeight = Narrow(bottom - e.MeasuredHeight);
    }

    // 2. A taller line (a picture) ends lower than the text on it.
    if (MeasureLineHeight() != s_.LineHeight) {
        if (current_y_ < static_cast<double>(s_.PenY + s_.LineHeight))
            current_y_ = static_cast<double>(s_.PenY + s_.LineHeight);
        Remeasure();
    }

    // 3. The row is as high as its highest cell.
    if (!final_pass_) {
        const double reach = current_y_ - static_cast<double>(t.RowTop);
        if (reach > static_cast<double>(t.RowHeight)) t.RowHeight = Round(reach);
    } else if (t.RowIndex >= 0) {
        t.RowHeight = E(t.RowIndex).RowHeight;
    }

    // 4. The next cell starts one spacing to the right.
    t.CellX = t.CellEdges[t.Column - 1].right + t.CellSpacing + t.Border - t.Left;

    // 5. The alignment around the cell comes back.
    s_.CenterOn = false;
    s_.AlignRightOn = false;
    const auto from = static_cast<size_t>(closer >= 0 ? closer : cell);
    if (from < div_ancestor_.size() && div_ancestor_[from] >= 0) {
        const HTMLElement& div = E(div_ancestor_[from]);
        s_.AlignRightOn = div.AlignRight;
        s_.CenterOn = div.AlignCenter;
    } else if (static_cast<size_t>(cell) < td_ancestor_.size() &&
               td_ancestor_[static_cast<size_t>(cell)] >= 0) {
        const HTMLElement& outer = E(td_ancestor_[static_cast<size_t>(cell)]);
        s_.AlignRightOn = outer.AlignRight;
        s_.CenterOn = outer.AlignCenter;
    } else if (from < center_ancestor_.size() && center_ancestor_[from] >= 0) {
        s_.CenterOn = true;
    }
}

void HTMLLayout::CloseRow() {
    TableState& t = s_.TableStack[s_.TableDepth - 1];
    if (t.RowIndex < 0) return;
    // 1. An empty row still takes a line.
    if (s_.PenY <= t.RowTop) s_.PenY += s_.LineHeight;
    s_.PenX = s_.LeftMargin + s_.BlockIndent;

    // 2. The table grows by the row.
    const int64_t step = t.RowHeight + t.CellSpacing + t.Border;
    if (!final_pass_ && step > 0) t.Height += step;

    // 3. Sunken frames round the row's cells.
    if (t.Border > 0) {
        for (int32_t c = 0; c < t.Column; ++c) {
            Draw3DFrame(true, t.CellEdges[c].left, t.RowTop, t.CellEdges[c].right,
                        t.RowTop + t.RowHeight, t.Back);
        }
    }
    if (draw_ && table_boxes_ != nullptr) {
        for (int32_t c = 0; c < t.Column; ++c) {
            table_boxes_->push_back({t.CellElements[c], true, Narrow(t.CellEdges[c].left),
                                     Narrow(t.RowTop), Narrow(t.CellEdges[c].right),
                                     Narrow(t.RowTop + t.RowHeight)});
        }
    }

    // 4-5. The row keeps its height; the next one starts below it.
    if (!final_pass_) E(t.RowIndex).RowHeight = Narrow(t.RowHeight);
    t.RowTop += step;
    t.RowIndex = -1;
    t.Column = 0;
}

void HTMLLayout::CloseTable() {
    CloseCell(-1);
    CloseRow();
    const TableState t = s_.TableStack[s_.TableDepth - 1];
    const int64_t spacing = label_->DefaultSpacing();

    // 1. The table's measures.
    HTMLElement& table = E(t.TableIndex);
    table.Bottom = Narrow(t.Top + t.Height + s_.LineHeight - 1 + spacing);
    if (!final_pass_) table.MeasuredHeight = Narrow(t.Height);

    // 2-3. Back into the enclosing cell, or to the page, with the centring
    // that was in effect where the table opened.
    --s_.TableDepth;
    const int64_t frame_bottom =
        t.Top + t.Height + t.CellSpacing - t.Border - (t.Border == 0 ? 1 : 0);
    if (s_.TableDepth > 0) {
        const TableState& o = s_.TableStack[s_.TableDepth - 1];
        s_.LeftMargin = o.Left + o.CellX + o.Border + o.CellPadding;
        s_.RightLimit = o.CellRight;
        s_.PenX = s_.LeftMargin + s_.BlockIndent;
        // The enclosing row reaches below this table as far as the cell's
        // content starts below its top.
        current_y_ =
            std::max(current_y_, static_cast<double>(frame_bottom + o.Border + o.CellPadding));
    } else {
        s_.LeftMargin = label_->DefaultPadding();
        s_.PenX = s_.LeftMargin;
        s_.RightLimit = surface_width_;
        s_.InTable = false;
    }
    s_.CenterOn = t.Centered;

    // 4. The pen ends on the table's last line; what follows starts below
    // its frame.
    s_.PenY = t.Top + t.Height - t.CellSpacing / 2;
    s_.TableBottomY = frame_bottom + 1;
    s_.ClearY = s_.TableBottomY + spacing;
    Remeasure();
}

}  // namespace html_label
