// SPDX-License-Identifier: GPL-3.0-or-later
// File replacement must be all-or-nothing, copies must not damage the source
// or the old destination, reads must respect their size cap, and large files
// are read and written a piece at a time.
#include "platform/os/files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "os_test_util.h"
#include "platform/os/byte_file.h"

namespace platform::os {
namespace {

using os_test::EntryCount;
using os_test::ModeOf;
using os_test::ReadText;
using os_test::ScratchFolder;
using os_test::WriteText;

TEST(WriteFileAtomicTest, ReplacesContentWithPrivateModeAndLeavesNoTemporaries) {
    ScratchFolder dir;
    const std::string path = dir / "value";
    ASSERT_TRUE(WriteFileAtomic(path, std::string("first\0bytes", 11)).ok());
    EXPECT_EQ(ReadText(path), std::string("first\0bytes", 11));
    EXPECT_EQ(ModeOf(path), 0600u);

    ASSERT_TRUE(WriteFileAtomic(path, "second").ok());
    EXPECT_EQ(ReadText(path), "second");
    EXPECT_EQ(EntryCount(dir.path()), 1u);

    EXPECT_FALSE(WriteFileAtomic(dir / "missing/value", "x").ok());
    EXPECT_FALSE(WriteFileAtomic(dir.path() + "/", "x").ok());
}

TEST(WriteFileAtomicTest, FailedReplaceKeepsTheOldTargetAndRemovesTheTemporary) {
    ScratchFolder dir;
    // A folder cannot be replaced by a file: the final rename fails.
    const std::string target = dir / "occupied";
    ASSERT_EQ(::mkdir(target.c_str(), 0700), 0);
    WriteText(target + "/inside", "kept");

    EXPECT_FALSE(WriteFileAtomic(target, "new").ok());
    EXPECT_EQ(ReadText(target + "/inside"), "kept");
    EXPECT_EQ(EntryCount(dir.path()), 1u);
}

TEST(WriteFileAtomicTest, WriterKilledMidwayLeavesOldOrNewNeverAMix) {
    ScratchFolder dir;
    const std::string path = dir / "big";
    const size_t size = 16 * 1024 * 1024;
    const std::string old_value(size, 'A');
    const std::string new_value(size, 'B');
    ASSERT_TRUE(WriteFileAtomic(path, old_value).ok());

    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(ready[0]);
        const char byte = 1;
        (void)!::write(ready[1], &byte, 1);
        for (;;) (void)WriteFileAtomic(path, new_value);
    }
    ::close(ready[1]);
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::close(ready[0]);
    ::kill(child, SIGKILL);  // most likely in the middle of writing 16 MiB
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);

    const std::string after = ReadText(path);
    EXPECT_TRUE(after == old_value || after == new_value) << "size " << after.size();

    // The writer's leftover temporary does not get in the way of the next one.
    ASSERT_TRUE(WriteFileAtomic(path, "fresh").ok());
    EXPECT_EQ(ReadText(path), "fresh");
}

TEST(WriteFileAtomicTest, WritesPastTheFileSizeLimitFailAndKeepTheOldFile) {
    ScratchFolder dir;
    const std::string path = dir / "settings";
    WriteText(path, "old");
    WriteText(dir / "big", std::string(256 * 1024, 'b'));
    // The first write stops short at the limit; the next one says why.
    const int code = os_test::RunInChildWithin(10, [&] {
        IgnoreFileSizeLimitSignal();  // as our programs start
        const rlimit limit{64 * 1024, 64 * 1024};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 3;
        const Status written = WriteFileAtomic(path, std::string(256 * 1024, 'n'));
        if (written.ok() || written.error().message.find(std::strerror(EFBIG)) == std::string::npos)
            return 1;
        return CopyFile(dir / "big", dir / "copy").ok() ? 2 : 0;
    });
    EXPECT_EQ(code, 0) << (code == 128 + SIGXFSZ ? "ended by SIGXFSZ" : "");
    EXPECT_EQ(ReadText(path), "old");
    EXPECT_EQ(EntryCount(dir.path()), 2u) << "no temporary file is left";
}

TEST(CopyFileTest, OverwritesTheDestinationAndKeepsTheSourceMode) {
    ScratchFolder dir;
    WriteText(dir / "tool", "#!/bin/sh\n");
    ASSERT_EQ(::chmod((dir / "tool").c_str(), 0755), 0);
    WriteText(dir / "copy", "an older, longer copy of the tool");

    ASSERT_TRUE(CopyFile(dir / "tool", dir / "copy").ok());
    EXPECT_EQ(ReadText(dir / "copy"), "#!/bin/sh\n");
    EXPECT_EQ(ModeOf(dir / "copy"), 0755u);
    EXPECT_EQ(EntryCount(dir.path()), 2u);
}

TEST(CopyFileTest, FailuresAndSelfCopiesLeaveFilesIntact) {
    ScratchFolder dir;
    WriteText(dir / "data", "payload");
    WriteText(dir / "dest", "previous");

    const Status missing = CopyFile(dir / "absent", dir / "dest");
    EXPECT_EQ(missing.error().code, ErrorCode::kFileNotFound);
    EXPECT_EQ(ReadText(dir / "dest"), "previous");

    EXPECT_TRUE(CopyFile(dir / "data", dir / "data").ok());
    EXPECT_EQ(ReadText(dir / "data"), "payload");
    ASSERT_EQ(::link((dir / "data").c_str(), (dir / "alias").c_str()), 0);
    EXPECT_TRUE(CopyFile(dir / "alias", dir / "data").ok());
    EXPECT_EQ(ReadText(dir / "data"), "payload");

    EXPECT_FALSE(CopyFile(dir.path(), dir / "dest").ok());
    EXPECT_EQ(ReadText(dir / "dest"), "previous");
}

