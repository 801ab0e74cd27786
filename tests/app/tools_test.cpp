// SPDX-License-Identifier: GPL-3.0-or-later
// The command-line tools as a person runs them: the packer's checks, the
// extraction tool's exit codes, and terminal lookups in both encodings.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "../platform/os/os_test_util.h"
#include "app/dictionary_import.h"
#include "app/dictionary_table.h"
#include "app/synthetic_dictionary.h"
#include "app/terminal_lookup.h"
#include "platform/surface.h"

namespace {

using os_test::ScratchFolder;
using os_test::WriteText;

TEST(ConvertTable, ConvertsUnicodeKeepingTheDefinitionMarks) {
    const auto result = app::ConvertTable("\xEF\xBB\xBFनेपाल\tएउटा देश. [नेपाली=]नेपालको भाषा.\r\n\n",
                                          app::TableEncoding::kUnicode);
    ASSERT_TRUE(result.ok()) << result.errors[0].message;
    EXPECT_EQ(result.packed.entries, 1);
    EXPECT_EQ(result.packed.headword_records, app::HeadwordRecord("g]kfn"));
    EXPECT_EQ(result.packed.definition_lines, "Pp6f b]z. [g]kfnL=]g]kfnsf] efiff.\r\n");
}

TEST(ConvertTable, ReportsEveryBadLineAndProducesNothing) {
    std::string too_long;  // क is one Preeti byte
    for (size_t i = 0; i <= app::kMaxDefinitionBytes; ++i) too_long += "क";
    const std::string table =
        "नेपाल\tदेश.\n"                                // 1: fine
        "no tab here\n"                              // 2
        "प्रतिनिधित्वकर्ताहरूप्रतिनिधित्वकर्ताहरू\tलामो.\n"  // 3: too long
        "घर\tEnglish.\n"                             // 4: Latin letters
        "घर\tएक\rदुई.\n"                              // 5: a line break
        "\tखाली.\n"                                  // 6: no headword
        "कलम\t" +
        too_long + "\n";  // 7: too long
    const auto result = app::ConvertTable(table, app::TableEncoding::kUnicode);
    ASSERT_EQ(result.errors.size(), 6u);
    EXPECT_EQ(result.errors[0].line, 2u);
    EXPECT_EQ(result.errors[1].line, 3u);
    EXPECT_NE(result.errors[1].message.find("bytes"), std::string::npos);
    EXPECT_EQ(result.errors[2].line, 4u);
    EXPECT_NE(result.errors[2].message.find("U+0045 'E' at column 4"), std::string::npos)
        << result.errors[2].message;
    EXPECT_EQ(result.errors[3].line, 5u);
    EXPECT_EQ(result.errors[4].line, 6u);
    EXPECT_EQ(result.errors[5].line, 7u);
    EXPECT_NE(result.errors[5].message.find("more than 12288"), std::string::npos);
    EXPECT_EQ(result.packed.entries, 0);
    EXPECT_TRUE(result.packed.headword_records.empty());
}

TEST(ConvertTable, PreetiTablesAreTakenAsTheyAre) {
    const auto result = app::ConvertTable("g]kfn\tb]z .\nabc\t[x=]y.", app::TableEncoding::kPreeti);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.packed.definition_lines, "b]z .\r\n[x=]y.\r\n");
    EXPECT_FALSE(app::ConvertTable(std::string(31, 'a') + "\tx", app::TableEncoding::kPreeti).ok());
}

TEST(TerminalLookup, TypedTextInEitherEncoding) {
    EXPECT_EQ(app::TypedTextToPreeti("नेपाल"), "g]kfn");
    EXPECT_EQ(app::TypedTextToPreeti("g]kfn"), "g]kfn");
    EXPECT_EQ(app::TypedTextToPreeti("ने?ाल*"), "g]?fn*");
    EXPECT_EQ(app::TypedTextToPreeti("\xC3\x8B"), "\xCB");  // a high Preeti byte typed in UTF-8
    bool ok = true;
    EXPECT_EQ(app::TypedTextToPreeti("नेपालX", &ok), "");
    EXPECT_FALSE(ok);
}

