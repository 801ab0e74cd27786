// SPDX-License-Identifier: GPL-3.0-or-later
// The INI-style settings file: escaping, a strict parser that tells a file it
// understands from one it does not, and the atomic save.
#include "platform/os/settings.h"

#include <fcntl.h>
#include <limits.h>
#include <pwd.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/os/files.h"

namespace platform::os {
namespace {

constexpr int kMaxCorruptCopies = 100;

struct Entry {
    std::string key;
    std::string value;
};

struct Section {
    std::string name;
    std::vector<Entry> entries;
};

struct Document {
    std::vector<Section> sections;
};

char FoldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    }
    return true;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

Section* FindSection(Document& doc, std::string_view name) {
    for (Section& section : doc.sections) {
        if (SameName(section.name, name)) return &section;
    }
    return nullptr;
}

Entry* FindEntry(Section& section, std::string_view key) {
    for (Entry& entry : section.entries) {
        if (SameName(entry.key, key)) return &entry;
    }
    return nullptr;
}

// Repeated sections are merged and a repeated key keeps its last value, which
// is what a person editing the file by hand would expect.
void Put(Document& doc, std::string_view section_name, std::string_view key,
         std::string_view value) {
    Section* section = FindSection(doc, section_name);
    if (!section) {
        doc.sections.push_back(Section{std::string(section_name), {}});
        section = &doc.sections.back();
    }
    if (Entry* entry = FindEntry(*section, key)) {
        entry->value = std::string(value);
    } else {
        section->entries.push_back(Entry{std::string(key), std::string(value)});
    }
}

Result<Document> Parse(std::string_view text) {
    const Error corrupt = MakeError(ErrorCode::kFileIo, "settings file is not readable text");
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    Document doc;
    std::string current_section;
    bool in_section = false;
    while (!text.empty()) {
        const size_t newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        line = TrimBlanks(line);
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.front() == '[') {
            if (line.back() != ']' || line.size() < 2) return corrupt;
            auto name = UnescapeSettingText(TrimBlanks(line.substr(1, line.size() - 2)));
            if (!name) return corrupt;
            current_section = *name;
            in_section = true;
            if (!FindSection(doc, current_section)) doc.sections.push_back({current_section, {}});
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos || !in_section) return corrupt;
        auto key = UnescapeSettingText(TrimBlanks(line.substr(0, equals)));
        auto value = UnescapeSettingText(TrimBlanks(line.substr(equals + 1)));
        if (!key || !value) return corrupt;
        Put(doc, current_section, *key, *value);
    }
    return doc;
}

std::string Serialize(const Document& doc) {
    std::string text = "; Kovelin settings. Bytes the format cannot hold are written as \\xNN.\n";
    for (const Section& section : doc.sections) {
        text += "\n[" + EscapeSettingText(section.name) + "]\n";
        for (const Entry& entry : section.entries) {
            text += EscapeSettingText(entry.key);
            text += '=';
            text += EscapeSettingText(entry.value);
            text += '\n';
        }
    }
    return text;
}

// Application names become file names: keep plain characters, encode the
// rest, and never start with '.' (hidden files, "..").
std::string FileNameFor(std::string_view app) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string name;
    for (size_t i = 0; i < app.size(); ++i) {
        const auto c = static_cast<unsigned char>(app[i]);
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_' || c == ' ' ||
                           (c == '.' && i > 0);
        if (plain) {
            name += static_cast<char>(c);
        } else {
            name += '%';
            name += kHex[c >> 4];
            name += kHex[c & 15];
        }
    }
    return name + ".ini";
}

Status MakeFolders(const std::string& folder) {
    if (folder.empty()) return MakeError(ErrorCode::kPathNotFound, "no settings folder");
    for (size_t pos = 1; pos <= folder.size(); ++pos) {
        if (pos != folder.size() && folder[pos] != '/') continue;
        const std::string prefix = folder.substr(0, pos);
        if (::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) {
            return MakeError(ErrorCode::kPathNotFound,
                             "cannot create " + prefix + ": " + std::strerror(errno));
        }
    }
    return Status::Ok();
}

// Renames a file we cannot understand to "<file>.corrupt-N" without ever
// replacing an earlier kept copy.
Status KeepAside(const std::string& path) {
    for (int n = 1; n <= kMaxCorruptCopies; ++n) {
        const std::string aside = path + ".corrupt-" + std::to_string(n);
        if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0) {
            return Status::Ok();
        }
        if (errno == EEXIST) continue;
        if (errno != EINVAL && errno != ENOSYS) break;
        // The file system cannot refuse to replace; check by hand instead.
        struct stat st {};
        if (::lstat(aside.c_str(), &st) == 0) continue;
        if (::rename(path.c_str(), aside.c_str()) == 0) return Status::Ok();
        break;
    }
    return MakeError(ErrorCode::kFileIo, "cannot keep the unreadable settings file " + path);
}

