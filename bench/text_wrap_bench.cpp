// SPDX-License-Identifier: GPL-3.0-or-later
// Word-wrapped drawing of very long definition lines, the way a label draws
// them (DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS), with the real font
// engine, in "OrvPreeti" 14.25 pt, into a column 360 pixels wide.
//
// Two kinds of line, each at 256 KB and at 1 MB so that linear growth shows
// as a factor of four: a line without blanks made of conjunct syllables
// (half forms, ready-made conjuncts, rakar, reph, short i, vowel signs and
// nasal marks: what the shaper works hardest on), where every line break
// falls inside the one endless word; and a line of ordinary words taken
// from dictionary definitions. The "cold" case starts each run with a new
// engine, so every syllable is shaped again. Latin text, shaped whole rather
// than by syllable, takes the slower path of checking each line's width on
// its own; it is measured in "Arial" at 64 KB and 256 KB.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/dc.h"
#include "platform/preeti/preeti.h"
#include "platform/surface.h"
#include "platform/text/font_engine.h"

namespace {

using namespace platform;

constexpr uint32_t kFormat = DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;
constexpr Rect kColumn{20, 10, 380, 590};  // 360 pixels wide

class Random {
  public:
    uint32_t Next(uint32_t below) {
        state_ = state_ * 6364136223846793005u + 1442695040888963407u;
        return static_cast<uint32_t>(state_ >> 33) % below;
    }

  private:
    uint64_t state_ = 42;
};

// A thousand different conjunct syllables, more than the sample dictionary
// uses in all its entries (about 600), drawn at random: the run cache has to
// hold them all.
std::vector<std::string> ConjunctSyllables() {
    const char* halves[] = {"S", "G", "D", "K", "T", "U", "R", "H", "A", "N",
                            "Z", "X", "J", "Y", "W", "V", ":", "i", "E", "0"};
    const char* bases[] = {"s", "t", "k", "g", "d", "o", "j",    "n",    "/",    "a",
                           "w", "b", "x", ";", "r", "h", "u",    "y",    "z",    "q",
                           "Q", "1", "4", ">", "2", "B", "\xCD", "\xCB", "\xA7", "\x95"};
    const char* signs[] = {"", "f", "L", "'", "\"", "]", "}", "f]", "[", "f}"};
    const char* after[] = {"", "", "{", "+", "F", "f{"};
    Random random;
    std::vector<std::string> out;
    while (out.size() < 1000) {
        std::string s;
        const bool short_i = random.Next(4) == 0;
        if (short_i) s += 'l';
        const uint32_t halves_count = 1 + random.Next(2);
        for (uint32_t k = 0; k < halves_count; ++k) s += halves[random.Next(std::size(halves))];
        s += bases[random.Next(std::size(bases))];
        if (random.Next(5) == 0) s += '|';
        if (!short_i) s += signs[random.Next(std::size(signs))];
        s += after[random.Next(std::size(after))];
        out.push_back(std::move(s));
    }
    return out;
}

std::string LineWithoutBlanks(size_t bytes) {
    static const std::vector<std::string> syllables = ConjunctSyllables();
    Random random;
    std::string out;
    while (out.size() < bytes) out += syllables[random.Next(syllables.size())];
    return out;
}

std::string LineOfWords(size_t bytes) {
    static const char* kDefinitions[] = {
        "उज्यालो नभएको. प्रकाश नभएको अवस्था; अन्धकार.",
        "थकाइ मेटाउन लिइने विश्राम. सुख, चैन.",
        "मानिसको भीड वा हल्ला नभएको शान्त ठाउँ.",
        "पढ्नका लागि लेखिएका वा छापिएका पानाहरू एकै ठाउँ बाँधिएको वस्तु; पुस्तक.",
        "चियाको पात उमालेर बनाइने पेय. त्यो पात दिने बोट.",
        "चारैतिर पानीले घेरिएको जमिन; द्वीप.",
        "एउटै आमाबुबाबाट आफूभन्दा पहिले जन्मेकी छोरी. उमेरमा ठूली महिलालाई गरिने आदरको सम्बोधन.",
        "वरपरको जमिनभन्दा निकै अग्लो उठेको भूभाग; पर्वत.",
        "खाने र बोल्ने अङ्ग. कुनै भाँडो वा प्वालको खुला भाग, जस्तै बोतलको मुख.",
        "जीवको हात, खुट्टा, टाउको आदि सबै अङ्ग मिलेको रूप; देह.",
        "चिसोले पानी जमेर आकाशबाट झर्ने सेता कण.",
        "कुनै पूरा वस्तुको एक भाग; हिस्सा. पैतृक सम्पत्तिमा पाउने भाग.",
    };
    std::vector<std::string> words;
    for (const char* definition : kDefinitions) {
        const std::optional<std::string> preeti = preeti::FromUnicode(definition);
        if (!preeti) continue;
        size_t at = 0;
        while (at < preeti->size()) {
            size_t end = preeti->find(' ', at);
            if (end == std::string::npos) end = preeti->size();
            if (end > at) words.push_back(preeti->substr(at, end - at));
            at = end + 1;
        }
    }
    Random random;
    std::string out;
    while (out.size() < bytes) {
        if (!out.empty()) out += ' ';
        out += words[random.Next(words.size())];
    }
    return out;
}

void Wrap(benchmark::State& state, const std::string& text, bool cold,
          const FontDesc& font = FontDesc{"OrvPreeti", 14.25f}) {
    text::InstallFontEngine();
    Surface surface(400, 600, 0xFFFFFF);
    DC dc(surface);
    dc.SetFont(font);
    int32_t height = 0;
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            InstallTextEngine(text::MakeFontEngine());
            state.ResumeTiming();
        }
        Rect r = kColumn;
        height = dc.DrawText(text, r, kFormat);
        benchmark::DoNotOptimize(height);
    }
    const int32_t line = static_cast<int32_t>(dc.GetTextMetrics().height + 0.5f);
    state.counters["lines"] = line > 0 ? height / line : 0;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}