TEST(TerminalLookup, LaysTheEntryOutAsThePaneDoes) {
    const std::string text =
        app::FormatEntryForTerminal({"g]kfn", "Pp6f b]z. [g]kfnL=]g]kfnsf] efiff"});
    EXPECT_EQ(text, "नेपाल\nएउटा देश ।\n[ नेपाली. ]\nनेपालको भाषा ।\n");
}

#ifdef KOVELIN_TOOL_DIR
struct ShellRun {
    int status;
    std::string output;
};

ShellRun Shell(const std::string& command) {
    ShellRun run{-1, {}};
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, got);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

const std::string kTools = KOVELIN_TOOL_DIR;

TEST(Tools, HtmldumpPrintsTheLayoutAndWritesThePicture) {
    ScratchFolder dir;
    WriteText(dir / "doc.html",
              "<P>ab cd<OL><LI>x</OL><TABLE BORDER=1 WIDTH=100><TR><TD>a</TD></TR></TABLE>");
    const std::string png = dir / "doc.png";
    ShellRun run =
        Shell(kTools + "/htmldump --fixed --size 12 --padding 6 --layout 200x150 --png '" + png +
              "' '" + (dir / "doc.html") + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    // On the fixed face: lines of 20 px from the padding, items numbered.
    EXPECT_NE(run.output.find("Text=\"ab cd\" NoSpaceBefore=true Words=[\"ab\",\"cd\"] Top=26 "
                              "Left=6"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("IsNumbered=true ItemNumber=1"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("ContentWidth=200 ContentHeight=150 Picture=200x150"),
              std::string::npos)
        << run.output;
    // The table a line below the list, its cell inside border and spacing.
    EXPECT_NE(run.output.find("Table 9 Left=6 Top=106 Right=107 Bottom=135\n"
                              "Cell 11 Left=9 Top=109 Right=104 Bottom=132\n"),
              std::string::npos)
        << run.output;
    const auto picture = platform::Surface::ReadPng(png);
    ASSERT_TRUE(picture.ok());
    EXPECT_EQ(picture.value().width(), 200);
    EXPECT_EQ(picture.value().height(), 150);

    EXPECT_EQ(Shell(kTools + "/htmldump --layout 0x5 '" + (dir / "doc.html") + "'").status, 2);
}

TEST(Tools, PackThenExtractThenLookUp) {
    ScratchFolder dir;
    WriteText(dir / "table.tsv",
              "कलम\tलेख्ने साधन. [कलमदानी=]कलम राख्ने भाँडो.\n"
              "कलश\tपानी राख्ने भाँडो.\n"
              "किताब\tपढ्ने पुस्तक.\n");
    ShellRun run =
        Shell(kTools + "/kovelin-pack '" + (dir / "table.tsv") + "' '" + (dir / "load.dll") + "'");
    ASSERT_EQ(run.status, 0) << run.output;

    run = Shell(kTools + "/kovelin-lookup कल --list 5 --data '" + dir.path() + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, "कलम\nलेख्ने साधन ।\n[ कलमदानी. ]\nकलम राख्ने भाँडो ।\n\n1\tकलश\n2\tकिताब\n");

    run = Shell(kTools + "/kovelin-lookup 's?z' --data '" + dir.path() + "'");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output.substr(0, run.output.find('\n')), "कलश");

    // The first lookup leaves an index of the archive's content in the
    // private temporary folder; a damaged index is rebuilt, and an archive
    // of other content gets its own, replacing the old one.
    ScratchFolder runtime;
    ::chmod(runtime.path().c_str(), 0700);
    const std::string env = "XDG_RUNTIME_DIR='" + runtime.path() + "' ";
    auto indexes = [&] {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(runtime / "kovelin"))
            if (e.path().extension() == ".idx") names.push_back(e.path().string());
        return names;
    };
    run = Shell(env + kTools + "/kovelin-lookup कल --data '" + dir.path() + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    ASSERT_EQ(indexes().size(), 1u);
    WriteText(indexes()[0], "KVLKIDX1 and then nothing that adds up");
    run = Shell(env + kTools + "/kovelin-lookup किता --data '" + dir.path() + "'");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, "किताब\nपढ्ने पुस्तक ।\n");
    const std::string first_index = indexes().at(0);
    ScratchFolder other;
    WriteText(other / "table.tsv", "किताब\tपढ्ने वा लेख्ने पुस्तक.\n");
    ASSERT_EQ(Shell(kTools + "/kovelin-pack '" + (other / "table.tsv") + "' '" +
                    (other / "load.dll") + "'")
                  .status,
              0);
    run = Shell(env + kTools + "/kovelin-lookup किता --data '" + other.path() + "'");
    EXPECT_EQ(run.output, "किताब\nपढ्ने वा लेख्ने पुस्तक ।\n");
    ASSERT_EQ(indexes().size(), 1u);
    EXPECT_NE(indexes()[0], first_index);

    run = Shell(kTools + "/kovelin-lookup घर --data '" + dir.path() + "'");
    EXPECT_EQ(run.status, 1);
    // A dictionary that cannot be read is named, and the bundled one is
    // used in its place.
    run = Shell(kTools + "/kovelin-lookup अ --data '" + (dir / "nowhere") + "'");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.output.find("The dictionary " + (dir / "nowhere") +
                              "/load.dll cannot be read: there is no such file. Using the "
                              "bundled dictionary"),
              std::string::npos)
        << run.output;

    // The extraction tool, run as start-up runs it.
    ScratchFolder work;
    run = Shell("cd '" + work.path() + "' && " + kTools + "/sysmaint -o -squarbelink '" +
                (dir / "load.dll") + "'");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(std::filesystem::file_size(work / "M_A_X_T1"), 3u * 34);
    run = Shell("cd '" + work.path() + "' && " + kTools + "/sysmaint -o -sguess '" +
                (dir / "load.dll") + "'");
    // The traditional encryption checks a password against one byte of a
    // random header, so one wrong password in 256 passes that check and is
    // then caught as damaged data (exit 4); either way nothing is written.
    if (run.status != 4) {
        EXPECT_EQ(run.status, 5);
        EXPECT_NE(run.output.find("wrong password"), std::string::npos);
    }
    run = Shell("cd '" + work.path() + "' && " + kTools + "/sysmaint -o -squarbelink missing.dll");
    EXPECT_EQ(run.status, 3);
}

