// SPDX-License-Identifier: GPL-3.0-or-later
// Dictionaries from other formats: StarDict files (written here, damaged on
// purpose too), CSV, and the conversion, skipping, merging and sorting they
// share, with the limits that keep hostile files from exploding.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "../platform/os/os_test_util.h"
#include "app/csv_dictionary.h"
#include "app/dictionary_builder.h"
#include "app/dictionary_import.h"
#include "app/dictionary_table.h"
#include "app/stardict.h"

namespace {

using os_test::ScratchFolder;
using os_test::WriteText;
using platform::os::ByteFile;

std::string BigEndian32(uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}

std::string Gzip(const std::string& data) {
    z_stream z{};
    deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, data.size()) + 32, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// Entries handed over as a reader would.
class ListSource final : public app::EntrySource {
  public:
    ListSource(std::vector<app::SourceEntry> entries, app::ImportNotes& notes)
        : EntrySource(notes), entries_(std::move(entries)) {}
    bool Next(app::SourceEntry& entry) override {
        if (next_ == entries_.size()) return false;
        entry = entries_[next_++];
        return true;
    }

  private:
    std::vector<app::SourceEntry> entries_;
    size_t next_ = 0;
};

std::vector<app::SourceEntry> ReadAll(app::EntrySource& source) {
    std::vector<app::SourceEntry> out;
    app::SourceEntry entry;
    while (source.Next(entry)) out.push_back(entry);
    return out;
}

std::string Contents(const ByteFile& file) {
    std::string bytes(file.size(), '\0');
    EXPECT_TRUE(file.ReadAt(0, bytes.size(), bytes.data()).ok());
    return bytes;
}

// An import through the whole pipeline into data files.
struct Imported {
    bool ok = false;
    std::string error;
    app::DictionaryBuilder::Failure failure{};
    uint64_t read = 0;
    uint64_t taken = 0;
    uint64_t merged = 0;
    app::ImportNotes notes;
    int32_t entries = 0;
    std::string records;
    std::string lines;
};

Imported Import(const std::vector<app::SourceEntry>& entries, app::BuilderLimits limits = {}) {
    ScratchFolder dir;
    Imported out;
    ListSource source(entries, out.notes);
    app::PreetiConverter converter;
    app::DictionaryBuilder builder(dir / "out.dll", out.notes, limits);
    app::DataFiles data;
    out.ok = app::ImportEntries(source, converter, builder, out.notes, out.read, out.error) &&
             builder.Finish(data);
    out.failure = builder.failure();
    if (out.error.empty()) out.error = builder.error();
    out.taken = builder.taken();
    out.merged = builder.merged();
    if (out.ok) {
        out.entries = data.entries;
        out.records = Contents(data.headword_records.file());
        out.lines = Contents(data.definition_lines.file());
        EXPECT_EQ(out.read, out.taken + out.notes.count());
    }
    return out;
}

// A StarDict dictionary as a maker writes it: the data of every entry one
// after another, the index pointing into it.
struct StarDictMaker {
    std::string ifo;
    std::string idx;
    std::string dict;

    static StarDictMaker Make(const std::vector<std::pair<std::string, std::string>>& entries,
                              const std::string& type_sequence = "m") {
        StarDictMaker f;
        for (const auto& [word, data] : entries) {
            f.idx += word + '\0' + BigEndian32(static_cast<uint32_t>(f.dict.size())) +
                     BigEndian32(static_cast<uint32_t>(data.size()));
            f.dict += data;
        }
        f.ifo = "StarDict's dict ifo file\nversion=2.4.2\nbookname=परीक्षा\nwordcount=" +
                std::to_string(entries.size()) + "\nidxfilesize=" + std::to_string(f.idx.size()) +
                "\n";
        if (!type_sequence.empty()) f.ifo += "sametypesequence=" + type_sequence + "\n";
        return f;
    }

