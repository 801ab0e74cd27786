// SPDX-License-Identifier: GPL-3.0-or-later
// Cutting Preeti text into syllables: where the cuts fall in real words, and
// that no cut ever changes what the text converts to.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "examples.h"
#include "platform/preeti/preeti.h"

namespace preeti {
namespace {

std::vector<std::string> Syllables(std::string_view text) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < text.size()) {
        const size_t end = SyllableEnd(text, i);
        EXPECT_GT(end, i);
        EXPECT_LE(end, text.size());
        if (end <= i || end > text.size()) break;
        out.emplace_back(text.substr(i, end - i));
        i = end;
    }
    return out;
}

std::string ConvertEach(const std::vector<std::string>& syllables) {
    std::string out;
    for (const std::string& s : syllables) out += ToUnicode(s, UnicodeFor::kDrawing);
    return out;
}

using V = std::vector<std::string>;

TEST(Syllables, KeepWhatReordersWithItsCluster) {
    // Short i with the cluster after it, reph with the one before it.
    EXPECT_EQ(Syllables("k|sflzt"), (V{"k|", "sf", "lz", "t"}));  // प्र का शि त
    EXPECT_EQ(Syllables("wd{"), (V{"w", "d{"}));                  // ध र्म
    EXPECT_EQ(Syllables("sfof{no"), (V{"sf", "of{", "n", "o"}));
    EXPECT_EQ(Syllables("sfo{fno"), (V{"sf", "o{f", "n", "o"}));
    // Half forms join the next letter; the stem completes one (0f is ण).
    EXPECT_EQ(Syllables("j0f{ljGof;sf]"), (V{"j", "0f{", "lj", "Gof", ";", "sf]"}));
    EXPECT_EQ(Syllables("k\xAA\\lQm"), (V{"k", "\xAA\\lQm"}));  // प ङ्क्ति
    EXPECT_EQ(Syllables("O{Zj/"), (V{"O{", "Zj", "/"}));        // ई श्व र
    // Spaces and control bytes stand alone.
    EXPECT_EQ(Syllables("g]kfn ;'Gb/\t"), (V{"g]", "kf", "n", " ", ";'", "Gb", "/", "\t"}));
}

TEST(Syllables, StrayPiecesStayWithWhatTheyChange) {
    // A short i with nothing to move past is a sign of what precedes it.
    EXPECT_EQ(Syllables("cl s"), (V{"cl", " ", "s"}));
    // A reph with no consonant before it stays र् and joins what follows;
    // so does a half form whose hook has no base.
    EXPECT_EQ(Syllables("c{s"), (V{"c{s"}));
    EXPECT_EQ(Syllables("Rms"), (V{"Rms"}));
    // A visible halant joins unless the stem takes it away.
    EXPECT_EQ(Syllables("s\\s"), (V{"s\\s"}));
    EXPECT_EQ(Syllables("s\\fs"), (V{"s\\f", "s"}));
    // Marks at the start of a word stay together; endless marks still
    // come apart, 32 bytes at a time.
    EXPECT_EQ(Syllables("']s"), (V{"']", "s"}));
    const std::vector<std::string> halves = Syllables(std::string(70, 'S'));
    EXPECT_EQ(halves, (V{std::string(32, 'S'), std::string(32, 'S'), std::string(6, 'S')}));
}

TEST(Syllables, ConvertingSyllableBySyllableChangesNothing) {
    for (const auto& ex : testing::kExamples) {
        const std::vector<std::string> parts = Syllables(ex.preeti);
        EXPECT_EQ(ConvertEach(parts), ToUnicode(ex.preeti, UnicodeFor::kDrawing)) << ex.preeti;
    }
    // Random words over every byte value: whatever the bytes, a syllable
    // converts on its own to exactly its part of the whole.
    uint32_t seed = 2024;
    for (int word = 0; word < 20000; ++word) {
        std::string text;
        seed = seed * 1103515245u + 12345u;
        const int length = 1 + static_cast<int>((seed >> 16) % 14);
        for (int k = 0; k < length; ++k) {
            seed = seed * 1103515245u + 12345u;
            text.push_back(static_cast<char>(0x21 + (seed >> 16) % 0xDF));
        }
        ASSERT_EQ(ConvertEach(Syllables(text)), ToUnicode(text, UnicodeFor::kDrawing)) << text;
    }
}

}  // namespace
}  // namespace preeti