TEST(Tools, LookUpNearWordsLatinSpellingsAndJson) {
    ScratchFolder dir;
    WriteText(dir / "table.tsv",
              "बुद्धि\tसोच्ने शक्ति. [बुद्धिमान=]बुद्धि भएको.\n"
              "शब्दकोश\tशब्दको अर्थ दिने पुस्तक.\n"
              "शब्द\tअर्थ भएको अक्षरको समूह.\n"
              "किताब\tपढ्ने पुस्तक.\n");
    ASSERT_EQ(
        Shell(kTools + "/kovelin-pack '" + (dir / "table.tsv") + "' '" + (dir / "load.dll") + "'")
            .status,
        0);
    const std::string lookup = kTools + "/kovelin-lookup ";
    const std::string data = " --data '" + dir.path() + "'";

    // The Unicode beginning of a word whose Preeti bytes start otherwise.
    ShellRun run = Shell(lookup + "बुद्ध" + data);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("did you mean:\n  बुद्धि\n"), std::string::npos) << run.output;

    run = Shell(lookup + "कीताव --fuzzy" + data);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "किताब\nपढ्ने पुस्तक ।\n");

    // The nearest first (a word spelt whole before one only begun), then the
    // other near headwords with their rows.
    run = Shell(lookup + "sabda --roman" + data);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "शब्द\nअर्थ भएको अक्षरको समूह ।\n\n1\tशब्दकोश\n");

    // शब्द, which the spelling goes past, comes after the word it spells.
    run = Shell(lookup + "shabdakosh --roman --json" + data);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output,
              "[\n  {\n    \"headword\": \"शब्दकोश\",\n    \"definition\": \"शब्दको अर्थ दिने "
              "पुस्तक ।\\n\"\n  },\n  {\n    \"headword\": \"शब्द\",\n    \"definition\": "
              "\"अर्थ भएको अक्षरको समूह ।\\n\"\n  }\n]\n");

    run = Shell(lookup + "बु --json --list 1" + data);
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.output.find("\"definition\": \"सोच्ने शक्ति ।\\n[ बुद्धिमान. ]\\nबुद्धि भएको "
                              "।\\n\""),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("\"headword\": \"शब्दकोश\""), std::string::npos);

    run = Shell(lookup + "zzzzzz --roman --json" + data);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("[]\n"), std::string::npos);
    EXPECT_EQ(Shell(lookup + "x --roman --fuzzy" + data).status, 2);
}

