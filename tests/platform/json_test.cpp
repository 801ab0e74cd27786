// SPDX-License-Identifier: GPL-3.0-or-later
// Reports are JSON read by other programs: whatever bytes a string holds
// (clipboard text, typed text, Preeti bytes), the output must be valid
// UTF-8 and keep every byte recoverable.
#include "platform/json.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace platform {
namespace {

std::string Dumped(const std::string& bytes) {
    return Json(bytes).Dump(0);
}

TEST(JsonStrings, WellFormedUtf8IsKeptAndEveryOtherByteIsEscaped) {
    const std::pair<std::string, std::string> cases[] = {
        {"नेपाल", "\"नेपाल\""},
        {"\xC3\xA9 \xF0\x9F\x98\x80", "\"\xC3\xA9 \xF0\x9F\x98\x80\""},  // é and an emoji
        {"g]kfn\xCB", "\"g]kfn\\u00cb\""},                               // a Preeti byte
        {"\x80", "\"\\u0080\""},                                         // stray continuation
        {"\xC0\xAF", "\"\\u00c0\\u00af\""},                              // overlong '/'
        {"\xE0\x80\xAF", "\"\\u00e0\\u0080\\u00af\""},                   // overlong, 3 bytes
        {"\xED\xA0\x80", "\"\\u00ed\\u00a0\\u0080\""},                   // a surrogate
        {"\xF4\x90\x80\x80", "\"\\u00f4\\u0090\\u0080\\u0080\""},        // past U+10FFFF
        {"\xF5\x80\x80\x80", "\"\\u00f5\\u0080\\u0080\\u0080\""},
        {"\xE0\xA4", "\"\\u00e0\\u00a4\""},  // cut short
        {"\xE0\xA4x", "\"\\u00e0\\u00a4x\""},
        {"a\"\\\n\x01\x7F", "\"a\\\"\\\\\\n\\u0001\\u007f\""},
    };
    for (const auto& [bytes, json] : cases) EXPECT_EQ(Dumped(bytes), json);

    Json report = Json::MakeObject();
    report.Set("search_text\xFF", "\xED\xBF\xBF");
    EXPECT_EQ(report.Dump(0), "{\"search_text\\u00ff\":\"\\u00ed\\u00bf\\u00bf\"}");
}

}  // namespace
}  // namespace platform