void BM_WrapLineWithoutBlanks(benchmark::State& state) {
    Wrap(state, LineWithoutBlanks(static_cast<size_t>(state.range(0))), false);
}
BENCHMARK(BM_WrapLineWithoutBlanks)->Arg(256 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

void BM_WrapLineWithoutBlanksCold(benchmark::State& state) {
    Wrap(state, LineWithoutBlanks(static_cast<size_t>(state.range(0))), true);
}
BENCHMARK(BM_WrapLineWithoutBlanksCold)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

void BM_WrapLineOfWords(benchmark::State& state) {
    Wrap(state, LineOfWords(static_cast<size_t>(state.range(0))), false);
}
BENCHMARK(BM_WrapLineOfWords)->Arg(256 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

void BM_WrapLatinLineOfWords(benchmark::State& state) {
    const char* words[] = {"the",  "quick", "brown", "fox",    "jumps",      "over",        "a",
                           "lazy", "dog;",  "Wave",  "AVAWAY", "dictionary", "definitions."};
    Random random;
    std::string text;
    while (text.size() < static_cast<size_t>(state.range(0))) {
        if (!text.empty()) text += ' ';
        text += words[random.Next(std::size(words))];
    }
    Wrap(state, text, false, FontDesc{"Arial", 12.0f});
}
BENCHMARK(BM_WrapLatinLineOfWords)->Arg(64 << 10)->Arg(256 << 10)->Unit(benchmark::kMillisecond);

// The layout alone: DT_CALCRECT measures the same lines without drawing.
void BM_MeasureLineWithoutBlanks(benchmark::State& state) {
    text::InstallFontEngine();
    const std::string text = LineWithoutBlanks(static_cast<size_t>(state.range(0)));
    Surface surface(1, 1, 0xFFFFFF);
    DC dc(surface);
    dc.SetFont(FontDesc{"OrvPreeti", 14.25f});
    for (auto _ : state) {
        Rect r = kColumn;
        benchmark::DoNotOptimize(dc.DrawText(text, r, kFormat | DT_CALCRECT));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_MeasureLineWithoutBlanks)->Arg(256 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
