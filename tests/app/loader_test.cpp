// SPDX-License-Identifier: GPL-3.0-or-later
// The loader: record counting, trimming, the percentage steps and their
// yields, the order of the list calls, and damaged or hostile data files.
#include "app/loader.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../platform/os/os_test_util.h"
#include "app/dictionary_table.h"

namespace {

using os_test::ScratchFolder;
using os_test::WriteText;

std::string Records(const std::vector<std::string>& words) {
    std::string out;
    for (const std::string& w : words) out += app::HeadwordRecord(w);
    return out;
}

struct Recorder {
    std::vector<std::string> events;
    app::LoadCallbacks callbacks() {
        app::LoadCallbacks cb;
        cb.set_percentage = [this](const std::string& c) { events.push_back("label " + c); };
        cb.yield = [this] { events.push_back("yield"); };
        cb.on_list_first_touched = [this] { events.push_back("touch"); };
        cb.configure_list = [this](const app::HeadwordListSetup& s) {
            events.push_back("configure " + std::to_string(s.item_count));
        };
        return cb;
    }
    std::vector<std::string> labels() const {
        std::vector<std::string> out;
        for (const auto& e : events) {
            if (e.rfind("label ", 0) == 0) out.push_back(e.substr(6));
        }
        return out;
    }
};

class LoaderTest : public ::testing::Test {
  protected:
    app::LoadReport Load(const std::string& records, const std::string& lines,
                         Recorder* recorder = nullptr) {
        WriteText(t1(), records);
        WriteText(t2(), lines);
        return app::LoadDictionary(t1(), t2(), store,
                                   recorder ? recorder->callbacks() : app::LoadCallbacks{});
    }
    std::string t1() const { return dir / "M_A_X_T1"; }
    std::string t2() const { return dir / "M_A_X_T2"; }

