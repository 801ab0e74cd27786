// SPDX-License-Identifier: GPL-3.0-or-later
// The dictionary archive: reading what we and other packers write, and
// refusing wrong passwords, damage, stray paths and oversized entries
// without touching the files already in place.
#include "app/archive.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "../platform/os/os_test_util.h"
#include "platform/os/temporary_files.h"

namespace {

using app::archive::Encryption;
using app::archive::Failure;
using os_test::EntryCount;
using os_test::ReadText;
using os_test::ScratchFolder;
using os_test::WriteText;

const std::string kRecords = std::string("g]kfn") + std::string(25, ' ') + std::string(4, '\0');
const std::string kLines = "b]z .\r\n";

class ArchiveTest : public ::testing::Test {
  protected:
    std::string MakeArchive(std::vector<app::archive::ArchiveFile> files,
                            Encryption encryption = Encryption::kTraditional,
                            const std::string& password = "quarbelink") {
        const std::string path = dir / "load.dll";
        EXPECT_TRUE(app::archive::WriteArchive(path, files, password, encryption).ok());
        return path;
    }
    std::string StandardArchive(Encryption encryption = Encryption::kTraditional) {
        return MakeArchive({{"M_A_X_T1", kRecords}, {"M_A_X_T2", kLines}}, encryption);
    }
    app::archive::ExtractResult Extract(const std::string& archive,
                                        const std::string& password = "quarbelink") {
        return app::archive::ExtractDictionary(archive, password, out.path());
    }
    void ExpectUnpacked() {
        EXPECT_EQ(ReadText(out / "M_A_X_T1"), kRecords);
        EXPECT_EQ(ReadText(out / "M_A_X_T2"), kLines);
    }

