// Showing HTML label documents: parse, both layout passes and the copy of
// the viewport from the off-screen picture, on the real text engine.
//
//   Definitions    every definition of data/dictionary.tsv, composed as the
//                  main window composes it, in the definition pane's settings
//                  at its size (361 x 367); counters give the median and the
//                  worst document in milliseconds (the fastest of 5 runs of
//                  each document)
//   Chars/N        a document of N characters of Preeti paragraphs
//   Measuring/N    the measuring pass alone over the same documents
//   Lines/N        N short lines, each ended by <BR>
//   DrawingPass    the drawing pass alone over the definitions, after each
//                  was shown once: allocations per pass and per word
//   Table/N        a bordered table of N rows and 5 columns (widths in pixels
//                  and percent, a header row with a span, backgrounds, a
//                  vertically centred column) under a heading
//   NestedTables/N "<TABLE><TR><TD>x" N times, nothing ever closed
//
// Chars, Lines, Table and NestedTables run at n and 4n so that the times
// show how the work grows with the document. Allocations are counted with a global operator new,
// which is why this is a program of its own.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <new>
#include <string>
#include <vector>

#include "app/definition_html.h"
#include "controls/html_label/html_label.h"
#include "controls/html_label/html_picture.h"
#include "platform/dc.h"
#include "platform/text/font_engine.h"

#include "allocation_counter.h"