TEST(Tools, ConvertTextBothWaysReportingWhatHasNoForm) {
    ScratchFolder dir;
    WriteText(dir / "unicode.txt", "नेपाल एउटा देश हो।\nघर A\n");
    const std::string convert = kTools + "/kovelin-convert ";
    // Standard error, apart from the output file.
    ShellRun run = Shell("(" + convert + "--to-preeti < '" + (dir / "unicode.txt") + "' > '" +
                         (dir / "preeti.txt") + "')");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output,
              "kovelin-convert: line 2, column 4: U+0041 has no Preeti form\n"
              "kovelin-convert: 1 character left out\n");
    run = Shell(convert + "--to-unicode < '" + (dir / "preeti.txt") + "'");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "नेपाल एउटा देश हो।\nघर \n");
    EXPECT_EQ(Shell(convert + "--sideways < /dev/null").status, 2);
    EXPECT_EQ(Shell(convert).status, 2);
}

TEST(Tools, ExtractionPastTheFileSizeLimitFailsAndLeavesNothing) {
    ScratchFolder dir;
    std::string table;
    for (int i = 0; i < 100; ++i) table += "w" + std::to_string(i) + "\tdefinition.\n";
    WriteText(dir / "table.tsv", table);
    ShellRun run = Shell(kTools + "/kovelin-pack --preeti '" + (dir / "table.tsv") + "' '" +
                         (dir / "load.dll") + "'");
    ASSERT_EQ(run.status, 0) << run.output;

    // 3,400 bytes of records against a limit of 2 blocks (1 or 2 KiB).
    ScratchFolder work;
    WriteText(work / "M_A_X_T1", "previous");
    run = Shell("cd '" + work.path() + "' && ulimit -f 2 && " + kTools +
                "/sysmaint -o -squarbelink '" + (dir / "load.dll") + "'");
    EXPECT_EQ(run.status, 6) << run.output;
    EXPECT_EQ(os_test::ReadText(work / "M_A_X_T1"), "previous");
    EXPECT_EQ(os_test::EntryCount(work.path()), 1u) << "no staging file is left";
}

