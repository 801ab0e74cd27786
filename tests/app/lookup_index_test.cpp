// SPDX-License-Identifier: GPL-3.0-or-later
// The terminal lookup's index: it answers as the store does, and damaged
// bytes give no index or a shortened walk, never a read outside them.
#include <gtest/gtest.h>

#include <string>

#include "app/dictionary_store.h"
#include "app/headword_search.h"
#include "app/lookup_index.h"

namespace {

app::DictionaryStore SampleStore() {
    app::DictionaryStore store;
    store.Append("cfdf", "c. cfdf");
    store.Append("3/", "3/ ;+;f/");
    store.Append("kfgL", "");
    store.Append("kfgL kfof", "kfgL kfof k|sf/");
    store.Append("xfjf", "x");
    return store;
}

TEST(LookupIndex, AnswersAsTheStoreDoes) {
    const app::DictionaryStore store = SampleStore();
    const std::string bytes = app::BuildLookupIndex(store);
    const std::optional<app::LookupIndex> index = app::LookupIndex::Open(bytes);
    ASSERT_TRUE(index.has_value());
    ASSERT_EQ(index->size(), store.size());
    for (int32_t i = 0; i < store.size(); ++i) EXPECT_EQ(index->definition(i), store.definition(i));
    for (const char* typed : {"", "k", "kfgL ", "x", "3", "?f", "*o", "#", "q", "kfgL kfof k"}) {
        std::string_view word;
        const int32_t found = index->Find(typed, &word);
        EXPECT_EQ(found, app::FindHeadword(store, typed)) << typed;
        if (found >= 0) {
            EXPECT_EQ(word, store.word(found));
        }
    }
    EXPECT_EQ(index->definition(-1), "");
    EXPECT_EQ(index->definition(store.size()), "");
}

TEST(LookupIndex, DamagedBytesAreRefusedOrReadSafely) {
    const std::string bytes = app::BuildLookupIndex(SampleStore());
    // Every shortened copy is refused: the sizes no longer add up.
    for (size_t n = 0; n < bytes.size(); ++n) {
        EXPECT_FALSE(app::LookupIndex::Open(std::string_view(bytes).substr(0, n)).has_value()) << n;
    }
    // Any byte changed: either refused, or every read stays in bounds
    // (checked by the sanitizer build) and the walk ends.
    for (size_t at = 0; at < bytes.size(); ++at) {
        std::string damaged = bytes;
        damaged[at] = static_cast<char>(damaged[at] ^ 0xA5);
        const std::optional<app::LookupIndex> index = app::LookupIndex::Open(damaged);
        if (!index) continue;
        int32_t walked = 0;
        index->ForEachWord([&](int32_t, std::string_view) { return ++walked < 1000; });
        EXPECT_LE(walked, index->size());
        for (int32_t i = 0; i < index->size(); ++i) (void)index->definition(i);
        (void)index->Find("k", nullptr);
    }
}

}  // namespace