    ScratchFolder dir;
    ScratchFolder out;
};

TEST_F(ArchiveTest, ReadsTraditionalAesAndPlainArchivesReplacingOldFiles) {
    for (Encryption e : {Encryption::kTraditional, Encryption::kAes256, Encryption::kNone}) {
        WriteText(out / "M_A_X_T1", "stale");
        const auto result = Extract(StandardArchive(e));
        ASSERT_TRUE(result.ok()) << result.message;
        ExpectUnpacked();
        EXPECT_EQ(EntryCount(out.path()), 2u);  // no temporary files left
    }
}

TEST_F(ArchiveTest, ReadsAnArchiveMadeByTheZipCommand) {
    if (std::system("command -v zip >/dev/null 2>&1") != 0) GTEST_SKIP() << "zip not installed";
    ScratchFolder src;
    WriteText(src / "M_A_X_T1", kRecords);
    WriteText(src / "M_A_X_T2", kLines);
    const std::string archive = dir / "made by zip.dll";
    const std::string command =
        "cd '" + src.path() + "' && zip -q -P quarbelink '" + archive + "' M_A_X_T1 M_A_X_T2";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const auto result = Extract(archive);
    ASSERT_TRUE(result.ok()) << result.message;
    ExpectUnpacked();
}

TEST_F(ArchiveTest, FailuresLeaveThePreviousFilesAlone) {
    WriteText(out / "M_A_X_T1", "old records");
    WriteText(out / "M_A_X_T2", "old lines");
    auto expect_untouched = [&] {
        EXPECT_EQ(ReadText(out / "M_A_X_T1"), "old records");
        EXPECT_EQ(ReadText(out / "M_A_X_T2"), "old lines");
        EXPECT_EQ(EntryCount(out.path()), 2u);
    };

    const std::string archive = StandardArchive();
    EXPECT_EQ(Extract(archive, "wrong").failure, Failure::kWrongPassword);
    expect_untouched();
    EXPECT_EQ(Extract(StandardArchive(Encryption::kAes256), "wrong").failure,
              Failure::kWrongPassword);
    expect_untouched();

    EXPECT_EQ(Extract(dir / "absent.dll").failure, Failure::kMissingArchive);
    expect_untouched();

    WriteText(dir / "garbage.dll", std::string(5000, '\x5a'));
    EXPECT_EQ(Extract(dir / "garbage.dll").failure, Failure::kDamagedArchive);
    expect_untouched();

    // Cut the archive short: the central directory is gone.
    const std::string bytes = ReadText(StandardArchive());
    WriteText(dir / "cut.dll", bytes.substr(0, bytes.size() / 2));
    EXPECT_EQ(Extract(dir / "cut.dll").failure, Failure::kDamagedArchive);
    expect_untouched();

    // Damage the compressed data but keep the directory.
    std::string flipped = ReadText(MakeArchive(
        {{"M_A_X_T1", std::string(4000, 'a')}, {"M_A_X_T2", kLines}}, Encryption::kNone));
    flipped[40] ^= 0x55;
    flipped[45] ^= 0x55;
    WriteText(dir / "flipped.dll", flipped);
    EXPECT_NE(Extract(dir / "flipped.dll").failure, Failure::kNone);
    expect_untouched();

    EXPECT_EQ(Extract(MakeArchive({{"M_A_X_T1", kRecords}})).failure, Failure::kMissingEntry);
    expect_untouched();
}

TEST_F(ArchiveTest, OnlyTheTwoNamesAreExtractedAndNeverOutsideTheFolder) {
    // Entries that reach outside the folder, or into a sub-folder, do not
    // count as the data files.
    ScratchFolder parent;
    const std::string inner = parent / "inner";
    std::filesystem::create_directory(inner);
    const std::string archive =
        MakeArchive({{"../M_A_X_T1", kRecords}, {"sub/M_A_X_T2", kLines}, {"../evil", "x"}});
    const auto result = app::archive::ExtractDictionary(archive, "quarbelink", inner);
    EXPECT_EQ(result.failure, Failure::kMissingEntry);
    EXPECT_EQ(EntryCount(parent.path()), 1u);
    EXPECT_EQ(EntryCount(inner), 0u);

    // Alongside the real ones they are ignored.
    const std::string mixed = MakeArchive(
        {{"../evil", "x"}, {"M_A_X_T1", kRecords}, {"M_A_X_T2", kLines}, {"extra", "y"}});
    ASSERT_TRUE(app::archive::ExtractDictionary(mixed, "quarbelink", inner).ok());
    EXPECT_EQ(EntryCount(parent.path()), 1u);
    EXPECT_EQ(EntryCount(inner), 2u);
}

TEST_F(ArchiveTest, RefusesEntriesThatExpandTooFar) {
    const std::string archive =
        MakeArchive({{"M_A_X_T1", std::string(3 * 1024 * 1024, ' ')}, {"M_A_X_T2", kLines}});
    const auto result =
        app::archive::ExtractDictionary(archive, "quarbelink", out.path(), 2 * 1024 * 1024);
    EXPECT_EQ(result.failure, Failure::kTooLarge);
    EXPECT_EQ(EntryCount(out.path()), 0u);
}

// Sends SIGTERM to the process itself, as the start-up's time-out does to
// the tool; raised here when a write passes the file-size limit, so that it
// arrives while an entry is being written.
void StopMyself(int) {
    ::kill(::getpid(), SIGTERM);
}

TEST_F(ArchiveTest, StoppedMidwayTheToolRemovesItsStagingFiles) {
    WriteText(out / "M_A_X_T1", "old records");
    const std::string archive =
        MakeArchive({{"M_A_X_T1", std::string(64 * 1024, ' ')}, {"M_A_X_T2", kLines}});
    const int code = os_test::RunInChildWithin(10, [&] {
        platform::os::RemoveRegisteredFilesOnTermination();
        ::signal(SIGXFSZ, StopMyself);
        const rlimit limit{4096, 4096};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
        (void)app::archive::ExtractDictionary(archive, "quarbelink", out.path());
        return 1;
    });
    EXPECT_EQ(code, 128 + SIGTERM);
    EXPECT_EQ(ReadText(out / "M_A_X_T1"), "old records");
    EXPECT_EQ(EntryCount(out.path()), 1u) << "the staging files are gone";
}

}  // namespace
