// SPDX-License-Identifier: GPL-3.0-or-later
// Dictionaries from other formats: StarDict files (written here, damaged on
// purpose too), CSV, and the conversion, skipping, merging and sorting they
// share.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "../platform/os/os_test_util.h"
#include "app/csv_dictionary.h"
#include "app/dictionary_import.h"
#include "app/stardict.h"

namespace {

using os_test::ScratchFolder;
using os_test::WriteText;

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

// A StarDict dictionary as a maker writes it: the data of every entry one
// after another, the index pointing into it.
struct StarDictFiles {
    std::string ifo;
    std::string idx;
    std::string dict;

    static StarDictFiles Make(const std::vector<std::pair<std::string, std::string>>& entries,
                              const std::string& type_sequence = "m") {
        StarDictFiles f;
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
    const app::ImportResult result = app::ImportEntries(entries);
    EXPECT_EQ(result.taken, 3);
    EXPECT_EQ(result.merged, 1);
    ASSERT_EQ(result.skipped.size(), 4u);
    EXPECT_EQ(result.skipped[0].where, "entry 2");
    EXPECT_NE(result.skipped[0].message.find("more than 30"), std::string::npos);
    EXPECT_EQ(result.skipped[1].where, "entry 3");
    EXPECT_NE(result.skipped[1].message.find("U+0045 'E'"), std::string::npos)
        << result.skipped[1].message;
    EXPECT_EQ(result.skipped[2].where, "entry 6");
    EXPECT_EQ(result.skipped[3].where, "entry 7");
    // कलम before किताब; the two senses of किताब in input order.
    EXPECT_EQ(result.packed.entries, 2);
    EXPECT_EQ(result.packed.headword_records,
              app::HeadwordRecord("snd") + app::HeadwordRecord("lstfa"));
    EXPECT_EQ(result.packed.definition_lines, "n]Vg] ;fwg.\r\nk9\\g] k':ts. u|Gy.\r\n");
}

TEST(ImportText, HtmlAndPlainTextBecomeOneLine) {
    EXPECT_EQ(app::HtmlToText("<b>घर</b><br/>बस्ने&nbsp;ठाउँ &amp; <i>आश्रय</i>\n<p>दोस्रो</p>"),
              "घर बस्ने ठाउँ & आश्रय दोस्रो");
    EXPECT_EQ(app::HtmlToText("&#2328;&#x930; &bogus; a&b <unclosed"), "घर &bogus; a&b");
    EXPECT_EQ(app::HtmlToText("&#0; &#x110000; &#xD800;"), "&#0; &#x110000; &#xD800;");
    EXPECT_EQ(app::OneLine("  एक\r\n\tदुई  \n"), "एक दुई");
}

TEST(CsvDictionary, QuotedFieldsHeaderAndLineNumbers) {
    const app::CsvDictionary csv = app::ReadCsvDictionary(
        "\xEF\xBB\xBFheadword,definition\r\n"
        "घर,बस्ने ठाउँ\r\n"
        "\"कलम\",\"लेख्ने, कोर्ने \"\"साधन\"\"\",extra\r\n"
        "\r\n"
        "किताब,\"पढ्ने\n"
        "पुस्तक\"\n"
        "एक्लो\n");
    ASSERT_TRUE(csv.ok()) << csv.error;
    ASSERT_EQ(csv.entries.size(), 3u);
    EXPECT_EQ(csv.entries[0].word, "घर");
    EXPECT_EQ(csv.entries[0].where, "line 2");
    EXPECT_EQ(csv.entries[1].definition, "लेख्ने, कोर्ने \"साधन\"");
    EXPECT_EQ(csv.entries[2].definition, "पढ्ने पुस्तक");
    EXPECT_EQ(csv.entries[2].where, "line 5");
    ASSERT_EQ(csv.skipped.size(), 1u);
    EXPECT_EQ(csv.skipped[0].where, "line 7");

    // Without a header the first row is an entry.
    EXPECT_EQ(app::ReadCsvDictionary("घर,ठाउँ").entries.size(), 1u);
    const app::CsvDictionary broken = app::ReadCsvDictionary("घर,ठाउँ\nकलम,\"साधन\n");
    EXPECT_FALSE(broken.ok());
    EXPECT_EQ(broken.error, "line 2: a quoted field is never closed");
    EXPECT_TRUE(broken.entries.empty());
}

TEST(StarDict, ReadsPlainHtmlAndCompressedData) {
    ScratchFolder dir;
    const StarDictFiles plain =
        StarDictFiles::Make({{"घर", "बस्ने ठाउँ.\nआश्रय."}, {"कलम", "लेख्ने साधन."}});
    app::StarDict dict = app::ReadStarDict(plain.Write(dir));
    ASSERT_TRUE(dict.ok()) << dict.error;
    EXPECT_EQ(dict.book_name, "परीक्षा");
    ASSERT_EQ(dict.entries.size(), 2u);
    EXPECT_EQ(dict.entries[0].word, "घर");
    EXPECT_EQ(dict.entries[0].definition, "बस्ने ठाउँ. आश्रय.");
    EXPECT_EQ(dict.entries[1].where, "entry 2");

    ScratchFolder dz;
    const StarDictFiles html = StarDictFiles::Make({{"घर", "<b>बस्ने</b> ठाउँ"}}, "h");
    dict = app::ReadStarDict(html.Write(dz, true));
    ASSERT_TRUE(dict.ok()) << dict.error;
    EXPECT_EQ(dict.entries.at(0).definition, "बस्ने ठाउँ");

    // Without a type sequence every field carries its type: text fields end
    // at a NUL, binary ones carry their size; a sound field is passed over.
    ScratchFolder typed;
    const std::string data = std::string("m") + "पहिलो" + '\0' + "W" + BigEndian32(3) + "abc" +
                             "h" + "<i>दोस्रो</i>" + '\0';
    const StarDictFiles mixed =
        StarDictFiles::Make({{"घर", data}, {"चित्र", "W" + BigEndian32(0)}}, "");
    dict = app::ReadStarDict(mixed.Write(typed));
    ASSERT_TRUE(dict.ok()) << dict.error;
    ASSERT_EQ(dict.entries.size(), 1u);
    EXPECT_EQ(dict.entries[0].definition, "पहिलो दोस्रो");
    ASSERT_EQ(dict.skipped.size(), 1u);
    EXPECT_EQ(dict.skipped[0].where, "entry 2");
}

TEST(StarDict, DamagedFilesAreReportedAndNothingIsTaken) {
    const StarDictFiles good = StarDictFiles::Make({{"घर", "बस्ने ठाउँ."}, {"कलम", "लेख्ने साधन."}});
    auto read = [](const StarDictFiles& f, bool compressed = false) {
        ScratchFolder dir;
        return app::ReadStarDict(f.Write(dir, compressed));
    };
    auto expect_error = [](const app::StarDict& d, const std::string& part) {
        EXPECT_FALSE(d.ok());
        EXPECT_TRUE(d.entries.empty());
        EXPECT_NE(d.error.find(part), std::string::npos) << d.error;
    };

    StarDictFiles f = good;
    f.idx.resize(f.idx.size() - 3);  // cut inside the last entry's numbers
    f.ifo = StarDictFiles::Make({}).ifo;
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

    f = StarDictFiles::Make({{"घर", "W" + BigEndian32(100) + "abc"}}, "");
    expect_error(read(f), "a field runs past");

    // Every entry pointing at the whole text again.
    f = StarDictFiles::Make({{"घर", std::string(1 << 20, 'a')}});
    const std::string first_entry = f.idx;
    for (int i = 0; i < 40; ++i) f.idx += first_entry;
    f = StarDictFiles{f.ifo, f.idx, f.dict};
    f.ifo = "StarDict's dict ifo file\nwordcount=41\nidxfilesize=" + std::to_string(f.idx.size()) +
            "\nsametypesequence=m\n";
    expect_error(read(f), "over and over");

    // A truncated compressed data file.
    ScratchFolder dir;
    const std::string ifo = good.Write(dir, true);
    const std::string dz = os_test::ReadText(dir / "d.dict.dz");
    WriteText(dir / "d.dict.dz", dz.substr(0, dz.size() / 2));
    expect_error(app::ReadStarDict(ifo), "d.dict.dz: the compressed data is cut short");
    WriteText(dir / "d.dict.dz", "not gzip at all");
    expect_error(app::ReadStarDict(ifo), "d.dict.dz: the compressed data is damaged");
    std::filesystem::remove(dir / "d.dict.dz");
    expect_error(app::ReadStarDict(ifo), "d.dict");
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