TEST(Tools, PackTakesCsvAndReportsWhatItSkippedAndMerged) {
    ScratchFolder dir;
    WriteText(dir / "mine.csv",
              "किताब,पढ्ने पुस्तक\n"
              "कलम,लेख्ने साधन\n"
              "घर,English\n"
              "किताब,ग्रन्थ\n");
    ShellRun run =
        Shell(kTools + "/kovelin-pack '" + (dir / "mine.csv") + "' '" + (dir / "load.dll") + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("mine.csv: line 3: skipped: definition: U+0045 'E'"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("4 entries read: 3 taken (1 of them merged into an earlier "
                              "headword), 1 skipped"),
              std::string::npos)
        << run.output;
    run = Shell(kTools + "/kovelin-lookup क --list 1 --data '" + dir.path() + "'");
    EXPECT_EQ(run.output, "कलम\nलेख्ने साधन ।\n\n1\tकिताब\n");

    WriteText(dir / "bad.ifo", "not a description\n");
    run = Shell(kTools + "/kovelin-pack '" + (dir / "bad.ifo") + "' '" + (dir / "out.dll") + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("bad.ifo: not a StarDict description"), std::string::npos)
        << run.output;
    EXPECT_FALSE(std::filesystem::exists(dir / "out.dll"));
}

TEST(Tools, PackRefusesToWriteOverItsInput) {
    ScratchFolder dir;
    const std::string csv = "घर,ठाउँ\n";
    WriteText(dir / "mine.csv", csv);
    WriteText(dir / "d.ifo", "StarDict's dict ifo file\nwordcount=0\nidxfilesize=0\n");
    WriteText(dir / "d.idx", "");
    std::filesystem::create_symlink(dir / "mine.csv", dir / "link.dll");
    for (const auto& [input, output] :
         std::vector<std::pair<std::string, std::string>>{{"mine.csv", "mine.csv"},
                                                          {"mine.csv", "link.dll"},
                                                          {"d.ifo", "d.ifo"},
                                                          {"d.ifo", "d.idx"}}) {
        const ShellRun run =
            Shell("cd '" + dir.path() + "' && " + kTools + "/kovelin-pack " + input + " " + output);
        EXPECT_EQ(run.status, 2) << input << " " << output << ": " << run.output;
        EXPECT_NE(run.output.find("is the input file"), std::string::npos) << run.output;
    }
    EXPECT_EQ(os_test::ReadText(dir / "mine.csv"), csv);
    EXPECT_EQ(std::filesystem::file_size(dir / "d.ifo"), 51u);
}

// kovelin-pack stopped at any point: by a signal it can catch it leaves
// nothing; killed outright it leaves at most its own temporary file, which
// the next run removes.
TEST(Tools, PackStoppedAnywhereLeavesNoTemporaryFile) {
    ScratchFolder dir;
    std::string csv = app::SyntheticTable(3000, 3);
    std::replace(csv.begin(), csv.end(), '\t', ',');
    WriteText(dir / "big.csv", csv);
    const std::string pack = kTools + "/kovelin-pack";
    auto start = [&] {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::freopen("/dev/null", "w", stdout);
            ::freopen("/dev/null", "w", stderr);
            ::execl(pack.c_str(), pack.c_str(), (dir / "big.csv").c_str(),
                    (dir / "load.dll").c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        return pid;
    };
    auto files = [&] {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir.path()))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    };
    // How long a whole run takes, so the stops fall inside one.
    const auto began = std::chrono::steady_clock::now();
    int status = 0;
    ::waitpid(start(), &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const auto run_us = std::chrono::duration_cast<std::chrono::microseconds>(
                            std::chrono::steady_clock::now() - began)
                            .count();
    std::mt19937 random(::getpid());
    for (int i = 0; i < 6; ++i) {
        const int sig = i % 2 == 0 ? SIGKILL : SIGTERM;
        const std::vector<std::string> before = files();
        const pid_t pid = start();
        // Spread over the run, each at a random point of its seventh.
        const int64_t seventh = std::max<int64_t>(run_us / 7, 1);
        ::usleep(static_cast<useconds_t>(seventh * i + random() % seventh));
        ::kill(pid, sig);
        ::waitpid(pid, &status, 0);
        // Asked to stop, it takes its own file with it.
        const std::vector<std::string> after = files();
        if (sig == SIGTERM) {
            EXPECT_TRUE(std::includes(before.begin(), before.end(), after.begin(), after.end()));
        }
    }
    const ShellRun run = Shell(pack + " '" + (dir / "big.csv") + "' '" + (dir / "load.dll") + "'");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(files(), (std::vector<std::string>{"big.csv", "load.dll"}));
}

TEST(Tools, PackRejectsABadTableAndWritesNothing) {
    ScratchFolder dir;
    WriteText(dir / "bad.tsv", "कलम\tलेख्ने साधन.\nकलम लेख्ने\n");
    const ShellRun run =
        Shell(kTools + "/kovelin-pack '" + (dir / "bad.tsv") + "' '" + (dir / "out.dll") + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find(dir / "bad.tsv:2: no tab"), std::string::npos) << run.output;
    EXPECT_FALSE(std::filesystem::exists(dir / "out.dll"));
}

// Each option with its argument ("--list N", "--encryption trad|aes|none",
// "--json"). From --help: the usage lines (the "usage:" line and the
// indented ones after it). From a manual page: the heads of its OPTIONS
// entries, roff markup taken away.
using Options = std::map<std::string, std::string>;

void AddOption(Options& out, const std::vector<std::string>& words, size_t i) {
    const std::string& next = i + 1 < words.size() ? words[i + 1] : std::string();
    const bool argument =
        !next.empty() && next.find("--") != 0 &&
        (std::all_of(next.begin(), next.end(), [](char c) { return c >= 'A' && c <= 'Z'; }) ||
         (next.find('|') != std::string::npos && next.size() > 1));
    out[words[i]] = argument ? next : "";
}

std::vector<std::string> Words(std::string line) {
    for (char& c : line)
        if (c == '[' || c == ']' || c == '"') c = ' ';
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

Options HelpOptions(const std::string& help) {
    Options out;
    std::istringstream in(help);
    bool usage = false;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("usage:", 0) == 0) {
            usage = true;
        } else if (line.empty() || line[0] != ' ') {
            usage = false;
        }
        if (!usage) continue;
        const std::vector<std::string> words = Words(line);
        for (size_t i = 0; i < words.size(); ++i)
            if (words[i].rfind("--", 0) == 0) AddOption(out, words, i);
    }
    return out;
}

