// SPDX-License-Identifier: GPL-3.0-or-later
#include "scenario.h"

#include <cctype>
#include <charconv>
#include <map>
#include <sstream>

#include "platform/window.h"

namespace harness {

namespace {

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return {};
    size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

bool IsInt(const std::string& s) {
    if (s.empty()) return false;
    int64_t v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && p == s.data() + s.size() && v > -100000 && v < 100000000;
}

// An output file name that stays inside the output folder: relative, with
// no ".." among its parts.
bool StaysInside(const std::string& name) {
    if (name.empty() || name.front() == '/') return false;
    size_t begin = 0;
    while (begin <= name.size()) {
        size_t end = name.find('/', begin);
        if (end == std::string::npos) end = name.size();
        if (name.compare(begin, end - begin, "..") == 0) return false;
        begin = end + 1;
    }
    return true;
}

platform::Error LineError(int line, const std::string& what) {
    return platform::MakeError(platform::ErrorCode::kInvalidCall,
                               "line " + std::to_string(line) + ": " + what);
}

}  // namespace

bool ParseKey(const std::string& name, uint32_t* vk, uint32_t* modifiers) {
    using namespace platform;
    static const std::map<std::string, uint32_t> kNames = {
        {"enter", VK_RETURN},  {"return", VK_RETURN}, {"escape", VK_ESCAPE},  {"esc", VK_ESCAPE},
        {"up", VK_UP},         {"down", VK_DOWN},     {"left", VK_LEFT},      {"right", VK_RIGHT},
        {"pageup", VK_PRIOR},  {"pagedown", VK_NEXT}, {"home", VK_HOME},      {"end", VK_END},
        {"tab", VK_TAB},       {"space", VK_SPACE},   {"backspace", VK_BACK}, {"delete", VK_DELETE},
        {"insert", VK_INSERT},
    };
    // A modifier named alone is a key of its own, held with its own bit.
    static const std::map<std::string, std::pair<uint32_t, uint32_t>> kModifierKeys = {
        {"shift", {VK_SHIFT, kModShift}},
        {"ctrl", {VK_CONTROL, kModControl}},
        {"control", {VK_CONTROL, kModControl}},
        {"alt", {VK_MENU, kModAlt}},
    };
    *modifiers = 0;
    std::string rest = name;
    while (true) {
        size_t plus = rest.find('+');
        if (plus == std::string::npos || plus + 1 >= rest.size()) break;
        std::string mod = rest.substr(0, plus);
        for (char& c : mod) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (mod == "ctrl" || mod == "control")
            *modifiers |= kModControl;
        else if (mod == "shift")
            *modifiers |= kModShift;
        else if (mod == "alt")
            *modifiers |= kModAlt;
        else
            return false;
        rest = rest.substr(plus + 1);
    }
    std::string lower = rest;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (auto it = kNames.find(lower); it != kNames.end()) {
        *vk = it->second;
        return true;
    }
    if (auto it = kModifierKeys.find(lower); it != kModifierKeys.end()) {
        *vk = it->second.first;
        return true;
    }
    if (lower.size() >= 2 && lower[0] == 'f' && IsInt(lower.substr(1))) {
        int n = std::stoi(lower.substr(1));
        if (n < 1 || n > 12) return false;
        *vk = VK_F1 + static_cast<uint32_t>(n - 1);
        return true;
    }
    if (rest.size() == 1 && std::isalnum(static_cast<unsigned char>(rest[0]))) {
        *vk = static_cast<uint32_t>(std::toupper(static_cast<unsigned char>(rest[0])));
        return true;
    }
    return false;
}

platform::Result<std::vector<Command>> ParseScenario(const std::string& text) {
    std::vector<Command> out;
    // A byte order mark from an editor is not part of the first line.
    std::istringstream in(text.starts_with("\xEF\xBB\xBF") ? text.substr(3) : text);
    std::string raw;
    int line = 0;
    while (std::getline(in, raw)) {
        ++line;
        std::string s = Trim(raw);
        if (s.empty() || s[0] == '#') continue;
        Command c;
        c.line = line;
        size_t sp = s.find_first_of(" \t");
        c.name = s.substr(0, sp);
        std::string rest = sp == std::string::npos ? "" : Trim(s.substr(sp));

        // Commands whose argument is free text keep it whole.
        if (c.name == "type" || c.name == "clipboard") {
            if (rest.empty()) return LineError(line, c.name + " needs text");
            // Only the line's own trailing blanks go; the text keeps its own.
            std::string text_arg = raw.substr(raw.find(c.name) + c.name.size());
            if (!text_arg.empty() && (text_arg[0] == ' ' || text_arg[0] == '\t'))
                text_arg.erase(0, 1);
            while (!text_arg.empty() && (text_arg.back() == '\r' || text_arg.back() == '\n'))
                text_arg.pop_back();
            // Text in double quotes is what lies between them, so blanks
            // alone can be typed: type "   ".
            const std::string quoted = Trim(text_arg);
            if (quoted.size() >= 2 && quoted.front() == '"' && quoted.back() == '"') {
                text_arg = quoted.substr(1, quoted.size() - 2);
                if (text_arg.empty()) return LineError(line, c.name + " needs text");
            }
            c.args.push_back(text_arg);
            out.push_back(c);
            continue;
        }
        if (c.name == "expect") {
            size_t sp2 = rest.find_first_of(" \t");
            if (rest.empty() || sp2 == std::string::npos)
                return LineError(line, "expect needs a path and a value");
            c.args.push_back(rest.substr(0, sp2));
            c.args.push_back(Trim(rest.substr(sp2)));
            out.push_back(c);
            continue;
        }
        std::istringstream words(rest);
        std::string w;
        while (words >> w) c.args.push_back(w);

        auto need_ints = [&](size_t n) -> platform::Status {
            if (c.args.size() != n)
                return LineError(line, c.name + " takes " + std::to_string(n) + " numbers");
            for (const auto& a : c.args)
                if (!IsInt(a)) return LineError(line, "'" + a + "' is not a whole number");
            return {};
        };
        platform::Status st;
        if (c.name == "wait") {
            st = need_ints(1);
            if (st && c.args[0][0] == '-') st = LineError(line, "wait takes a time of 0 or more");
        } else if (c.name == "click" || c.name == "rclick" || c.name == "dblclick" ||
                   c.name == "mclick" || c.name == "move" || c.name == "press" ||
                   c.name == "release") {
            st = need_ints(2);
        } else if (c.name == "drag" || c.name == "rdrag") {
            st = need_ints(4);
        } else if (c.name == "wheel") {
            st = need_ints(1);
        } else if (c.name == "key") {
            uint32_t vk = 0, mods = 0;
            if (c.args.size() != 1 || !ParseKey(c.args[0], &vk, &mods))
                st = LineError(line, "unknown key '" + rest + "'");
        } else if (c.name == "hold") {
            uint32_t vk = 0, mods = 0;
            if (c.args.size() != 2 || !ParseKey(c.args[0], &vk, &mods) || !IsInt(c.args[1]) ||
                std::stoi(c.args[1]) < 1 || std::stoi(c.args[1]) > 10000)
                st = LineError(line, "hold takes a key and a count of 1 to 10000");
        } else if (c.name == "restart") {
            if (!c.args.empty()) st = LineError(line, "restart takes nothing");
        } else if (c.name == "clipboard-image") {
            if (!c.args.empty()) st = LineError(line, "clipboard-image takes nothing");
        } else if (c.name == "shot") {
            if (c.args.empty() || c.args.size() > 2)
                st = LineError(line, "shot takes [WINDOW | screen] FILE.png");
        } else if (c.name == "state") {
            if (c.args.size() != 1) st = LineError(line, "state takes FILE.json");
        } else {
            st = LineError(line, "unknown command '" + c.name + "'");
        }
        if (st && (c.name == "shot" || c.name == "state") && !StaysInside(c.args.back())) {
            st = LineError(line, "'" + c.args.back() +
                                     "' is not a name inside the output folder (relative, no ..)");
        }
        if (!st) return st.error();
        out.push_back(c);
    }
    return out;
}

}  // namespace harness