    // Writes NAME.ifo, NAME.idx and NAME.dict (or NAME.dict.dz); returns the
    // .ifo path.
    std::string Write(const ScratchFolder& dir, bool compressed = false) const {
        WriteText(dir / "d.ifo", ifo);
        WriteText(dir / "d.idx", idx);
        if (compressed) {
            WriteText(dir / "d.dict.dz", Gzip(dict));
        } else {
            WriteText(dir / "d.dict", dict);
        }
        return dir / "d.ifo";
    }
};

TEST(ImportEntries, SkipsMergesAndSortsInTheDictionarysOrder) {
    const std::vector<app::SourceEntry> entries = {
        {"किताब", "पढ्ने पुस्तक", "entry 1"}, {"प्रतिनिधित्वकर्ताहरूप्रतिनिधित्वकर्ताहरू", "लामो.", "entry 2"},
        {"घर", "English", "entry 3"},     {"कलम", "लेख्ने साधन.", "entry 4"},
        {"किताब ", "ग्रन्थ.", "entry 5"},   {"Latin", "पुस्तक.", "entry 6"},
        {"", "खाली.", "entry 7"},
    };
    const Imported result = Import(entries);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.taken, 3u);
    EXPECT_EQ(result.merged, 1u);
    const std::vector<app::ImportNote>& skipped = result.notes.kept();
    ASSERT_EQ(skipped.size(), 4u);
    EXPECT_EQ(skipped[0].where, "entry 2");
    EXPECT_NE(skipped[0].message.find("more than 30"), std::string::npos);
    EXPECT_EQ(skipped[1].where, "entry 3");
    EXPECT_NE(skipped[1].message.find("U+0045 'E'"), std::string::npos) << skipped[1].message;
    EXPECT_EQ(skipped[2].where, "entry 6");
    EXPECT_EQ(skipped[3].where, "entry 7");
    // कलम before किताब; the two senses of किताब in input order.
    EXPECT_EQ(result.entries, 2);
    EXPECT_EQ(result.records, app::HeadwordRecord("snd") + app::HeadwordRecord("lstfa"));
    EXPECT_EQ(result.lines, "n]Vg] ;fwg.\r\nk9\\g] k':ts. u|Gy.\r\n");
}

// Batches that go to disk, one entry each and more than are merged in one
// round, give the dictionary that memory alone gives.
TEST(ImportEntries, BatchesOnDiskSortAndMergeAsInMemory) {
    const std::vector<std::string> words = {"क", "ख", "ग", "घ", "च", "छ", "ज", "झ", "ट", "ठ"};
    std::vector<app::SourceEntry> entries;
    for (int i = 0; i < 150; ++i) {
        // Every word many times over, scattered through the input.
        const std::string& word = words[(i * 7) % words.size()];
        entries.push_back({word + words[i % 3], "अर्थ " + words[i % words.size()] + ".",
                           "entry " + std::to_string(i + 1)});
    }
    const Imported memory = Import(entries);
    app::BuilderLimits tiny;
    tiny.batch_bytes = 1;
    const Imported disk = Import(entries, tiny);
    ASSERT_TRUE(memory.ok && disk.ok) << memory.error << disk.error;
    EXPECT_EQ(memory.entries, 30);
    EXPECT_EQ(disk.merged, 120u);
    EXPECT_EQ(disk.records, memory.records);
    EXPECT_EQ(disk.lines, memory.lines);
}

// What the program could not show or what a crafted input makes explode is
// refused, with the limit in the message.
TEST(ImportEntries, LimitsOnDefinitionsAndOutput) {
    // क is one Preeti byte.
    std::string half;
    for (size_t i = 0; i < app::kMaxDefinitionBytes / 2 + 10; ++i) half += "क";
    const std::string whole = half + half + half;

    // Too long alone: skipped; too long once joined: the later sense skipped.
    Imported result = Import({{"घर", whole, "line 1"},
                              {"कलम", half, "line 2"},
                              {"कलम", half, "line 3"},
                              {"किताब", "पुस्तक", "line 4"}});
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.entries, 2);
    ASSERT_EQ(result.notes.kept().size(), 2u);
    EXPECT_EQ(result.notes.kept()[0].where, "line 1");
    EXPECT_NE(result.notes.kept()[0].message.find("more than 12288"), std::string::npos)
        << result.notes.kept()[0].message;
    EXPECT_EQ(result.notes.kept()[1].where, "line 3");
    EXPECT_NE(result.notes.kept()[1].message.find("joined"), std::string::npos);

    // Beyond the output allowed: the import fails, saying so.
    app::BuilderLimits limits;
    limits.max_output_bytes = 100;
    result = Import(
        {{"घर", "ठाउँ", "line 1"}, {"कलम", "साधन", "line 2"}, {"किताब", "पुस्तक", "line 3"}}, limits);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.failure, app::DictionaryBuilder::Failure::kOverBudget);
    EXPECT_NE(result.error.find("more than 100 bytes"), std::string::npos) << result.error;

    // Only the first notes are kept; all are counted.
    std::vector<app::SourceEntry> latin(app::ImportNotes::kKept + 5, {"Latin", "x", "line"});
    result = Import(latin);
    EXPECT_EQ(result.entries, 0);
    EXPECT_EQ(result.notes.kept().size(), app::ImportNotes::kKept);
    EXPECT_EQ(result.notes.count(), latin.size());
}