Options ManualOptions(const std::string& page) {
    Options out;
    std::istringstream in(page);
    bool options = false;
    bool head = false;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(".SH", 0) == 0) options = line == ".SH OPTIONS";
        if (!options) continue;
        if (line == ".TP") {
            head = true;
            continue;
        }
        if (!head) continue;
        head = false;
        std::string plain;
        for (char c : line.substr(line.find(' ') + 1))
            if (c != '\\') plain += c;
        const std::vector<std::string> words = Words(plain);
        if (!words.empty() && words[0].rfind("--", 0) == 0) AddOption(out, words, 0);
    }
    return out;
}

TEST(Tools, ManualPagesNameTheOptionsThatHelpShows) {
    const char* source = std::getenv("KOVELIN_SOURCE_DIR");
    const std::string man =
        std::string(source ? source : KOVELIN_SOURCE_DIR_FALLBACK) + "/dist/man/";
    for (const char* tool : {"kovelin", "kovelin-lookup", "kovelin-pack"}) {
        SCOPED_TRACE(tool);
        const ShellRun help = Shell(kTools + "/" + tool + " --help");
        ASSERT_EQ(help.status, 0) << help.output;
        const Options from_help = HelpOptions(help.output);
        EXPECT_GE(from_help.size(), 3u) << help.output;
        EXPECT_EQ(ManualOptions(os_test::ReadText(man + tool + ".1")), from_help);
    }
}
#endif

}  // namespace

namespace {

TEST(SyntheticTable, SameSeedSameTableAndEveryLinePacks) {
    const std::string table = app::SyntheticTable(2000, 7);
    EXPECT_EQ(table, app::SyntheticTable(2000, 7));
    EXPECT_NE(table, app::SyntheticTable(2000, 8));
    const auto packed = app::ConvertTable(table, app::TableEncoding::kUnicode);
    ASSERT_TRUE(packed.ok()) << packed.errors[0].line << ": " << packed.errors[0].message;
    EXPECT_EQ(packed.packed.entries, 2000);
    // Headwords are unique and sorted, as in a real word list.
    std::string previous;
    for (size_t begin = 0; begin < table.size();) {
        const size_t end = table.find('\n', begin);
        const std::string word = table.substr(begin, table.find('\t', begin) - begin);
        ASSERT_LT(previous, word);
        previous = word;
        begin = end + 1;
    }
}

}  // namespace

namespace {

// The shipped sample dictionary packs cleanly and every entry loads.
TEST(SampleDictionary, PacksWithoutErrors) {
    const char* source = std::getenv("KOVELIN_SOURCE_DIR");
    const std::string path =
        std::string(source ? source : KOVELIN_SOURCE_DIR_FALLBACK) + "/data/dictionary.tsv";
    if (!std::filesystem::exists(path)) GTEST_SKIP() << "no sample dictionary yet";
    const auto result = app::ConvertTable(os_test::ReadText(path), app::TableEncoding::kUnicode);
    ASSERT_TRUE(result.ok()) << path << ":" << result.errors[0].line << ": "
                             << result.errors[0].message;
    EXPECT_GT(result.packed.entries, 100);
}

}  // namespace
