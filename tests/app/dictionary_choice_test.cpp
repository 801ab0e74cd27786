// SPDX-License-Identifier: GPL-3.0-or-later
// Which dictionary is read: the command line's, the user's own, the bundled
// one, each passed over with a message when it cannot be read.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "../platform/os/os_test_util.h"
#include "app/archive.h"
#include "app/dictionary_choice.h"
#include "app/dictionary_table.h"

namespace {

using os_test::ScratchFolder;
using os_test::WriteText;

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(DictionaryChoice, CommandLineThenUserThenBundled) {
    ScratchFolder dir;
    WriteText(dir / "user.dll", "x");
    auto all_good = [](const std::string&) { return std::string(); };
    auto choice = app::ChooseDictionary(dir / "mine.dll", dir / "user.dll", "bundled", all_good);
    EXPECT_EQ(choice.path, dir / "mine.dll");
    EXPECT_EQ(choice.source, app::DictionarySource::kCommandLine);

    choice = app::ChooseDictionary("", dir / "user.dll", "bundled", all_good);
    EXPECT_EQ(choice.source, app::DictionarySource::kUser);
    EXPECT_EQ(choice.Describe(), "your dictionary " + (dir / "user.dll"));

    // A user dictionary that is not there is no problem.
    choice = app::ChooseDictionary("", dir / "absent.dll", "bundled", all_good);
    EXPECT_EQ(choice.source, app::DictionarySource::kBundled);
    EXPECT_TRUE(choice.problems.empty());
    EXPECT_EQ(choice.Describe(), "the bundled dictionary (bundled)");

    // Unreadable ones are named, with the reason, and passed over in order.
    auto user_only = [&](const std::string& path) {
        return path == dir / "user.dll" ? std::string() : std::string("it is broken");
    };
    choice = app::ChooseDictionary(dir / "mine.dll", dir / "user.dll", "bundled", user_only);
    EXPECT_EQ(choice.source, app::DictionarySource::kUser);
    ASSERT_EQ(choice.problems.size(), 1u);
    EXPECT_EQ(choice.problems[0],
              "The dictionary " + (dir / "mine.dll") + " cannot be read: it is broken.");
    auto none = [](const std::string&) { return std::string("no"); };
    choice = app::ChooseDictionary(dir / "mine.dll", dir / "user.dll", "bundled", none);
    EXPECT_EQ(choice.source, app::DictionarySource::kBundled);
    EXPECT_EQ(choice.problems.size(), 2u);
}

TEST(DictionaryChoice, UserFolderFollowsTheBaseDirectoryRules) {
    {
        ScopedEnv data("XDG_DATA_HOME", "/data/home/");
        EXPECT_EQ(app::UserDictionaryPath(), "/data/home/kovelin/load.dll");
    }
    ScopedEnv home("HOME", "/home/someone");
    {
        ScopedEnv data("XDG_DATA_HOME", "relative/path");
        EXPECT_EQ(app::UserDictionaryPath(), "/home/someone/.local/share/kovelin/load.dll");
    }
    ScopedEnv data("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(app::UserDictionaryPath(), "/home/someone/.local/share/kovelin/load.dll");
    ScopedEnv no_home("HOME", nullptr);
    EXPECT_EQ(app::UserDictionaryPath(), "");
}

TEST(DictionaryChoice, TheRealCheckReadsTheArchiveThrough) {
    ScratchFolder dir;
    const auto table = app::ConvertTable("घर\tबस्ने ठाउँ.\n", app::TableEncoding::kUnicode);
    ASSERT_TRUE(table.ok());
    const std::vector<app::archive::ArchiveFile> files = {
        {"M_A_X_T1", table.packed.headword_records},
        {"M_A_X_T2", table.packed.definition_lines},
    };
    ASSERT_TRUE(app::archive::WriteArchive(dir / "good.dll", files, app::archive::kPassword,
                                           app::archive::Encryption::kTraditional));
    ASSERT_TRUE(app::archive::WriteArchive(dir / "other.dll", files, "another",
                                           app::archive::Encryption::kAes256));
    WriteText(dir / "junk.dll", "not an archive");
    ScopedEnv data("XDG_DATA_HOME", dir.path().c_str());

    auto choice = app::ChooseDictionary(dir / "good.dll", "bundled");
    EXPECT_EQ(choice.source, app::DictionarySource::kCommandLine);
    EXPECT_TRUE(choice.problems.empty());
    for (const char* name : {"junk.dll", "other.dll", "absent.dll"}) {
        choice = app::ChooseDictionary(dir / name, "bundled");
        EXPECT_EQ(choice.source, app::DictionarySource::kBundled) << name;
        ASSERT_EQ(choice.problems.size(), 1u) << name;
        EXPECT_NE(choice.problems[0].find(dir / name), std::string::npos);
    }
    EXPECT_NE(choice.problems[0].find("there is no such file"), std::string::npos);
}

}  // namespace
