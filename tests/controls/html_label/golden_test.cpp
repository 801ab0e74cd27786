// A golden picture on the real faces: a definition as the main window
// composes it (a centred red headword in the Preeti face, a rule, a line of
// Preeti text, a sub-entry key in Latin brackets), in the definition pane's
// settings. It catches what exact positions on the fixed face cannot: the
// real faces' sizes, line heights and marks. Pictures are compared with a
// tolerance for antialiasing; KOVELIN_UPDATE_GOLDEN=1 writes them anew.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "controls/html_label/html_label.h"
#include "controls/html_label/html_picture.h"
#include "platform/dc.h"
#include "platform/text/font_engine.h"

namespace html_label {
namespace {

// The pieces of the composed definition, in Preeti bytes: नेपाल, "एउटा देश
// ।" and the key नेपाली with its explanation नेपालको भाषा ।
constexpr const char* kDefinition =
    "<p align='center'><font face='OrvSoft' size=10 color='ff0000'><B>g]kfn</B></font></p><hr>"
    "<br><font face='OrvPreeti' size=8>Pp6f b]z .</font><br>"
    "<font face='arial' size=8 color=0000ff> [ </font><font face='OrvPreeti' size=8 "
    "color=0000ff><B> g]kfnL</B>=</font><font face='arial' size=6 color=0000ff> ]</font> "
    "<br><font face='OrvPreeti' size=8>g]kfnsf] efiff .</font><br>";

int Channel(platform::Color c, int shift) {
    return static_cast<int>((c >> shift) & 0xFF);
}

TEST(HtmlGolden, DefinitionOnTheRealFaces) {
    platform::text::InstallFontEngine();
    HTMLLabel label;
    (void)label.SetBackColor(0x00B4FFFF);
    label.SetEnableScroll(true);
    ASSERT_TRUE(label.SetDefaultFontName("MS Sans Serif").ok());
    label.SetUnderlineLinks(false);
    label.SetDefaultPadding(6);
    label.SetDefaultSpacing(5);
    ASSERT_TRUE(label.LoadDocument(kDefinition).ok());
    platform::Surface screen(1, 1);
    const platform::DC reference(screen);
    HTMLPicture picture;
    picture.Render(label, reference, 240, 180);
    ASSERT_EQ(picture.width(), 240);
    ASSERT_EQ(picture.height(), 180);

    const char* root = std::getenv("KOVELIN_SOURCE_DIR");
    if (root == nullptr) GTEST_SKIP() << "KOVELIN_SOURCE_DIR is not set";
    const std::string path = std::string(root) + "/tests/controls/html_label/golden/definition.png";
    if (std::getenv("KOVELIN_UPDATE_GOLDEN") != nullptr) {
        ASSERT_TRUE(picture.surface().WritePng(path).ok());
    }
    const auto golden = platform::Surface::ReadPng(path);
    ASSERT_TRUE(golden.ok()) << path;
    ASSERT_EQ(golden.value().width(), picture.width());
    ASSERT_EQ(golden.value().height(), picture.height());

    // Antialiased edges may move a little with the font version; text in a
    // different place or size moves many pixels.
    int differing = 0;
    for (int32_t y = 0; y < picture.height(); ++y) {
        for (int32_t x = 0; x < picture.width(); ++x) {
            const platform::Color a = picture.surface().pixel(x, y);
            const platform::Color b = golden.value().pixel(x, y);
            int most = 0;
            for (int shift : {0, 8, 16})
                most = std::max(most, std::abs(Channel(a, shift) - Channel(b, shift)));
            if (most > 64) ++differing;
        }
    }
    EXPECT_LE(differing, picture.width() * picture.height() / 100);
}

}  // namespace
}  // namespace html_label