// The file a save of `path` replaces: `path` itself, or the file at the end
// of the symbolic links starting there (which need not exist yet).
Result<std::string> FollowLinks(const std::string& path) {
    constexpr int kMaxLinks = 40;  // the kernel's own limit
    std::string current = path;
    for (int i = 0; i <= kMaxLinks; ++i) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        std::vector<char> target(PATH_MAX);
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n <= 0 || static_cast<size_t>(n) >= target.size()) break;
        const std::string next(target.data(), static_cast<size_t>(n));
        if (next.front() == '/') {
            current = next;
        } else {
            const size_t slash = current.rfind('/');
            current =
                (slash == std::string::npos ? std::string() : current.substr(0, slash + 1)) + next;
        }
    }
    return MakeError(ErrorCode::kFileIo, "cannot follow the symbolic link " + path);
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_dir && found->pw_dir[0] == '/') {
        return found->pw_dir;
    }
    return {};
}

}  // namespace

std::string EscapeSettingText(std::string_view raw) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        const auto c = static_cast<unsigned char>(raw[i]);
        // Edge spaces would be trimmed away by the reader.
        const bool edge_space = c == ' ' && (i == 0 || i + 1 == raw.size());
        if (c == '\\') {
            out += "\\\\";
        } else if (c < 0x20 || c >= 0x7F || edge_space || std::strchr("=[];#", c)) {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

Result<std::string> UnescapeSettingText(std::string_view escaped) {
    const Error bad = MakeError(ErrorCode::kFileIo, "malformed escape in settings text");
    std::string out;
    out.reserve(escaped.size());
    for (size_t i = 0; i < escaped.size(); ++i) {
        const auto c = static_cast<unsigned char>(escaped[i]);
        // Raw control bytes (a tab excepted) only appear in binary garbage.
        if (c < 0x20 && c != '\t') return bad;
        if (c != '\\') {
            out += static_cast<char>(c);
            continue;
        }
        if (i + 1 < escaped.size() && escaped[i + 1] == '\\') {
            out += '\\';
            i += 1;
        } else if (i + 3 < escaped.size() && escaped[i + 1] == 'x' &&
                   HexValue(escaped[i + 2]) >= 0 && HexValue(escaped[i + 3]) >= 0) {
            out += static_cast<char>(HexValue(escaped[i + 2]) * 16 + HexValue(escaped[i + 3]));
            i += 3;
        } else {
            return bad;
        }
    }
    return out;
}

SettingsStore::SettingsStore(std::string folder, size_t max_file_bytes)
    : folder_(std::move(folder)), max_file_bytes_(max_file_bytes) {
    while (folder_.size() > 1 && folder_.back() == '/') folder_.pop_back();
}

SettingsStore SettingsStore::ForCurrentUser() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') return SettingsStore(std::string(config) + "/kovelin");
    const std::string home = HomeFolder();
    if (home.empty()) return SettingsStore(std::string());
    return SettingsStore(home + "/.config/kovelin");
}

Status SettingsStore::MakeFolder() const {
    return MakeFolders(folder_);
}

std::string SettingsStore::FilePath(std::string_view app) const {
    return folder_ + "/" + FileNameFor(app);
}

std::string SettingsStore::Get(std::string_view app, std::string_view section, std::string_view key,
                               std::string_view fallback) const {
    if (folder_.empty() || app.empty()) return std::string(fallback);
    auto text = ReadFile(FilePath(app), max_file_bytes_);
    if (!text) return std::string(fallback);
    auto doc = Parse(*text);
    if (!doc) return std::string(fallback);
    Section* found_section = FindSection(*doc, section);
    if (!found_section) return std::string(fallback);
    Entry* entry = FindEntry(*found_section, key);
    return entry ? entry->value : std::string(fallback);
}

Status SettingsStore::Save(std::string_view app, std::string_view section, std::string_view key,
                           std::string_view value) const {
    if (app.empty()) return MakeError(ErrorCode::kInvalidCall, "settings need an application");
    if (Status made = MakeFolder(); !made) return made;

    // A settings file that is a symbolic link stays one: the save replaces
    // the file it leads to, atomically in that file's folder.
    const std::string link = FilePath(app);
    const Result<std::string> resolved = FollowLinks(link);
    if (!resolved) return resolved.error();
    const std::string& path = *resolved;
    const bool linked = path != link;

    Document doc;
    auto text = ReadFile(path, max_file_bytes_);
    Result<Document> parsed = text ? Parse(*text) : Result<Document>(text.error());
    if (parsed) {
        doc = std::move(parsed.value());
    } else if (text || text.error().code != ErrorCode::kFileNotFound) {
        // Unreadable, too large or not a settings file: whatever it holds is
        // not ours to destroy. Our own file is kept aside; a file a link
        // leads to elsewhere is not ours to move either.
        if (linked) {
            return MakeError(ErrorCode::kFileIo, link + " leads to " + path +
                                                     ", which is not a settings file; it is left "
                                                     "as it is");
        }
        if (Status kept = KeepAside(path); !kept) return kept;
    }

    Put(doc, section, key, value);
    const std::string serialized = Serialize(doc);
    // The store never writes a file it would not read back.
    if (serialized.size() > max_file_bytes_) {
        return MakeError(ErrorCode::kInvalidCall, "settings file would be too large: " +
                                                      std::to_string(serialized.size()) + " bytes");
    }
    return WriteFileAtomic(path, serialized, 0600);
}

std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                       std::string_view fallback) {
    return SettingsStore::ForCurrentUser().Get(app, section, key, fallback);
}

Status SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                   std::string_view value) {
    return SettingsStore::ForCurrentUser().Save(app, section, key, value);
}

}  // namespace platform::os
