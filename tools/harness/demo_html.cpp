// The HTML label demo window "frmHtml": on the left "htmlDemo", a scrolling
// label with a document that uses every construct the layout knows
// (headings, paragraphs in three alignments, font tags and Preeti faces,
// BIG, SMALL, SUB, SUP, tables with spans, widths in pixels and percent,
// backgrounds, borders, alignment and a nested table, lists nested and
// numbered, a quotation, rules, pictures from the host, from a file and
// missing ones, entities, and links of every kind: a jump to a named place,
// a call of the window's host method "ShowWord", a call nobody answers and
// pages elsewhere, which the window records as HyperlinkClick events);
// on the right "htmlDefinition", the definition pane's twin (its size and
// settings) showing entry "index" of the sample dictionary, composed as the
// main window composes it. "Next" and "Previous" step through the entries.
#include "demo_html.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/definition_html.h"
#include "controls/html_label/html_label_control.h"
#include "platform/controls/command_button.h"
#include "platform/controls/form.h"
#include "platform/controls/label.h"
#include "platform/dc.h"
#include "platform/json.h"
#include "platform/preeti/preeti.h"

namespace harness {

using namespace platform;
using namespace platform::controls;
using html_label::HTMLLabel;
using html_label::HTMLLabelControl;

namespace {

// Preeti bytes of a Unicode text (the demo's own texts all convert).
std::string P(const char* utf8) {
    return preeti::FromUnicode(utf8).value_or("?");
}

// A small picture drawn here: a sky, a hill and a sun, for the IMG tags that
// ask for "demo:hills".
PictureRef Hills() {
    Surface pixels(72, 48, Rgb(200, 225, 250));
    DC dc(pixels);
    dc.SetPen({PenStyle::kNull, 1, 0});
    dc.SetBrush({false, Rgb(250, 200, 60)});
    dc.Ellipse({48, 6, 64, 22});
    dc.SetBrush({false, Rgb(70, 140, 80)});
    dc.Polygon({{0, 48}, {0, 34}, {22, 18}, {44, 32}, {58, 26}, {72, 36}, {72, 48}});
    return std::make_shared<Picture>(std::move(pixels), PictureKind::kBitmap);
}

std::string DemoDocument() {
    std::string d;
    d += "<HTML><HEAD><TITLE>HTML label demo</TITLE></HEAD><BODY BGCOLOR=#FFFFF4 LINK=#1F4E9A>";
    d += "<H2>The HTML label</H2>";
    d += "<P>A label lays out <B>bold</B>, <I>italic</I> and <U>underlined</U> words, ";
    d += "<FONT COLOR=#A03020>coloured</FONT> text and <FONT FACE='Times New Roman' SIZE=4>";
    d += "other faces</FONT>, <BIG>big</BIG> and <SMALL>small</SMALL> type, H<SUB>2</SUB>O ";
    d += "and x<SUP>2</SUP>. Markup characters are written &lt;, &gt; and &amp;; a&nbsp;non&nbsp;"
         "breaking run stays together.<SCRIPT>never shown</SCRIPT></P>";
    d += "<P><FONT FACE='OrvPreeti' SIZE=5 COLOR=#8B1A1A><B>" + P("नेपाली") + "</B></FONT> ";
    d += "<FONT FACE='OrvPreeti' SIZE=5>" +
         P("नेपाल हिमालयको काखमा रहेको सुन्दर देश हो । यहाँ धेरै जाति, भाषा र संस्कृतिका "
           "मानिसहरू मिलेर बस्छन् ।") +
         "</FONT></P>";
    d += "<P ALIGN=CENTER><I>A centred line,</I> set in the middle of the page.</P>";
    d += "<P ALIGN=RIGHT>And a line that keeps to the right.</P>";
    d += "<HR>";
    d += "<H3><A NAME=tables>Tables</A></H3>";
    d += "<TABLE BORDER=1 CELLPADDING=3 WIDTH=100% BGCOLOR=#FFFFFF>";
    d += "<TR><TD COLSPAN=3 ALIGN=CENTER BGCOLOR=#DCE6F2><B>Words by kind</B></TD></TR>";
    d += "<TR><TD WIDTH=40% BGCOLOR=#EEF1F5><B>Word</B></TD><TD WIDTH=30% BGCOLOR=#EEF1F5>"
         "<B>Kind</B></TD><TD ALIGN=RIGHT BGCOLOR=#EEF1F5><B>Entries</B></TD></TR>";
    const char* rows[][3] = {{"नेपाल", "name", "12"},
                             {"पानी", "noun", "1,204"},
                             {"राम्रो", "adjective", "387"},
                             {"जानु", "verb", "96"}};
    for (const auto& row : rows) {
        d += "<TR><TD><FONT FACE='OrvPreeti' SIZE=5>" + P(row[0]) + "</FONT></TD><TD>" + row[1] +
             "</TD><TD ALIGN=RIGHT>" + row[2] + "</TD></TR>";
    }
    d += "</TABLE>";
    d += "<P>Cells align their content across and down, and a table may sit in a cell:</P>";
    d += "<TABLE BORDER=1 CELLPADDING=4 WIDTH=92% ALIGN=CENTER BGCOLOR=#FAF6E8>";
    d += "<TR><TD WIDTH=96 ALIGN=CENTER VALIGN=CENTER BGCOLOR=#F3E9CC>centred in the row</TD>";
    d += "<TD>A longer cell whose words wrap onto several lines, so that the row grows and the "
         "cells beside it place their content inside it.";
    d += "<TABLE BORDER=1 WIDTH=100% BGCOLOR=#FFFFFF><TR><TD ALIGN=CENTER BGCOLOR=#E4EFE4>"
         "inner</TD><TD ALIGN=CENTER>table</TD></TR></TABLE>and text after it.</TD>";
    d += "<TD WIDTH=22% ALIGN=RIGHT VALIGN=BOTTOM>at the foot</TD></TR></TABLE>";
    d += "<P>Without a border, a table lines text up in columns:</P>";
    d += "<TABLE CELLSPACING=0 CELLPADDING=2 WIDTH=70%><TR><TD WIDTH=35%><I>Version</I></TD>"
         "<TD>0.3.0</TD></TR><TR><TD><I>Padding</I></TD><TD>6 pixels</TD></TR></TABLE>";
    d += "<HR>";
    d += "<H3>Lists</H3>";
    d += "<UL><LI>A bulleted item";
    d += "<LI>A longer item whose words wrap onto a second line under the first word";
    d += "<OL><LI>numbered one<LI>numbered two<LI>numbered three</OL>";
    d += "<LI><FONT FACE='OrvPreeti' SIZE=6>" + P("नेपाली शब्दकोश") + "</FONT></UL>";
    d += "<BLOCKQUOTE>A quotation stands one step in from the margin on both its "
         "lines.</BLOCKQUOTE>";
    d += "<H3>Pictures and links</H3>";
    d += "<IMG SRC='demo:hills' HSPACE=4> beside a picture from the host";
    d += "<IMG SRC='missing.bmp' ALT='missing'> a missing picture keeps a framed place";
    d += "<P>Links: <A HREF='#tables' TITLE='Up to the tables'>to the tables</A>, "
         "<A HREF=\"vb:ShowWord('pani', 2)\">a call of the window</A>, "
         "<A HREF='vb:NoSuchMethod(1)'>a call nobody answers</A> and "
         "<A HREF='http://example.org/'>a page elsewhere</A>.</P>";
    d += "<HR><P ALIGN=CENTER><SMALL>End of the demo document.</SMALL></P>";
    d += "</BODY></HTML>";
    return d;
}

// Every entry of the sample table, composed as the main window composes it.
std::vector<std::string> Definitions() {
    const char* root = std::getenv("KOVELIN_SOURCE_DIR");
    std::ifstream in(std::string(root != nullptr ? root : KOVELIN_SOURCE_DIR_FALLBACK) +
                     "/data/dictionary.tsv");
    const std::string table((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return app::ComposeTableDefinitions(table);
}

class HtmlDemoForm : public Form {
  public:
    HtmlDemoForm(FormOptions o) : Form(std::move(o)) {}
    void ReportState(Json& out) const override {
        out.Set("index", index);
        out.Set("definitions", static_cast<int>(definitions.size()));
        out.Set("last_hyperlink_click", last_click);
        out.Set("hyperlink_clicks", static_cast<int>(clicks));
        Json calls = Json::MakeArray();
        for (const std::string& call : host_calls) calls.Push(call);
        out.Set("host_calls", std::move(calls));
    }

    // Link events of the demo document.
    std::string last_click;
    size_t clicks = 0;
    std::vector<std::string> host_calls;

    ComponentHost host;
    std::vector<std::string> definitions;
    HTMLLabelControl* definition = nullptr;
    int index = 0;

    void ShowEntry(int k) {
        if (definitions.empty() || definition == nullptr) return;
        const int n = static_cast<int>(definitions.size());
        index = ((k % n) + n) % n;
        (void)definition->label().SetDocumentHTML(definitions[static_cast<size_t>(index)]);
    }
};

std::unique_ptr<HtmlDemoForm> g_form;

void Build(HtmlDemoForm& f) {
    HTMLLabelControl& demo =
        f.Add<HTMLLabelControl>(f.host, "htmlDemo", Rect::FromXYWH(8, 8, 424, 500));
    HTMLLabel& label = demo.label();
    label.SetEnableScroll(true);
    label.SetEnableAnchors(true);
    (void)label.SetDefaultFontName("Arial");
    (void)label.SetDefaultFontSize(10);
    label.SetDefaultPadding(6);
    label.SetEnableTooltips(true);
    label.on_load_image = [](std::string& src, PictureRef& picture) {
        if (src == "demo:hills") picture = Hills();
    };
    label.on_hyperlink_click = [&f](std::string& href) {
        f.last_click = href;
        ++f.clicks;
    };
    // The window's public method for "vb:" links: a word and a count.
    label.RegisterHostMethod("ShowWord", {1, 2, [&f](const std::vector<std::string>& args) {
                                              std::string call = "ShowWord(";
                                              for (size_t k = 0; k < args.size(); ++k)
                                                  call += (k ? ", " : "") + args[k];
                                              f.host_calls.push_back(call + ")");
                                              return Status{};
                                          }});
    (void)label.SetDocumentHTML(DemoDocument());

    // The definition pane's size and settings.
    HTMLLabelControl& pane =
        f.Add<HTMLLabelControl>(f.host, "htmlDefinition", Rect::FromXYWH(444, 8, 361, 367));
    HTMLLabel& def = pane.label();
    (void)def.SetBackColor(0x00B4FFFF);
    def.SetEnableScroll(true);
    (void)def.SetDefaultFontName("MS Sans Serif");
    (void)def.SetDefaultFontSize(10);
    def.SetUnderlineLinks(false);
    def.SetDefaultPadding(6);
    def.SetDefaultSpacing(5);
    f.definition = &pane;
    f.definitions = Definitions();

    CommandButton& previous =
        f.Add<CommandButton>("cmdPrevious", Rect::FromXYWH(444, 385, 90, 26), "Previous");
    previous.on_click = [&f] { f.ShowEntry(f.index - 1); };
    CommandButton& next = f.Add<CommandButton>("cmdNext", Rect::FromXYWH(540, 385, 90, 26), "Next");
    next.on_click = [&f] { f.ShowEntry(f.index + 1); };
    f.ShowEntry(0);
}

}  // namespace

void CreateDemoHtmlWindow() {
    FormOptions o;
    o.name = "frmHtml";
    o.caption = "HTML label";
    o.position = StartUpPosition::kManual;
    o.left = 40;
    o.top = 40;
    o.client_width = 813;
    o.client_height = 516;
    g_form = std::make_unique<HtmlDemoForm>(o);
    g_form->on_load = [] { Build(*g_form); };
    g_form->Show();
    // The documents were assigned while the form was hidden; shown, they
    // are laid out.
    for (const auto& control : g_form->controls()) {
        if (auto* html = dynamic_cast<HTMLLabelControl*>(control.get()))
            (void)html->label().Refresh();
    }
}

}  // namespace harness