    ScratchFolder dir;
    app::DictionaryStore store;
};

TEST(RecordCount, RoundsToNearestWithTiesToEven) {
    EXPECT_EQ(app::RecordCountForFileSize(0), 0);
    EXPECT_EQ(app::RecordCountForFileSize(16), 0);
    EXPECT_EQ(app::RecordCountForFileSize(17), 0);  // tie, 0 is even
    EXPECT_EQ(app::RecordCountForFileSize(18), 1);
    EXPECT_EQ(app::RecordCountForFileSize(34 * 3), 3);
    EXPECT_EQ(app::RecordCountForFileSize(34 * 2 + 17), 2);
    EXPECT_EQ(app::RecordCountForFileSize(34 * 3 + 17), 4);
    EXPECT_EQ(app::RecordCountForFileSize(34 * 3 + 16), 3);
    EXPECT_EQ(app::RecordCountForFileSize(34 * 3 + 18), 4);
}

TEST_F(LoaderTest, ReadsEntriesTrimmingOnlySpacesAndKeepingDefinitionsAsRead) {
    const auto report =
        Load(Records({"  g]kfn", "", "a\tb "}) + "", "  first line . \r\nsecond\r\n\r\n");
    ASSERT_EQ(store.size(), 3);
    EXPECT_EQ(report.records, 3);
    EXPECT_EQ(store.word(0), "g]kfn");
    EXPECT_EQ(store.definition(0), "  first line . ");
    EXPECT_EQ(store.word(1), "");  // thirty spaces
    EXPECT_EQ(store.definition(1), "second");
    EXPECT_EQ(store.word(2), "a\tb");  // a tab is not a space
    EXPECT_EQ(store.definition(2), "");
}

TEST_F(LoaderTest, OneLineEndForTheWholeFileKeepsStrayBreaksInsideTheirDefinition) {
    // Any CR LF makes CR LF the line end; lone CRs and LFs stay in the line.
    Load(Records({"a", "b", "c", "d"}), "A1\r\nB1\nC1\rD1\r\r\nE1");
    ASSERT_EQ(store.size(), 4);
    EXPECT_EQ(store.definition(0), "A1");
    EXPECT_EQ(store.definition(1), "B1\nC1\rD1\r");
    EXPECT_EQ(store.definition(2), "E1") << "the unended last line is kept";
    EXPECT_EQ(store.definition(3), "");

    // Without any CR LF, LF ends the lines and a CR is text.
    Load(Records({"a", "b", "c"}), "one\ntwo\rthree\n\r");
    EXPECT_EQ(store.definition(0), "one");
    EXPECT_EQ(store.definition(1), "two\rthree");
    EXPECT_EQ(store.definition(2), "\r");

    // A CR LF found only at the very end still decides for the whole file.
    Load(Records({"a", "b"}), "x\ny\r\n");
    EXPECT_EQ(store.definition(0), "x\ny");
    EXPECT_EQ(store.definition(1), "");
}

TEST_F(LoaderTest, LineEndsAreFoundAcrossTheReadBuffer) {
    // Lines of 256 KiB - 1 bytes put a CR LF, a lone CR and a lone LF right
    // on the boundary of the loader's 256 KiB buffer.
    const std::string body((256 << 10) - 1, 'x');
    Load(Records({"a", "b", "c", "d"}),
         body + "\r\n" + body.substr(1) + "\r!" + body.substr(2) + "\n\r\nlast\r");
    ASSERT_EQ(store.size(), 4);
    EXPECT_TRUE(store.definition(0) == body);
    EXPECT_TRUE(store.definition(1) == body.substr(1) + "\r!" + body.substr(2) + "\n");
    EXPECT_EQ(store.definition(2), "last\r");
    EXPECT_EQ(store.definition(3), "");

    // In an LF file the CR before the boundary is text as well.
    Load(Records({"a", "b"}), body + "\r\rnext\n");
    EXPECT_TRUE(store.definition(0) == body + "\r\rnext");
}

TEST_F(LoaderTest, PartialRecordsFollowTheRounding) {
    // 34*2+17 bytes: two entries, the half record ignored.
    Load(Records({"a", "b"}) + std::string(17, 'x'), "1\r\n2\r\n3\r\n");
    EXPECT_EQ(store.size(), 2);
    // 34*3+17 bytes: four entries; the fourth headword is what the partial
    // record holds.
    Load(Records({"a", "b", "c"}) + "tail" + std::string(13, ' '), "1\r\n2\r\n3\r\n4\r\n");
    ASSERT_EQ(store.size(), 4);
    EXPECT_EQ(store.word(3), "tail");
    EXPECT_EQ(store.definition(3), "4");
}

TEST_F(LoaderTest, ShortOrMissingDefinitionFileLeavesTheRestEmpty) {
    auto report = Load(Records({"a", "b", "c"}), "only one\r\n");
    ASSERT_EQ(store.size(), 3);
    EXPECT_EQ(report.definitions, 1);
    EXPECT_EQ(store.definition(0), "only one");
    EXPECT_EQ(store.definition(2), "");

    ::unlink(t2().c_str());
    report = app::LoadDictionary(t1(), t2(), store, {});
    EXPECT_FALSE(report.definition_file_opened);
    EXPECT_EQ(store.size(), 3);
    EXPECT_EQ(store.definition(1), "");
}

TEST_F(LoaderTest, MissingOrEmptyRecordFileGivesAnEmptyListThatIsStillConfigured) {
    Recorder recorder;
    app::LoadDictionary(dir / "absent", t2(), store, recorder.callbacks());
    EXPECT_TRUE(store.empty());
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"touch", "configure 0"}));

    Load("", "text\r\n");
    EXPECT_TRUE(store.empty());
}

TEST_F(LoaderTest, DevicesInPlaceOfTheFilesAreNotRead) {
    WriteText(t1(), Records({"a"}));
    const auto report = app::LoadDictionary(t1(), "/dev/zero", store, {});
    EXPECT_FALSE(report.definition_file_opened);
    ASSERT_EQ(store.size(), 1);
    EXPECT_EQ(store.definition(0), "");
    EXPECT_EQ(app::LoadDictionary("/dev/zero", t2(), store, {}).entries, 0);
}

TEST_F(LoaderTest, BinaryGarbageLoadsWithoutHarm) {
    std::string garbage;
    uint32_t x = 12345;
    for (int i = 0; i < 34 * 500 + 5; ++i) {
        x = x * 1103515245u + 12345u;
        garbage += static_cast<char>(x >> 24);
    }
    Load(garbage, garbage);
    ASSERT_EQ(store.size(), 500);
    const std::string_view terminator = garbage.find("\r\n") != garbage.npos ? "\r\n" : "\n";
    for (int32_t i = 0; i < store.size(); ++i) {
        ASSERT_LE(store.word(i).size(), 30u);
        ASSERT_EQ(store.definition(i).find(terminator), std::string_view::npos);
    }
}

