// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/loanwords.h"

#include <algorithm>
#include <array>
#include <string>

namespace search {
namespace {

struct Loanword {
    std::string_view english;
    std::string_view nepali;
};

// Sorted by the English spelling.
constexpr Loanword kLoanwords[] = {
    {"account", "एकाउन्ट"},
    {"airport", "एयरपोर्ट"},
    {"army", "आर्मी"},
    {"balance", "ब्यालेन्स"},
    {"bank", "बैंक"},
    {"battery", "ब्याट्री"},
    {"bicycle", "साइकल"},
    {"biscuit", "बिस्कुट"},
    {"boot", "बुट"},
    {"bottle", "बोतल"},
    {"budget", "बजेट"},
    {"bulb", "बल्ब"},
    {"bus", "बस"},
    {"button", "बटन"},
    {"camera", "क्यामेरा"},
    {"car", "कार"},
    {"card", "कार्ड"},
    {"cash", "क्यास"},
    {"cement", "सिमेन्ट"},
    {"center", "सेन्टर"},
    {"centre", "सेन्टर"},
    {"check", "चेक"},
    {"cheque", "चेक"},
    {"chocolate", "चकलेट"},
    {"cinema", "सिनेमा"},
    {"class", "क्लास"},
    {"coat", "कोट"},
    {"coffee", "कफी"},
    {"college", "कलेज"},
    {"company", "कम्पनी"},
    {"computer", "कम्प्युटर"},
    {"conductor", "कन्डक्टर"},
    {"copy", "कपी"},
    {"cricket", "क्रिकेट"},
    {"cup", "कप"},
    {"cycle", "साइकल"},
    {"dance", "डान्स"},
    {"degree", "डिग्री"},
    {"diesel", "डिजेल"},
    {"director", "डाइरेक्टर"},
    {"doctor", "डाक्टर"},
    {"dollar", "डलर"},
    {"driver", "ड्राइभर"},
    {"drum", "ड्रम"},
    {"email", "इमेल"},
    {"engineer", "इन्जिनियर"},
    {"exam", "एक्जाम"},
    {"fashion", "फेसन"},
    {"file", "फाइल"},
    {"film", "फिल्म"},
    {"football", "फुटबल"},
    {"form", "फारम"},
    {"game", "गेम"},
    {"garage", "ग्यारेज"},
    {"gas", "ग्यास"},
    {"gate", "गेट"},
    {"glass", "गिलास"},
    {"goal", "गोल"},
    {"guitar", "गितार"},
    {"hall", "हल"},
    {"helicopter", "हेलिकप्टर"},
    {"hello", "हलो"},
    {"hero", "हिरो"},
    {"hospital", "अस्पताल"},
    {"hostel", "होस्टल"},
    {"hotel", "होटल"},
    {"injection", "इन्जेक्सन"},
    {"internet", "इन्टरनेट"},
    {"jeep", "जिप"},
    {"juice", "जुस"},
    {"keyboard", "किबोर्ड"},
    {"kilo", "किलो"},
    {"lab", "ल्याब"},
    {"laptop", "ल्यापटप"},
    {"leader", "लिडर"},
    {"library", "लाइब्रेरी"},
    {"light", "लाइट"},
    {"liter", "लिटर"},
    {"litre", "लिटर"},
    {"loan", "लोन"},
    {"machine", "मेसिन"},
    {"madam", "म्याडम"},
    {"manager", "म्यानेजर"},
    {"market", "मार्केट"},
    {"match", "म्याच"},
    {"message", "म्यासेज"},
    {"meter", "मिटर"},
    {"metre", "मिटर"},
    {"minute", "मिनेट"},
    {"mobile", "मोबाइल"},
    {"model", "मोडल"},
    {"motor", "मोटर"},
    {"mouse", "माउस"},
    {"music", "म्युजिक"},
    {"number", "नम्बर"},
    {"nurse", "नर्स"},
    {"office", "अफिस"},
    {"online", "अनलाइन"},
    {"operation", "अपरेसन"},
    {"paper", "पेपर"},
    {"party", "पार्टी"},
    {"pen", "पेन"},
    {"petrol", "पेट्रोल"},
    {"phone", "फोन"},
    {"photo", "फोटो"},
    {"piano", "पियानो"},
    {"pilot", "पाइलट"},
    {"plane", "प्लेन"},
    {"plastic", "प्लास्टिक"},
    {"plate", "प्लेट"},
    {"police", "पुलिस"},
    {"power", "पावर"},
    {"printer", "प्रिन्टर"},
    {"program", "प्रोग्राम"},
    {"programme", "प्रोग्राम"},
    {"project", "प्रोजेक्ट"},
    {"radio", "रेडियो"},
    {"report", "रिपोर्ट"},
    {"road", "रोड"},
    {"room", "रुम"},
    {"school", "स्कुल"},
    {"science", "साइन्स"},
    {"second", "सेकेन्ड"},
    {"service", "सर्भिस"},
    {"shirt", "सर्ट"},
    {"software", "सफ्टवेयर"},
    {"sorry", "सरी"},
    {"station", "स्टेसन"},
    {"style", "स्टाइल"},
    {"switch", "स्विच"},
    {"system", "सिस्टम"},
    {"table", "टेबल"},
    {"tablet", "ट्याब्लेट"},
    {"taxi", "ट्याक्सी"},
    {"team", "टिम"},
    {"television", "टेलिभिजन"},
    {"ticket", "टिकट"},
    {"toilet", "ट्वाइलेट"},
    {"tractor", "ट्र्याक्टर"},
    {"truck", "ट्रक"},
    {"video", "भिडियो"},
    {"vote", "भोट"},
    {"website", "वेबसाइट"},
};

constexpr bool Sorted() {
    for (size_t i = 1; i < std::size(kLoanwords); ++i)
        if (!(kLoanwords[i - 1].english < kLoanwords[i].english)) return false;
    return true;
}
static_assert(Sorted(), "the loanword table is sorted by its English spelling");

}  // namespace

std::string_view LoanwordSpelling(std::string_view latin) {
    std::string word;
    for (char c : latin) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c >= 'a' && c <= 'z') {
            word.push_back(c);
        } else if (c != ' ' && c != '-' && c != '\'') {
            return {};
        }
    }
    const auto at = std::lower_bound(
        std::begin(kLoanwords), std::end(kLoanwords), word,
        [](const Loanword& entry, const std::string& w) { return entry.english < w; });
    if (at == std::end(kLoanwords) || at->english != word) return {};
    return at->nepali;
}

}  // namespace search