// Imported dictionaries are sorted in the sample table's order: by the
// Unicode headword, code point by code point, which UTF-8 bytes keep.
TEST(ImportEntries, SortsAsTheSampleDictionaryIs) {
    const char* source = std::getenv("KOVELIN_SOURCE_DIR");
    const std::string path =
        std::string(source ? source : KOVELIN_SOURCE_DIR_FALLBACK) + "/data/dictionary.tsv";
    if (!std::filesystem::exists(path)) GTEST_SKIP() << "no sample dictionary yet";
    const std::string text = os_test::ReadText(path);
    const auto table = app::ConvertTable(text, app::TableEncoding::kUnicode);
    ASSERT_TRUE(table.ok());
    std::vector<app::SourceEntry> entries;
    std::string previous;
    size_t begin = 0;
    while (begin < text.size()) {
        const size_t end = std::min(text.find('\n', begin), text.size());
        const std::string line = text.substr(begin, end - begin);
        begin = end + 1;
        const std::string word = line.substr(0, line.find('\t'));
        EXPECT_LT(previous, word) << "the sample dictionary is out of order at " << word;
        previous = word;
        entries.push_back({word, line.substr(line.find('\t') + 1), ""});
    }
    std::reverse(entries.begin(), entries.end());
    EXPECT_EQ(Import(entries).records, table.packed.headword_records);
}

TEST(ImportText, HtmlAndPlainTextBecomeOneLine) {
    EXPECT_EQ(app::HtmlToText("<b>घर</b><br/>बस्ने&nbsp;ठाउँ &amp; <i>आश्रय</i>\n<p>दोस्रो</p>"),
              "घर बस्ने ठाउँ & आश्रय दोस्रो");
    EXPECT_EQ(app::HtmlToText("&#2328;&#x930; &bogus; a&b <unclosed"), "घर &bogus; a&b");
    EXPECT_EQ(app::HtmlToText("&#0; &#x110000; &#xD800;"), "&#0; &#x110000; &#xD800;");
    EXPECT_EQ(app::OneLine("  एक\r\n\tदुई  \n"), "एक दुई");
}

TEST(CsvDictionary, QuotedFieldsHeaderLineNumbersAndOverlongRows) {
    const std::string text =
        "\xEF\xBB\xBFheadword,definition\r\n"
        "घर,बस्ने ठाउँ\r\n"
        "\"कलम\",\"लेख्ने, कोर्ने \"\"साधन\"\"\",extra\r\n"
        "\r\n"
        "किताब,\"पढ्ने\n"
        "पुस्तक\"\n"
        "एक्लो\n"
        "लामो,\"" +
        std::string(app::kMaxSourceEntryBytes, 'x') +
        "\n\"\n"
        "अन्तिम,शब्द";
    app::ImportNotes notes;
    const ByteFile file = ByteFile::FromMemory(text);
    app::CsvReader csv(file, notes);
    const std::vector<app::SourceEntry> entries = ReadAll(csv);
    ASSERT_TRUE(csv.ok()) << csv.error();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].word, "घर");
    EXPECT_EQ(entries[0].where, "line 2");
    EXPECT_EQ(entries[1].definition, "लेख्ने, कोर्ने \"साधन\"");
    EXPECT_EQ(entries[2].definition, "पढ्ने पुस्तक");
    EXPECT_EQ(entries[2].where, "line 5");
    // The overlong row is passed over whole; the line count goes on.
    EXPECT_EQ(entries[3].where, "line 10");
    EXPECT_EQ(csv.passed_over(), 2u);
    ASSERT_EQ(notes.kept().size(), 2u);
    EXPECT_EQ(notes.kept()[0].where, "line 7");
    EXPECT_EQ(notes.kept()[1].where, "line 8");
    EXPECT_NE(notes.kept()[1].message.find("more than 98304 bytes"), std::string::npos)
        << notes.kept()[1].message;

    // Without a header the first row is an entry.
    const ByteFile one_row = ByteFile::FromMemory("घर,ठाउँ");
    app::CsvReader plain(one_row, notes);
    EXPECT_EQ(ReadAll(plain).size(), 1u);
    const ByteFile unclosed = ByteFile::FromMemory("घर,ठाउँ\nकलम,\"साधन\n");
    app::CsvReader broken(unclosed, notes);
    ReadAll(broken);
    EXPECT_EQ(broken.error(), "line 2: a quoted field is never closed");
}

