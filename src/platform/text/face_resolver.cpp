// SPDX-License-Identifier: GPL-3.0-or-later
// The face table and the fontconfig look-up behind it.
#include "platform/text/face_resolver.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

namespace platform::text {
namespace {

struct Alias {
    std::string_view name;  // lower case
    // Families to try in order; later ones cover machines without the first.
    std::array<std::string_view, 3> families;
    // Heavy faces are drawn bold whatever the font object says.
    bool heavy = false;
};

// Liberation Sans has Arial's metrics, which keeps the small UI font ("MS
// Sans Serif") at the widths its layouts expect; DejaVu Sans is wider and
// heavier, the nearest free match for the Tahoma/Verdana family and, in
// bold, for "Arial Black".
constexpr std::array<Alias, 10> kAliases = {{
    {"arial", {"Liberation Sans", "Arimo", "DejaVu Sans"}},
    {"arial black", {"DejaVu Sans", "Liberation Sans", ""}, true},
    {"courier", {"Liberation Mono", "Cousine", "DejaVu Sans Mono"}},
    {"courier new", {"Liberation Mono", "Cousine", "DejaVu Sans Mono"}},
    {"times new roman", {"Liberation Serif", "Tinos", "DejaVu Serif"}},
    {"ms sans serif", {"Liberation Sans", "Arimo", "DejaVu Sans"}},
    {"tahoma", {"DejaVu Sans", "Liberation Sans", ""}},
    {"verdana", {"DejaVu Sans", "Liberation Sans", ""}},
    {"orvpreeti", {"Noto Sans Devanagari", "Lohit Devanagari", "Noto Serif Devanagari"}},
    {"orvsoft", {"Noto Sans Devanagari", "Lohit Devanagari", "Noto Serif Devanagari"}},
}};

const Alias* FindAlias(const std::string& key) {
    for (const Alias& a : kAliases) {
        if (a.name == key) return &a;
    }
    return nullptr;
}

bool SameNoCase(std::string_view a, std::string_view b) {
    return NormaliseFaceName(a) == NormaliseFaceName(b);
}

}  // namespace

std::string NormaliseFaceName(std::string_view name) {
    while (!name.empty() && std::isspace(static_cast<unsigned char>(name.front()))) {
        name.remove_prefix(1);
    }
    while (!name.empty() && std::isspace(static_cast<unsigned char>(name.back()))) {
        name.remove_suffix(1);
    }
    std::string out(name);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

FaceResolver::FaceResolver() : ready_(FcInit() == FcTrue) {
}

// fontconfig's global state is shared with anything else in the process, so
// it is left initialised rather than torn down here.
FaceResolver::~FaceResolver() = default;

}  // namespace platform::text

// fontconfig loses a few bytes while parsing its configuration files, every
// time, whatever its caller does. Leak-checking builds would fail every
// program that draws text, so that one known leak is suppressed.
#if defined(__SANITIZE_ADDRESS__)
#define KOVELIN_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KOVELIN_LEAK_CHECKED 1
#endif
#endif
#ifdef KOVELIN_LEAK_CHECKED
extern "C" const char* __lsan_default_suppressions() {  // NOLINT: sanitizer hook
    return "leak:libfontconfig.so\n";
}
#endif

namespace platform::text {

std::optional<FaceFile> FaceResolver::Resolve(std::string_view name, bool bold, bool italic) {
    const std::string key = NormaliseFaceName(name);
    if (key.empty() || !ready_) return std::nullopt;
    const auto cache_key = std::make_tuple(key, bold, italic);
    if (auto it = cache_.find(cache_key); it != cache_.end()) return it->second;

    std::optional<FaceFile> found;
    if (const Alias* alias = FindAlias(key)) {
        const bool want_bold = bold || alias->heavy;
        for (std::string_view family : alias->families) {
            if (family.empty()) continue;
            found = MatchFamily(std::string(family), want_bold, italic);
            if (found) break;
        }
    } else {
        found = MatchFamily(std::string(name), bold, italic);
    }
    // Names come from documents and settings; a bounded cache keeps a stream
    // of odd names from growing it without end.
    if (cache_.size() > 512) cache_.clear();
    cache_.emplace(cache_key, found);
    return found;
}

std::optional<FaceFile> FaceResolver::MatchFamily(const std::string& family, bool bold,
                                                  bool italic) {
    // fontconfig treats commas and some other characters in a family string
    // specially only when parsing names; FcPatternAddString takes it as is.
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) return std::nullopt;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) return std::nullopt;

    std::optional<FaceFile> out;
    bool family_matches = false;
    FcChar8* value = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &value) == FcResultMatch; ++i) {
        if (SameNoCase(reinterpret_cast<const char*>(value), family)) {
            family_matches = true;
            break;
        }
    }
    FcBool scalable = FcFalse;
    FcPatternGetBool(match, FC_SCALABLE, 0, &scalable);
    FcChar8* file = nullptr;
    if (family_matches && scalable == FcTrue &&
        FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file != nullptr) {
        FaceFile f;
        f.path = reinterpret_cast<const char*>(file);
        int index = 0;
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) f.index = index;
        int weight = FC_WEIGHT_REGULAR;
        FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
        int slant = FC_SLANT_ROMAN;
        FcPatternGetInteger(match, FC_SLANT, 0, &slant);
        // fontconfig's own synthesis rules mark a regular file picked for a
        // bold or italic request by raising the reported weight or slant and
        // adding "embolden" or a shear matrix; those mean "synthesise".
        FcBool embolden = FcFalse;
        FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden);
        FcMatrix* matrix = nullptr;
        const bool sheared = FcPatternGetMatrix(match, FC_MATRIX, 0, &matrix) == FcResultMatch &&
                             matrix != nullptr && matrix->xy != 0;
        f.synth_bold = bold && (weight < FC_WEIGHT_DEMIBOLD || embolden == FcTrue);
        f.synth_italic = italic && (slant == FC_SLANT_ROMAN || sheared);
        out = std::move(f);
    }
    FcPatternDestroy(match);
    return out;
}

}  // namespace platform::text
