// SPDX-License-Identifier: GPL-3.0-or-later
// The scenario language: what reaches a command as its text, how keys and
// modifiers are named, and that a bad line is refused with its number before
// anything runs.

#include "scenario.h"

#include <gtest/gtest.h>

#include "platform/window.h"

using namespace harness;

namespace {

TEST(ScenarioTest, TextCommandsKeepTheirBlanksAndQuotesMarkBlanksAlone) {
    auto parsed = ParseScenario(
        "type a  b\n"
        "  type \"   \"\r\n"
        "clipboard \" x \"\n"
        "type say \"hi\" now\n");
    ASSERT_TRUE(parsed) << parsed.error().message;
    const auto& c = *parsed;
    ASSERT_EQ(c.size(), 4u);
    EXPECT_EQ(c[0].args[0], "a  b");
    EXPECT_EQ(c[1].args[0], "   ");
    EXPECT_EQ(c[2].name, "clipboard");
    EXPECT_EQ(c[2].args[0], " x ");
    // Quotes inside the text are the text's own.
    EXPECT_EQ(c[3].args[0], "say \"hi\" now");

    for (const char* bad : {"type\n", "type \"\"\n", "clipboard   \n"})
        EXPECT_FALSE(ParseScenario(bad)) << bad;
}

TEST(ScenarioTest, KeysNameModifiersAloneOrAsPrefixes) {
    uint32_t vk = 0, mods = 0;
    ASSERT_TRUE(ParseKey("Shift", &vk, &mods));
    EXPECT_EQ(vk, static_cast<uint32_t>(platform::VK_SHIFT));
    EXPECT_EQ(mods, 0u);
    ASSERT_TRUE(ParseKey("ctrl+Shift+Tab", &vk, &mods));
    EXPECT_EQ(vk, static_cast<uint32_t>(platform::VK_TAB));
    EXPECT_EQ(mods, platform::kModControl | platform::kModShift);
    ASSERT_TRUE(ParseKey("Ctrl+Alt", &vk, &mods));  // Alt held with Ctrl
    EXPECT_EQ(vk, static_cast<uint32_t>(platform::VK_MENU));
    EXPECT_EQ(mods, platform::kModControl);
    ASSERT_TRUE(ParseKey("F12", &vk, &mods));
    EXPECT_EQ(vk, static_cast<uint32_t>(platform::VK_F1 + 11));
    for (const char* bad : {"Ctrl+", "F13", "F0", "Hyper+A", "ab", ""})
        EXPECT_FALSE(ParseKey(bad, &vk, &mods)) << bad;
}

TEST(ScenarioTest, ABadLineIsRefusedWithItsNumber) {
    const char* cases[][2] = {
        {"wait 10\nwait -5\n", "line 2"},
        {"# note\n\nclick 1\n", "line 3"},
        {"key Ctrl+Nope\n", "line 1"},
        {"expect only.path\n", "line 1"},
        {"restart now\n", "line 1"},
        {"fly 1 2\n", "line 1"},
        {"press 1\n", "line 1"},
        {"wait 1\nrelease 1 x\n", "line 2"},
        // Every output stays inside the output folder.
        {"shot ../../x.png\n", "line 1"},
        {"state /tmp/s.json\n", "line 1"},
        {"wait 1\nshot frmMain a/../../b.png\n", "line 2"},
    };
    for (const auto& [text, where] : cases) {
        auto parsed = ParseScenario(text);
        ASSERT_FALSE(parsed) << text;
        EXPECT_NE(parsed.error().message.find(where), std::string::npos) << parsed.error().message;
    }
}

TEST(ScenarioTest, AByteOrderMarkAndNamesInsideTheOutputFolder) {
    auto parsed =
        ParseScenario("\xEF\xBB\xBF# harness: program\nshot shots/a..b.png\nstate s.json\n");
    ASSERT_TRUE(parsed) << parsed.error().message;
    ASSERT_EQ(parsed->size(), 2u);
    EXPECT_EQ((*parsed)[0].args[0], "shots/a..b.png");
    EXPECT_EQ((*parsed)[1].line, 3);
}

}  // namespace