// A StarDict dictionary read through: its entries, or why it is damaged.
struct ReadResult {
    std::vector<app::SourceEntry> entries;
    app::ImportNotes notes;
    std::string error;
    bool ok() const { return error.empty(); }
};

ReadResult ReadStarDict(const std::string& ifo_path) {
    ReadResult out;
    const app::StarDictFiles files = app::OpenStarDict(ifo_path, ifo_path + ".out");
    if (!files.ok()) {
        out.error = files.error;
        return out;
    }
    app::StarDictReader reader(files.info, files.index, files.data, files.name,
                               app::kMaxOutputMultiple * files.input_bytes, out.notes);
    out.entries = ReadAll(reader);
    out.error = reader.error();
    return out;
}

TEST(StarDict, ReadsPlainHtmlAndCompressedData) {
    ScratchFolder dir;
    const StarDictMaker plain =
        StarDictMaker::Make({{"घर", "बस्ने ठाउँ.\nआश्रय."}, {"कलम", "लेख्ने साधन."}});
    ReadResult dict = ReadStarDict(plain.Write(dir));
    ASSERT_TRUE(dict.ok()) << dict.error;
    ASSERT_EQ(dict.entries.size(), 2u);
    EXPECT_EQ(dict.entries[0].word, "घर");
    EXPECT_EQ(dict.entries[0].definition, "बस्ने ठाउँ. आश्रय.");
    EXPECT_EQ(dict.entries[1].where, "entry 2");

    ScratchFolder dz;
    const StarDictMaker html = StarDictMaker::Make({{"घर", "<b>बस्ने</b> ठाउँ"}}, "h");
    dict = ReadStarDict(html.Write(dz, true));
    ASSERT_TRUE(dict.ok()) << dict.error;
    EXPECT_EQ(dict.entries.at(0).definition, "बस्ने ठाउँ");
    EXPECT_EQ(os_test::EntryCount(dz.path()), 3u) << "the uncompressed data leaves no file";

    // Without a type sequence every field carries its type: text fields end
    // at a NUL, binary ones carry their size; a sound field is passed over.
    ScratchFolder typed;
    const std::string data = std::string("m") + "पहिलो" + '\0' + "W" + BigEndian32(3) + "abc" +
                             "h" + "<i>दोस्रो</i>" + '\0';
    const StarDictMaker mixed =
        StarDictMaker::Make({{"घर", data}, {"चित्र", "W" + BigEndian32(0)}}, "");
    dict = ReadStarDict(mixed.Write(typed));
    ASSERT_TRUE(dict.ok()) << dict.error;
    ASSERT_EQ(dict.entries.size(), 1u);
    EXPECT_EQ(dict.entries[0].definition, "पहिलो दोस्रो");
    ASSERT_EQ(dict.notes.kept().size(), 1u);
    EXPECT_EQ(dict.notes.kept()[0].where, "entry 2");
}