TEST_F(LoaderTest, HugeRecordFileBesideShortDefinitionsStaysProportional) {
    // A sparse 120 MB record file: millions of records of NUL bytes.
    WriteText(t2(), "one\r\n");
    const int fd = ::open(t1().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    const off_t size = 34 * 3'500'000;
    ASSERT_EQ(::ftruncate(fd, size), 0);
    ::close(fd);

    const auto report = app::LoadDictionary(t1(), t2(), store, {});
    EXPECT_EQ(report.entries, 3'500'000);
    EXPECT_EQ(store.definition(0), "one");
    EXPECT_EQ(store.definition(1), "");
    EXPECT_LT(store.memory_bytes(), static_cast<size_t>(size) * 3 / 2);
}

TEST_F(LoaderTest, PercentageStepsOn1200EntriesThenListCallsAfterReading) {
    Recorder recorder;
    Load(Records(std::vector<std::string>(1200, "w")), "", &recorder);
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"label 0 %", "yield", "label 2 %", "yield",
                                                         "touch", "configure 1200"}));
}

TEST_F(LoaderTest, LargeDictionaryEndsAt100Percent) {
    Recorder recorder;
    Load(Records(std::vector<std::string>(30603, "w")), "", &recorder);
    std::vector<std::string> labels;
    for (const std::string& e : recorder.events)
        if (e.starts_with("label ")) labels.push_back(e);
    ASSERT_GE(labels.size(), 2u);
    EXPECT_EQ(labels[labels.size() - 2], "label 99 %");
    EXPECT_EQ(labels.back(), "label 100 %");
}

TEST(PercentCaption, ClassicScaleUpTo30002EntriesAndTrueShareBeyond) {
    EXPECT_EQ(app::PercentCaptionAfterEntry(0, 10), "");
    EXPECT_EQ(app::PercentCaptionAfterEntry(1, 2), "0 %");
    EXPECT_EQ(app::PercentCaptionAfterEntry(2, 10), "");
    EXPECT_EQ(app::PercentCaptionAfterEntry(601, 30002), "2 %");
    EXPECT_EQ(app::PercentCaptionAfterEntry(30001, 30002), "100 %");
    EXPECT_EQ(app::PercentCaptionAfterEntry(29401, 30001), "98 %");
    // Beyond the classic scale the share read: 601+1 of 300,000 is 0 %, the
    // last step stays within 100.
    EXPECT_EQ(app::PercentCaptionAfterEntry(1, 300000), "0 %");
    EXPECT_EQ(app::PercentCaptionAfterEntry(150001, 300000), "50 %");
    EXPECT_EQ(app::PercentCaptionAfterEntry(299401, 300000), "99 %");
    EXPECT_EQ(app::PercentCaptionAfterEntry(30601, 30603), "99 %");
    for (int64_t n : {30003, 45000, 300000, 1000000}) {
        int last = -1;
        for (int64_t i = 1; i < n; i += 600) {
            const std::string c = app::PercentCaptionAfterEntry(i, n);
            const int value = std::stoi(c);
            ASSERT_GE(value, last) << n;
            ASSERT_LE(value, 100) << n;
            last = value;
        }
    }
}

TEST_F(LoaderTest, StoreMemoryStaysWellUnderTheFileSizes) {
    const app::TableResult table = app::ConvertTable(
        [] {
            std::string t;
            for (int i = 0; i < 5000; ++i) {
                t += "w" + std::to_string(i) + "\tsome definition text of the entry, number " +
                     std::to_string(i) + ".\n";
            }
            return t;
        }(),
        app::TableEncoding::kPreeti);
    ASSERT_TRUE(table.ok());
    Load(table.packed.headword_records, table.packed.definition_lines);
    ASSERT_EQ(store.size(), 5000);
    EXPECT_EQ(store.word(4999), "w4999");
    EXPECT_EQ(store.definition(4999), "some definition text of the entry, number 4999.");
    const size_t files =
        table.packed.headword_records.size() + table.packed.definition_lines.size();
    EXPECT_LT(store.memory_bytes(), files * 3 / 2);
}

}  // namespace
