// SPDX-License-Identifier: GPL-3.0-or-later
// The settings store must give back exactly the bytes it was given, and must
// never lose or destroy what was there before a save.
#include "platform/os/settings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "os_test_util.h"

namespace platform::os {
namespace {

using os_test::ReadText;
using os_test::ScratchFolder;
using os_test::WriteText;

std::string AllBytes() {
    std::string bytes;
    for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
    return bytes;
}

class SettingsTest : public ::testing::Test {
  protected:
    ScratchFolder dir_;
    std::string folder_ = dir_ / "config/kovelin";
    SettingsStore store_{folder_};
    std::string file_ = folder_ + "/Tarvik.ini";
};

TEST_F(SettingsTest, EveryByteStringRoundTripsAsValueKeyAndSection) {
    const std::string tricky[] = {
        AllBytes(),
        "",
        " leading",
        "trailing ",
        "  ",
        "a=b=c",
        "[Data]",
        "; not a comment",
        "# nor this",
        "back\\slash",
        "\\x41 literal",
        "line\nbreak\r\n",
        std::string(3, '\0'),
        "g]kfn,zAb",
        "\xFF\xFE non-UTF-8",
    };
    for (const std::string& text : tricky) {
        ASSERT_TRUE(store_.Save("Tarvik", "Data", "k", text).ok());
        EXPECT_EQ(store_.Get("Tarvik", "Data", "k", "<missing>"), text);
        ASSERT_TRUE(store_.Save("Tarvik", "Keys", text, "v:" + text).ok());
        ASSERT_TRUE(store_.Save("Tarvik", text, "same", "s:" + text).ok());
    }
    // All of them must still be there side by side after the later saves.
    for (const std::string& text : tricky) {
        EXPECT_EQ(store_.Get("Tarvik", "Keys", text, "<missing>"), "v:" + text);
        EXPECT_EQ(store_.Get("Tarvik", text, "same", "<missing>"), "s:" + text);
    }
    EXPECT_EQ(os_test::ModeOf(file_), 0600u);
    EXPECT_EQ(os_test::ModeOf(folder_), 0700u);
}

TEST_F(SettingsTest, NamesCompareWithoutCaseAndValuesStaySeparate) {
    ASSERT_TRUE(store_.Save("Tarvik", "Data", "History", "g]kfn").ok());
    ASSERT_TRUE(store_.Save("Tarvik", "DATA", "history", "cfdf").ok());  // same key
    ASSERT_TRUE(store_.Save("Tarvik", "Data", "Other", "1").ok());
    ASSERT_TRUE(store_.Save("Other", "Data", "History", "2").ok());

    EXPECT_EQ(store_.Get("Tarvik", "data", "HISTORY", "-"), "cfdf");
    EXPECT_EQ(store_.Get("Tarvik", "Data", "Other", "-"), "1");
    EXPECT_EQ(store_.Get("Other", "Data", "History", "-"), "2");
    EXPECT_EQ(store_.Get("Tarvik", "Data", "Absent", "g]kfn"), "g]kfn");
    EXPECT_EQ(store_.Get("Absent", "Data", "History", "g]kfn"), "g]kfn");
}

TEST_F(SettingsTest, HandEditedFilesAreRead) {
    ASSERT_TRUE(store_.Save("Tarvik", "Data", "x", "y").ok());
    WriteText(file_,
              "\xEF\xBB\xBF; written by hand\r\n"
              "[ Data ]\r\n"
              "  History =  g]kfn,cfdf  \r\n"
              "# another comment\n"
              "history = later wins\n"
              "[data]\n"
              "Empty=\n");
    EXPECT_EQ(store_.Get("Tarvik", "Data", "History", "-"), "later wins");
    EXPECT_EQ(store_.Get("Tarvik", "Data", "Empty", "-"), "");
}

TEST_F(SettingsTest, ValuesBeyondAMebibyteRoundTripAndStayThroughLaterSaves) {
    std::string long_value;
    while (long_value.size() <= (1 << 20)) long_value += AllBytes();
    ASSERT_TRUE(store_.Save("Tarvik", "Data", "History", long_value).ok());
    ASSERT_TRUE(store_.Save("Tarvik", "Data", "Other", "x").ok());
    ASSERT_TRUE(store_.Save("Tarvik", "Data", "History", long_value + "more").ok());
    // Compared as a flag: a failure would otherwise print megabytes.
    EXPECT_TRUE(store_.Get("Tarvik", "Data", "History", "-") == long_value + "more");
    EXPECT_EQ(store_.Get("Tarvik", "Data", "Other", "-"), "x");
}

TEST_F(SettingsTest, UnreadableFilesReadAsMissingAndAreKeptAsideOnSave) {
    const size_t cap = 64 * 1024;
    const SettingsStore store(folder_, cap);
    const std::string corrupt_files[] = {
        std::string("\x7F"
                    "ELF\0\0\x01garbage\x02\x03",
                    14),
        "History=g]kfn\n",                           // no section header
        "[Data]\nHistory=bad \\q escape\n",          // malformed escape
        "[Data\nHistory=x\n",                        // unterminated header
        "[Data]\nHistory=" + std::string(cap, 'x'),  // too large
    };
    std::filesystem::create_directories(folder_);
    int kept = 0;
    for (const std::string& content : corrupt_files) {
        WriteText(file_, content);
        EXPECT_EQ(store.Get("Tarvik", "Data", "History", "g]kfn"), "g]kfn");

        ASSERT_TRUE(store.Save("Tarvik", "Data", "History", "new").ok());
        ++kept;
        EXPECT_TRUE(ReadText(file_ + ".corrupt-" + std::to_string(kept)) == content)
            << "copy " << kept << " lost or overwritten";
        EXPECT_EQ(store.Get("Tarvik", "Data", "History", "-"), "new");
    }
}

TEST_F(SettingsTest, FailedSavesKeepThePreviousValue) {
    ASSERT_TRUE(store_.Save("Tarvik", "Data", "History", "old").ok());
    // Too large to be read back, so it must not be written at all.
    const SettingsStore small(folder_, 4096);
    const Status refused = small.Save("Tarvik", "Data", "History", std::string(1024, '\x01'));
    EXPECT_FALSE(refused.ok());
    EXPECT_NE(refused.error().message.find("too large"), std::string::npos);
    EXPECT_EQ(store_.Get("Tarvik", "Data", "History", "-"), "old");

    // A temporary file left by a writer that was killed is ignored.
    WriteText(folder_ + "/.Tarvik.ini.tmp-ABC123", "[Data]\nHistory=half");
    EXPECT_EQ(store_.Get("Tarvik", "Data", "History", "-"), "old");
    ASSERT_TRUE(store_.Save("Tarvik", "Data", "History", "next").ok());
    EXPECT_EQ(store_.Get("Tarvik", "Data", "History", "-"), "next");

    EXPECT_FALSE(SettingsStore("").Save("Tarvik", "Data", "History", "x").ok());
    EXPECT_EQ(SettingsStore("").Get("Tarvik", "Data", "History", "d"), "d");
}

TEST_F(SettingsTest, ALinkedSettingsFileStaysALinkAndItsTargetIsReplaced) {
    const std::string elsewhere = dir_ / "dotfiles";
    std::filesystem::create_directories(elsewhere);
    std::filesystem::create_directories(folder_);
    WriteText(elsewhere + "/kovelin.ini", "[Data]\nOther=kept\n");
    // A relative link, through a second link.
    ASSERT_EQ(::symlink("../../dotfiles/kovelin.ini", (folder_ + "/middle").c_str()), 0);
    ASSERT_EQ(::symlink("middle", file_.c_str()), 0);

    ASSERT_TRUE(store_.Save("Tarvik", "Data", "History", "g]kfn").ok());
    EXPECT_TRUE(std::filesystem::is_symlink(file_));
    EXPECT_TRUE(std::filesystem::is_symlink(folder_ + "/middle"));
    EXPECT_EQ(store_.Get("Tarvik", "Data", "History", "-"), "g]kfn");
    EXPECT_EQ(store_.Get("Tarvik", "Data", "Other", "-"), "kept");
    EXPECT_EQ(os_test::EntryCount(elsewhere), 1u) << "no temporary file is left there";
    EXPECT_EQ(os_test::EntryCount(folder_), 2u);

    // A link to a file that does not exist yet makes it.
    std::filesystem::remove(elsewhere + "/kovelin.ini");
    ASSERT_TRUE(store_.Save("Tarvik", "Data", "History", "new").ok());
    EXPECT_NE(ReadText(elsewhere + "/kovelin.ini").find("History=new"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_symlink(file_));
}

TEST_F(SettingsTest, ALinkToSomethingElseIsNeitherReplacedNorMoved) {
    const std::string elsewhere = dir_ / "home";
    std::filesystem::create_directories(elsewhere);
    std::filesystem::create_directories(folder_);
    const std::string script = "#!/bin/sh\necho hello\n";
    WriteText(elsewhere + "/script", script);
    ASSERT_EQ(::symlink((elsewhere + "/script").c_str(), file_.c_str()), 0);
    EXPECT_FALSE(store_.Save("Tarvik", "Data", "History", "x").ok());
    EXPECT_EQ(ReadText(elsewhere + "/script"), script);
    EXPECT_EQ(os_test::EntryCount(elsewhere), 1u);
    EXPECT_TRUE(std::filesystem::is_symlink(file_));

    // A loop of links fails without writing anything.
    std::filesystem::remove(file_);
    ASSERT_EQ(::symlink("Tarvik.ini", file_.c_str()), 0);
    EXPECT_FALSE(store_.Save("Tarvik", "Data", "History", "x").ok());
    EXPECT_EQ(os_test::EntryCount(folder_), 1u);
}

TEST_F(SettingsTest, ApplicationNamesStayInsideTheFolder) {
    for (const char* app : {"../escape", "/abs", ".hidden", "a/b"}) {
        const std::string path = store_.FilePath(app);
        EXPECT_EQ(path.rfind(folder_ + "/", 0), 0u) << path;
        EXPECT_EQ(path.find('/', folder_.size() + 1), std::string::npos) << path;
        EXPECT_NE(path[folder_.size() + 1], '.') << path;
    }
}

TEST(SettingEscapeTest, RejectsMalformedEscapesAndRawControlBytes) {
    for (const char* bad : {"\\", "\\x", "\\x4", "\\xZZ", "\\n",
                            "a\x01"
                            "b"}) {
        EXPECT_FALSE(UnescapeSettingText(bad).ok()) << bad;
    }
    EXPECT_EQ(UnescapeSettingText("\\x4a\\x4A\\\\").value_or(""), "JJ\\");
    EXPECT_EQ(EscapeSettingText(AllBytes()).find_first_of("=[];#\n\r"), std::string::npos);
}

}  // namespace
}  // namespace platform::os
