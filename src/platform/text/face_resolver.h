// SPDX-License-Identifier: GPL-3.0-or-later
// Turning a face name and style into a font file, through the face table
// and fontconfig.
//
// The program names fonts the way the platform it was written for did
// ("Arial", "MS Sans Serif", the Preeti faces); the face table maps those to
// freely available families. Any other name resolves only when fontconfig
// has a family of exactly that name: fontconfig would otherwise happily
// substitute some default font, and a caller asking whether a face exists
// must hear "no".
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

namespace platform::text {

struct FaceFile {
    std::string path;
    int index = 0;
    // The file has no weight or slant of its own for the request, so the
    // engine thickens or slants the outlines.
    bool synth_bold = false;
    bool synth_italic = false;
    bool operator==(const FaceFile&) const = default;
};

class FaceResolver {
  public:
    FaceResolver();
    ~FaceResolver();
    FaceResolver(const FaceResolver&) = delete;
    FaceResolver& operator=(const FaceResolver&) = delete;

    // The file for a face name in a style, or nothing when no installed
    // font answers to the name.
    std::optional<FaceFile> Resolve(std::string_view name, bool bold, bool italic);

  private:
    std::optional<FaceFile> MatchFamily(const std::string& family, bool bold, bool italic);

    std::map<std::tuple<std::string, bool, bool>, std::optional<FaceFile>> cache_;
    bool ready_ = false;
};

// Lower-cased, trimmed face name: the key of the face table.
std::string NormaliseFaceName(std::string_view name);

}  // namespace platform::text
