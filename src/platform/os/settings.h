// SPDX-License-Identifier: GPL-3.0-or-later
// The per-user settings store: string values addressed by application,
// section and key, kept in one INI-style text file per application.
//
// Values are arbitrary byte strings (the program stores Preeti bytes), so
// everything the text format cannot carry is escaped. Saving never puts the
// previous content at risk: the file is replaced atomically, and a file that
// cannot be understood is moved aside rather than overwritten.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/error.h"

namespace platform::os {

// Files larger than this are not read; they count as unreadable, and a save
// that would make one fails. Values and lines have no limit of their own, so
// this is the only bound on what a value may hold: far beyond any real
// setting, it keeps a damaged or hostile file from filling memory.
inline constexpr size_t kMaxSettingsFileBytes = 256 * 1024 * 1024;

class SettingsStore {
  public:
    // A store keeping "<app>.ini" files in `folder` (created with mode 0700
    // on the first save), reading none larger than `max_file_bytes`.
    explicit SettingsStore(std::string folder, size_t max_file_bytes = kMaxSettingsFileBytes);

    // The current user's store: $XDG_CONFIG_HOME/kovelin/, or
    // ~/.config/kovelin/ when that is not set.
    static SettingsStore ForCurrentUser();

    // The stored value, or `fallback` when it is missing or the file cannot
    // be read or understood. Section and key names compare without regard to
    // ASCII case.
    std::string Get(std::string_view app, std::string_view section, std::string_view key,
                    std::string_view fallback) const;

    // Stores the value. When the application's file is a symbolic link, the
    // file it leads to is replaced (atomically, in that file's folder) and
    // the link stays; that file is only replaced when it is missing or is a
    // settings file the store understands.
    Status Save(std::string_view app, std::string_view section, std::string_view key,
                std::string_view value) const;

    // Where the file for `app` lives.
    std::string FilePath(std::string_view app) const;
    // The folder, without a trailing '/'; empty when there is none.
    const std::string& folder() const { return folder_; }
    // Creates the folder (mode 0700) and any missing parents.
    Status MakeFolder() const;

  private:
    std::string folder_;
    size_t max_file_bytes_;
};

// The current user's store.
std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                       std::string_view fallback);
Status SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                   std::string_view value);

// The text escaping the file uses, exposed for the file's tests: every byte
// string maps to a single line without '=', '[', ']', ';', '#' or leading or
// trailing spaces, and back.
std::string EscapeSettingText(std::string_view raw);
// Fails on a malformed escape or a raw control byte.
Result<std::string> UnescapeSettingText(std::string_view escaped);

}  // namespace platform::os
