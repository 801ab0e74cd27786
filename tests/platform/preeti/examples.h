// SPDX-License-Identifier: GPL-3.0-or-later
// Reference words in Preeti bytes and Unicode, each checked by drawing the
// bytes with the Preeti font next to the Unicode text with a Unicode font.
// Shared by the decoder, encoder and round-trip tests.
#pragma once

namespace preeti::testing {

struct Example {
    const char* preeti;
    const char* unicode;
    // The spelling the encoder writes when it differs from `preeti`.
    const char* canonical;
};

// clang-format off
inline constexpr Example kExamples[] = {
    {"\x67\x5D\x6B\x66\x6E", "नेपाल", nullptr},  // "g]kfn"
    {"\x7A\x41\x62", "शब्द", nullptr},  // "zAb"
    {"\x3B\xCD\x5D\x74\x20\x2F\x20\x6C\x72\x47\x78", "सङ्केत र चिन्ह", nullptr},  // ";Í]t / lrGx"
    {"\x6A\x30\x66\x7B\x6C\x6A\x47\x6F\x66\x3B\x73\x66\x5D\x20\x71\x6D\x64", "वर्णविन्यासको क्रम", nullptr},  // "j0f{ljGof;sf] qmd"
    {"\x3B\x44\x6B\x66\x62\x73\x4C\x6F", "सम्पादकीय", nullptr},  // ";DkfbsLo"
    {"\x64\x47\x74\x41\x6F", "मन्तब्य", nullptr},  // "dGtAo"
    {"\x3A\x6A\x3D\x63\x3D\x6B\x7C\x54\x6F\x6F", "स्व.अ.प्रत्यय", nullptr},  // ":j=c=k|Too"
    {"\x4A\x6F\x66\x73\x2F\x30\x66\x3B\x22\x71", "व्याकरणसूत्र", nullptr},  // "Jofs/0f;"q"
    {"\x63\x47\x6F\x20\x6B\x7C\x73\x66\x7A\x67\x78\xBF", "अन्य प्रकाशनहरू", nullptr},  // "cGo k|sfzgx¿"
    {"\x3B\x44\x6B\x66\x62\x73", "सम्पादक", nullptr},  // ";Dkfbs"
    {"\x6B\x7C\x73\x66\x6C\x7A\x74\x20\x73\x5B\x6C\x74", "प्रकाशित कृति", nullptr},  // "k|sflzt s[lt"
    {"\x7A\x41\x62\x73\x66\x5D\x7A", "शब्दकोश", nullptr},  // "zAbsf]z"
    {"\x6C\x73", "कि", nullptr},  // "ls"
    {"\x6C\x73\x74\x66\x61", "किताब", nullptr},  // "lstfa"
    {"\x77\x64\x7B", "धर्म", nullptr},  // "wd{"
    {"\x3A\x6A\x2F", "स्वर", nullptr},  // ":j/"
    {"\x4A\x6F\x7E\x68\x67", "व्यञ्जन", nullptr},  // "Jo~hg"
    {"\x49\x66\x5D\x71", "क्षेत्र", nullptr},  // "If]q"
    {"\x71", "त्र", nullptr},  // "q"
    {"\x31", "ज्ञ", nullptr},  // "1"
    {"\x3E\x4C", "श्री", nullptr},  // ">L"
    {"\x73\x66\x6F\x66\x7B\x6E\x6F", "कार्यालय", nullptr},  // "sfof{no"
    {"\x73\x66\x6F\x7B\x66\x6E\x6F", "कार्यालय", "\x73\x66\x6F\x66\x7B\x6E\x6F"},  // "sfo{fno"
    {"\x2F\x66\x6C\x69\x36\xAB\x6F", "राष्ट्रिय", nullptr},  // "/fli6«o"
    {"\x7A\x6C\x51\x6D", "शक्ति", nullptr},  // "zlQm"
    {"\x6C\x71\x6D\x6F\x66", "क्रिया", nullptr},  // "lqmof"
    {"\x4F\x7B\x5A\x6A\x2F", "ईश्वर", nullptr},  // "O{Zj/"
    {"\x63\x66\x7D\x69\x66\x6C\x77", "औषधि", nullptr},  // "cf}iflw"
    {"\x77\x66\x6C\x64\x7B\x73", "धार्मिक", nullptr},  // "wfld{s"
    {"\x73\x4C\x6C\x74\x7B", "कीर्ति", nullptr},  // "sLlt{"
    {"\x6B\x22\x6A\x7B", "पूर्व", nullptr},  // "k"j{"
    {"\x64\x54\x6F\x7B", "मर्त्य", nullptr},  // "dTo{"
    {"\x50\x5D\x67", "ऐन", nullptr},  // "P]g"
    {"\x70\x6D\x68\x66\x7B", "ऊर्जा", nullptr},  // "pmhf{"
    {"\x31\x66\x67", "ज्ञान", nullptr},  // "1fg"
    {"\x6C\x6A\x42\x66\x6E\x6F", "विद्यालय", nullptr},  // "ljBfno"
    {"\x61\x27\x6C\x34", "बुद्धि", nullptr},  // "a'l4"
    {"\x70\x32\x5D\x5A\x6F", "उद्देश्य", nullptr},  // "p2]Zo"
    {"\x61\x27\xB0\x66\x5D", "बुड्ढो", nullptr},  // "a'°f]"
    {"\x6C\x35\xA7\x7D", "छिट्टै", nullptr},  // "l5§}"
    {"\x6E\x95\x27", "लड्डु", nullptr},  // "n•'"
    {"\x6C\x72\xB6\x4C", "चिठ्ठी", nullptr},  // "lr¶L"
    {"\x3B\x8B", "सङ्घ", nullptr},  // ";‹"
    {"\x63\xCC", "अन्न", nullptr},  // "cÌ"
    {"\x70\xA2\x66\x36\x67", "उद्घाटन", nullptr},  // "p¢f6g"
    {"\x84\x27\x6A", "ध्रुव", nullptr},  // "„'j"
    {"\xC5\x62\x6F", "हृदय", nullptr},  // "Åbo"
    {"\x3F\x76", "रुख", nullptr},  // "?v"
    {"\xBF\x6B", "रूप", nullptr},  // "¿k"
    {"\xE7", "ॐ", nullptr},  // "ç"
    {"\x4F\x47\x9B", "इन्द्र", nullptr},  // "OG›"
    {"\x6C\x6A\xE5\x66\x67\x5C", "विद्वान्", nullptr},  // "ljåfg\"
    {"\x38\xAB\x66\x4F\x65\x2F", "ड्राइभर", nullptr},  // "8«fOe/"
    {"\x63\xCB\x7C\x5D\x68\x4C", "अङ्ग्रेजी", nullptr},  // "cË|]hL"
    {"\x78\x27\x46\x62\x7D\x67", "हुँदैन", nullptr},  // "x'Fb}g"
    {"\x35\x66\x5D\x2F\x4C", "छोरी", nullptr},  // "5f]/L"
    {"\x63\x66\x64\x66", "आमा", nullptr},  // "cfdf"
    {"\x63\x66\x5D\x37", "ओठ", nullptr},  // "cf]7"
    {"\x21\x28\x5E\x40", "१९६२", nullptr},  // "!(^@"
    {"\x6C\x6B\x6D\x74\x66", "फिता", nullptr},  // "lkmtf"
    {"\x6B\x5D\x6D", "फे", "\x6B\x6D\x5D"},  // "k]m"
    {"\x6B\x27\x6D", "फु", "\x6B\x6D\x27"},  // "k'm"
    {"\x6E\x49\x64\x4C", "लक्ष्मी", nullptr},  // "nIdL"
    {"\x6C\x67\x62\x5D\x7B\x7A\x67", "निर्देशन", nullptr},  // "lgb]{zg"
    {"\x75\x62\x66\x5D\x7B", "गर्दो", nullptr},  // "ubf]{"
    {"\x6A\x69\x66\x7B", "वर्ष", nullptr},  // "jif{"
    {"\x67\x66\x70\x46", "नाउँ", nullptr},  // "gfpF"
    {"\x61\x66\x36\x66\x5D", "बाटो", nullptr},  // "af6f]"
    {"\x61\x7C\x58\x64", "ब्रह्म", nullptr},  // "a|Xd"
    {"\x6C\x72\x58\x67", "चिह्न", nullptr},  // "lrXg"
    {"\x76\x30\x38", "खण्ड", nullptr},  // "v08"
    {"\x33\x30\x36\x66", "घण्टा", nullptr},  // "306f"
    {"\x3B\x62\x5C\x65\x66\x6A", "सद्भाव", nullptr},  // ";b\efj"
    {"\x6B\xDF", "पद्म", nullptr},  // "kß"
    {"\x6B\xDD\x66", "पट्ठा", nullptr},  // "kÝf"
    {"\x50\x3B\x5C\x3D\x50\x3B\x5C\x3D\x3B\x4C\x3D", "एस्.एस्.सी.", nullptr},  // "P;\=P;\=;L="
    {"\x64\x27\x32\x66", "मुद्दा", nullptr},  // "d'2f"
    {"\x62\x5B\x6C\x69\x36", "दृष्टि", nullptr},  // "b[li6"
    {"\x73\x5D\x20\x78\x66\x5D\x20\x3C", "के हो ?", nullptr},  // "s] xf] <"
    {"\x2D\x21\x40\x5F", "(१२)", nullptr},  // "-!@_"
    {"\xE6\x2F\x66\x64\xC6", "“राम”", nullptr},  // "æ/fdÆ"
    {"\x3B\x64\x66\x4B\x74\x20\x2E\x2E", "समाप्त ।।", nullptr},  // ";dfKt .."
    {"\x70\x62\x66\x78\x2F\x30\x66\x4D", "उदाहरणः", nullptr},  // "pbfx/0fM"
    {"\x63\xCD\x20\x4D\x20\x21\x40", "अङ्क : १२", nullptr},  // "cÍ M !@"
    {"\x70\x54\x74\x64", "उत्तम", "\x70\x51\x64"},  // "pTtd"
    {"\x73\x7C\x64", "क्रम", "\x71\x6D\x64"},  // "s|d"
};
// clang-format on

}  // namespace preeti::testing