namespace {

using html_label::HTMLLabel;
using html_label::HTMLPicture;

constexpr int32_t kPaneWidth = 361;
constexpr int32_t kPaneHeight = 367;

// The definition pane's settings.
void SetUpPane(HTMLLabel& label) {
    (void)label.SetBackColor(0x00B4FFFF);
    label.SetEnableScroll(true);
    (void)label.SetDefaultFontName("MS Sans Serif");
    (void)label.SetDefaultFontSize(10);
    label.SetUnderlineLinks(false);
    label.SetDefaultPadding(6);
    label.SetDefaultSpacing(5);
}

// Every entry of the sample table, converted as the packer converts it and
// composed as the main window composes it.
std::vector<std::string> DefinitionDocuments() {
    const char* root = std::getenv("KOVELIN_SOURCE_DIR");
    std::ifstream in(std::string(root != nullptr ? root : KOVELIN_SOURCE_DIR_FALLBACK) +
                     "/data/dictionary.tsv");
    const std::string table((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return app::ComposeTableDefinitions(table);
}

// The pane: a label, its picture and the viewport it is copied into, at a
// device scale.
struct Pane {
    explicit Pane(int32_t scale = 1)
        : viewport(platform::Surface::AtScale(kPaneWidth, kPaneHeight, scale)), dc(viewport) {
        platform::text::InstallFontEngine();
        SetUpPane(label);
    }
    void Show(const std::string& html) {
        (void)label.LoadDocument(html);
        picture.Render(label, dc, kPaneWidth, kPaneHeight);
        picture.Paint(dc, 0, 0, kPaneWidth, kPaneHeight, 0, 0);
    }
    HTMLLabel label;
    HTMLPicture picture;
    platform::Surface viewport;
    platform::DC dc;
};

double Milliseconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Showing each definition of the sample dictionary; the argument is the
// device scale.
void Definitions(benchmark::State& state) {
    const std::vector<std::string> docs = DefinitionDocuments();
    Pane pane(static_cast<int32_t>(state.range(0)));
    for (const std::string& doc : docs) pane.Show(doc);  // glyph caches fill here
    std::vector<double> best(docs.size(), 1e9);
    for (auto _ : state) {
        for (size_t k = 0; k < docs.size(); ++k) {
            const auto start = std::chrono::steady_clock::now();
            pane.Show(docs[k]);
            best[k] = std::min(best[k], Milliseconds(std::chrono::steady_clock::now() - start));
        }
    }
    std::vector<double> sorted = best;
    std::sort(sorted.begin(), sorted.end());
    state.counters["documents"] = static_cast<double>(docs.size());
    state.counters["median_ms"] = sorted.empty() ? 0 : sorted[sorted.size() / 2];
    state.counters["worst_ms"] = sorted.empty() ? 0 : sorted.back();
}
BENCHMARK(Definitions)->Arg(1)->Arg(2)->Iterations(5)->Unit(benchmark::kMillisecond);

// Preeti paragraphs with a heading, bold words and a font change now and
// then, to the requested length.
std::string CharsDocument(int64_t length) {
    const std::string unit =
        "<P><font face='OrvPreeti' size=5>g]kfn lxdfnosf] b]z xf] . oxfF <B>cg]s</B> hflt / "
        "efiffsf dflg;x? a:5g\\ .</font> Plain Latin words follow the Nepali text here.</P>";
    std::string html = "<BODY><H2>Heading</H2>";
    while (html.size() < static_cast<size_t>(length)) html += unit;
    return html;
}

// The measuring pass alone: the layout's own work, without pixels.
void Measuring(benchmark::State& state) {
    const std::string html = CharsDocument(state.range(0));
    Pane pane;
    pane.Show(html);
    for (auto _ : state) {
        platform::DC dc = pane.picture.Context();
        pane.picture.layout().RenderDocument(
            pane.label, false, {&dc, kPaneWidth, kPaneHeight, kPaneWidth, kPaneHeight});
    }
}
BENCHMARK(Measuring)->Arg(2000)->Arg(8000)->Arg(32000)->Arg(128000)->Unit(benchmark::kMillisecond);

void Chars(benchmark::State& state) {
    const std::string html = CharsDocument(state.range(0));
    Pane pane;
    pane.Show(html);
    for (auto _ : state) pane.Show(html);
    state.counters["content_height"] = pane.label.ContentHeight();
}
BENCHMARK(Chars)->Arg(2000)->Arg(8000)->Arg(32000)->Unit(benchmark::kMillisecond);

void Lines(benchmark::State& state) {
    std::string html = "<BODY>";
    for (int64_t k = 0; k < state.range(0); ++k) {
        html += "Line " + std::to_string(k) + " of a plain document<BR>";
    }
    Pane pane;
    pane.Show(html);
    for (auto _ : state) pane.Show(html);
    state.counters["content_height"] = pane.label.ContentHeight();
}
BENCHMARK(Lines)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);

std::string TableDocument(int64_t rows) {
    std::string html =
        "<BODY><H3>Table</H3><TABLE BORDER=1 CELLPADDING=3 WIDTH=100%>"
        "<TR BGCOLOR=silver><TH COLSPAN=2>Word</TH><TH>Kind</TH><TH>Count</TH><TH>Note</TH></TR>";
    for (int64_t k = 0; k < rows; ++k) {
        html += "<TR><TD WIDTH=40>" + std::to_string(k) + "</TD><TD WIDTH=25%>word " +
                std::to_string(k) + "</TD><TD BGCOLOR=#EEEEFF>noun</TD><TD ALIGN=RIGHT>" +
                std::to_string(k * 7) +
                "</TD><TD VALIGN=MIDDLE>a note long enough to wrap onto a second line</TD></TR>";
    }
    return html + "</TABLE><P>After the table.</P>";
}

void Table(benchmark::State& state) {
    const std::string html = TableDocument(state.range(0));
    Pane pane;
    pane.Show(html);
    for (auto _ : state) pane.Show(html);
    state.counters["content_height"] = pane.label.ContentHeight();
}
BENCHMARK(Table)->Arg(200)->Arg(800)->Unit(benchmark::kMillisecond);

void NestedTables(benchmark::State& state) {
    std::string html = "<BODY>";
    for (int64_t k = 0; k < state.range(0); ++k) html += "<TABLE><TR><TD>x";
    Pane pane;
    pane.Show(html);
    for (auto _ : state) pane.Show(html);
    state.counters["content_height"] = pane.label.ContentHeight();
}
BENCHMARK(NestedTables)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);

void DrawingPass(benchmark::State& state) {
    const std::vector<std::string> docs = DefinitionDocuments();
    Pane pane;
    uint64_t words = 0;
    uint64_t allocations = 0;
    uint64_t passes = 0;
    for (auto _ : state) {
        for (const std::string& doc : docs) {
            pane.Show(doc);
            for (const html_label::HTMLElement& e : pane.label.Elements()) {
                if (!e.IsTag) words += pane.label.Words(e).size();
            }
            platform::DC dc = pane.picture.Context();
            const uint64_t before = g_allocations.load();
            pane.picture.layout().RenderDocument(
                pane.label, true,
                {&dc, pane.picture.width(), pane.picture.height(), kPaneWidth, kPaneHeight});
            allocations += g_allocations.load() - before;
            ++passes;
        }
    }
    state.counters["allocs_per_pass"] =
        static_cast<double>(allocations) / static_cast<double>(passes);
    state.counters["allocs_per_word"] =
        words ? static_cast<double>(allocations) / static_cast<double>(words) : 0.0;
}
BENCHMARK(DrawingPass)->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace
