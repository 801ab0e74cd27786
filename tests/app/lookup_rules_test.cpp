// SPDX-License-Identifier: GPL-3.0-or-later
// The search box's matching rules and the definition composer's documents.
#include <gtest/gtest.h>

#include <string>

#include "app/definition_html.h"
#include "app/headword_search.h"

namespace {

using app::ComposeDefinitionHtml;
namespace piece = app::html_piece;

app::DictionaryStore StoreOf(std::initializer_list<const char*> words) {
    app::DictionaryStore store;
    for (const char* w : words) store.Append(w, "");
    return store;
}

TEST(FindHeadword, FirstEntryInStoreOrderThatBeginsWithTheText) {
    const auto store = StoreOf({"s", "g]kfn", "g]kfnL", "ab[c", "a1x", "abcd", "g]kfn"});
    EXPECT_EQ(app::FindHeadword(store, "g]kfn"), 1);
    EXPECT_EQ(app::FindHeadword(store, "g]kfnL"), 2);
    EXPECT_EQ(app::FindHeadword(store, "zzz"), -1);
    EXPECT_EQ(app::FindHeadword(store, ""), 0);
    EXPECT_EQ(app::FindHeadword(store, " g]kfn"), -1);  // no trimming here
    EXPECT_EQ(app::FindHeadword(store, "G]KFN"), -1);   // case matters
    EXPECT_EQ(app::FindHeadword(StoreOf({}), ""), -1);
}

TEST(FindHeadword, WildcardsKeepTheirMeaningAndBracketIsLiteral) {
    const auto store = StoreOf({"abcd", "a1x", "ab[c", "a]z"});
    EXPECT_EQ(app::FindHeadword(store, "*"), 0);
    EXPECT_EQ(app::FindHeadword(store, "a?c"), 0);
    EXPECT_EQ(app::FindHeadword(store, "a#"), 1);
    EXPECT_EQ(app::FindHeadword(store, "a#x"), 1);
    EXPECT_EQ(app::FindHeadword(store, "ab["), 2);
    EXPECT_EQ(app::FindHeadword(store, "[c"), -1);
    EXPECT_EQ(app::FindHeadword(store, "*[c"), 2);
    EXPECT_EQ(app::FindHeadword(store, "a]"), 3);  // "]" is an ordinary character
    EXPECT_EQ(app::FindHeadword(store, "*d"), 0);
    EXPECT_EQ(app::FindHeadword(store, "*z*"), 3);
    EXPECT_EQ(app::FindHeadword(store, "a*c*q"), -1);
    EXPECT_EQ(app::FindHeadword(store, "abcd?"), -1);  // "?" needs a character
}

TEST(HeadwordStartsWith, ManyStarsStayFast) {
    const std::string word(30, 'a');
    EXPECT_FALSE(app::HeadwordStartsWith(word, std::string(200, '*') + "b"));
    EXPECT_TRUE(app::HeadwordStartsWith(word, "*a*a*a*a*a*a"));
}

std::string Line(const std::string& text) {
    return std::string(piece::kLineStart) + text + std::string(piece::kLineEnd);
}
std::string Key(const std::string& key) {
    return std::string(piece::kKeyStart) + key + std::string(piece::kKeyEnd);
}
std::string Header(const std::string& word) {
    return std::string(piece::kHeaderStart) + word + std::string(piece::kHeaderEnd);
}

TEST(ComposeDefinitionHtml, ExactPieces) {
    EXPECT_EQ(ComposeDefinitionHtml("x.", "W"),
              "<p align='center'><font face='OrvSoft' size=10 color='ff0000'><B>W</B></font></p>"
              "<hr><br><font face='OrvPreeti' size=8>x .</font><br>");
    EXPECT_EQ(Key("K"),
              "<font face='arial' size=8 color=0000ff> [ </font><font face='OrvPreeti' size=8 "
              "color=0000ff><B> K</B>=</font><font face='arial' size=6 color=0000ff> ]</font> ");
}

TEST(ComposeDefinitionHtml, WorkedShapes) {
    // Sentence, sub-entry, and a last sentence lacking its full stop.
    EXPECT_EQ(ComposeDefinitionHtml(" S1. [K=]R. S2 ", "W"),
              Header("W") + Line("S1") + Key("K") + Line("R") + Line("S2"));
    // "[" without "=]" is a plain line; "=]" right after "[" gives an empty key.
    EXPECT_EQ(ComposeDefinitionHtml("[K.", "W"), Header("W") + Line("[K"));
    EXPECT_EQ(ComposeDefinitionHtml("[=]R.", "W"), Header("W") + Key("") + Line("R"));
    EXPECT_EQ(ComposeDefinitionHtml("=]R.", "W"), Header("W") + Line("=]R"));
    // The explanation is not trimmed again; the key ends at the first "=]".
    EXPECT_EQ(ComposeDefinitionHtml("[a=]b=] c.", "W"), Header("W") + Key("a") + Line("b=] c"));
    // Empty segments between full stops each give a line of their own.
    EXPECT_EQ(ComposeDefinitionHtml("a...", "W"), Header("W") + Line("a") + Line("") + Line(""));
    EXPECT_EQ(ComposeDefinitionHtml("", "W"), Header("W") + Line(""));
    EXPECT_EQ(ComposeDefinitionHtml("   ", "W"), Header("W") + Line(""));
    // "<" (the Preeti question mark), ">" and "&" become entities in the
    // word, keys and lines, so a line cannot swallow the rest of the
    // document; quotes and every other byte stay as they are.
    EXPECT_EQ(ComposeDefinitionHtml("s] xf] < Gofo. [<a>=]&'\".", "<i>"),
              Header("&lt;i&gt;") + Line("s] xf] &lt; Gofo") + Key("&lt;a&gt;") + Line("&amp;'\""));
}

}  // namespace