TEST(StarDict, DamagedFilesAreReportedAndNothingIsTaken) {
    const StarDictMaker good = StarDictMaker::Make({{"घर", "बस्ने ठाउँ."}, {"कलम", "लेख्ने साधन."}});
    auto read = [](const StarDictMaker& f, bool compressed = false) {
        ScratchFolder dir;
        return ReadStarDict(f.Write(dir, compressed));
    };
    auto expect_error = [](const ReadResult& d, const std::string& part) {
        EXPECT_FALSE(d.ok());
        EXPECT_NE(d.error.find(part), std::string::npos) << d.error;
    };

    StarDictMaker f = good;
    f.idx.resize(f.idx.size() - 3);  // cut inside the last entry's numbers
    f.ifo = StarDictMaker::Make({}).ifo;
    f.ifo.replace(f.ifo.find("wordcount=0"), 11, "wordcount=2");
    f.ifo.replace(f.ifo.find("idxfilesize=0"), 13, "idxfilesize=" + std::to_string(f.idx.size()));
    expect_error(read(f), "d.idx ends inside entry 2");

    f = good;
    f.dict.resize(f.dict.size() - 1);  // the last entry's text runs past the end
    expect_error(read(f), "entry 2 places its text at bytes");

    f = good;
    f.ifo.replace(f.ifo.find("wordcount=2"), 11, "wordcount=3");
    expect_error(read(f), "holds 2 entries; the description says wordcount=3");

    f = good;
    f.idx += "x";
    expect_error(read(f), "idxfilesize");

    f = good;
    f.ifo = "Some other file\nwordcount=2\n";
    expect_error(read(f), "not a StarDict description");

    f = good;
    f.ifo.replace(f.ifo.find("wordcount=2"), 11, "wordcount=two");
    expect_error(read(f), "wordcount is not a number");

    f = StarDictMaker::Make({{"घर", "W" + BigEndian32(100) + "abc"}}, "");
    expect_error(read(f), "a field runs past");

    // A truncated compressed data file.
    ScratchFolder dir;
    const std::string ifo = good.Write(dir, true);
    const std::string dz = os_test::ReadText(dir / "d.dict.dz");
    WriteText(dir / "d.dict.dz", dz.substr(0, dz.size() / 2));
    expect_error(ReadStarDict(ifo), "d.dict.dz: the compressed data is cut short");
    WriteText(dir / "d.dict.dz", "not gzip at all");
    expect_error(ReadStarDict(ifo), "d.dict.dz: the compressed data is damaged");
    std::filesystem::remove(dir / "d.dict.dz");
    expect_error(ReadStarDict(ifo), "d.dict");
}

// Files made to explode: an entry larger than a definition can be is passed
// over unread; entries pointing at the same text over and over, and data
// that uncompresses far beyond its size, are refused.
TEST(StarDict, HostileFilesAreBounded) {
    const std::string big(app::kMaxSourceEntryBytes + 1, 'a');
    ReadResult dict = [&] {
        ScratchFolder dir;
        return ReadStarDict(StarDictMaker::Make({{"घर", big}, {"कलम", "साधन"}}).Write(dir));
    }();
    ASSERT_TRUE(dict.ok()) << dict.error;
    ASSERT_EQ(dict.entries.size(), 1u);
    EXPECT_EQ(dict.entries[0].where, "entry 2");
    ASSERT_EQ(dict.notes.kept().size(), 1u);
    EXPECT_NE(dict.notes.kept()[0].message.find("more than 98304"), std::string::npos)
        << dict.notes.kept()[0].message;

    // Every entry pointing at the whole text again, far beyond 64 times the
    // size of the files.
    StarDictMaker f = StarDictMaker::Make({{"घर", std::string(90000, 'a')}});
    const std::string first_entry = f.idx;
    for (int i = 0; i < 80; ++i) f.idx += first_entry;
    f.ifo = "StarDict's dict ifo file\nwordcount=81\nidxfilesize=" + std::to_string(f.idx.size()) +
            "\nsametypesequence=m\n";
    dict = [&] {
        ScratchFolder dir;
        return ReadStarDict(f.Write(dir));
    }();
    EXPECT_FALSE(dict.ok());
    EXPECT_NE(dict.error.find("64 times the size of the dictionary's files"), std::string::npos)
        << dict.error;

    // 10 MB of one letter squeezes into about 10 KB.
    f = StarDictMaker::Make({{"घर", std::string(10'000'000, 'a')}});
    dict = [&] {
        ScratchFolder dir;
        return ReadStarDict(f.Write(dir, true));
    }();
    EXPECT_FALSE(dict.ok());
    EXPECT_NE(dict.error.find("d.dict.dz: uncompresses to more than"), std::string::npos)
        << dict.error;
    EXPECT_NE(dict.error.find("64 times its size"), std::string::npos) << dict.error;
}

TEST(StarDict, GunzipStopsAtItsLimitAndJoinsMembers) {
    std::string error;
    const std::string big(100000, 'a');
    EXPECT_FALSE(app::Gunzip(Gzip(big), 50000, error));
    EXPECT_NE(error.find("more than 50000"), std::string::npos);
    const auto joined = app::Gunzip(Gzip("एक") + Gzip("दुई"), 1000, error);
    ASSERT_TRUE(joined);
    EXPECT_EQ(*joined, "एकदुई");
}

}  // namespace