TEST(CopyFileTest, PipesAndDevicesAreRefusedAtOnce) {
    ScratchFolder dir;
    WriteText(dir / "dest", "previous");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    // A pipe with no writer would block the open; one with a writer that
    // never writes would block the read; /dev/zero never ends.
    const int code = os_test::RunInChildWithin(10, [&] {
        for (const std::string& source : {dir / "fifo", std::string("/dev/zero")}) {
            const Status copied = CopyFile(source, dir / "dest");
            if (copied.ok() || copied.error().message.find("not a file") == std::string::npos)
                return 1;
        }
        const int writer = ::open((dir / "fifo").c_str(), O_RDWR);
        return CopyFile(dir / "fifo", dir / "dest").ok() || writer < 0 ? 2 : 0;
    });
    EXPECT_EQ(code, 0) << (code == 128 + SIGALRM ? "the copy blocked" : "");
    EXPECT_EQ(ReadText(dir / "dest"), "previous");
    EXPECT_EQ(EntryCount(dir.path()), 2u);
}

TEST(ReadFileTest, EnforcesTheCapAndRefusesFolders) {
    ScratchFolder dir;
    WriteText(dir / "hundred", std::string(100, 'x'));
    EXPECT_EQ(ReadFile(dir / "hundred", 100).value_or("").size(), 100u);
    EXPECT_FALSE(ReadFile(dir / "hundred", 99).ok());
    EXPECT_FALSE(ReadFile(dir.path(), 100).ok());
    EXPECT_EQ(ReadFile(dir / "absent", 100).error().code, ErrorCode::kFileNotFound);

    // A device that never ends is cut off at the cap instead of filling memory.
    EXPECT_FALSE(ReadFile("/dev/zero", 1 << 20).ok());
    // A pipe with no writer must not block the reader.
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    (void)ReadFile(dir / "fifo", 100);
}

// Reading at offsets and front to back through a buffer, from a file or
// from memory alike; and scratch files that leave no name behind.
TEST(ByteFileTest, ReadsPiecesAndScratchFilesLeaveNoName) {
    ScratchFolder dir;
    const std::string text("first\0second line\nthird", 23);
    WriteText(dir / "data", text);
    auto opened = ByteFile::Open(dir / "data");
    ASSERT_TRUE(opened) << opened.error().message;
    const ByteFile memory = ByteFile::FromMemory(text);
    for (const ByteFile* f : std::initializer_list<const ByteFile*>{&*opened, &memory}) {
        EXPECT_EQ(f->size(), 23u);
        char out[6] = {};
        ASSERT_TRUE(f->ReadAt(6, 6, out).ok());
        EXPECT_EQ(std::string(out, 6), "second");
        EXPECT_FALSE(f->ReadAt(20, 6, out).ok()) << "past the end";
        // A buffer of 4 bytes makes every read cross its edge.
        ByteReader reader(*f, 0, 4);
        std::string word;
        ASSERT_TRUE(reader.ReadUntil('\0', 10, word));
        EXPECT_EQ(word, "first");
        word.clear();
        EXPECT_FALSE(reader.ReadUntil('\n', 5, word)) << "longer than allowed";
        ByteReader rest(*f, 17, 4);
        word.clear();
        ASSERT_TRUE(rest.Read(6, word));
        EXPECT_EQ(word, "\nthird");
        char c = 0;
        EXPECT_FALSE(rest.Next(c));
        EXPECT_TRUE(rest.at_end());
        EXPECT_FALSE(rest.failed());
    }
    EXPECT_FALSE(ByteFile::Open(dir.path())) << "a folder is no file";

    auto scratch = ScratchFile::Create(dir / "out.dll");
    ASSERT_TRUE(scratch) << scratch.error().message;
    const std::string big(300 * 1024, 'x');
    ASSERT_TRUE(scratch->Append("head").ok());
    ASSERT_TRUE(scratch->Append(big).ok());
    ASSERT_TRUE(scratch->Append("tail").ok());
    ASSERT_TRUE(scratch->Flush().ok());
    EXPECT_EQ(scratch->size(), big.size() + 8);
    std::string back(scratch->size(), '\0');
    ASSERT_TRUE(scratch->file().ReadAt(0, back.size(), back.data()).ok());
    EXPECT_EQ(back, "head" + big + "tail");
    EXPECT_EQ(os_test::EntryCount(dir.path()), 1u) << "only the data file has a name";
}

TEST(DeleteFileTest, ReportsMissingFilesAndExistenceFollowsIt) {
    ScratchFolder dir;
    WriteText(dir / "f", "x");
    EXPECT_TRUE(FileExists(dir / "f"));
    EXPECT_FALSE(FileExists(dir.path()));
    EXPECT_TRUE(DeleteFile(dir / "f").ok());
    EXPECT_FALSE(FileExists(dir / "f"));
    EXPECT_EQ(DeleteFile(dir / "f").error().code, ErrorCode::kFileNotFound);
}

}  // namespace
}  // namespace platform::os
