// SPDX-License-Identifier: GPL-3.0-or-later
#include "hunspell_words.h"

#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "platform/preeti/preeti.h"

namespace bench {
namespace {

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    std::string field;
    while (in >> field) fields.push_back(field);
    return fields;
}

// One suffix rule of a hunspell affix file: strip, add, and the condition
// on the word's last characters.
struct Suffix {
    std::u32string strip;
    std::u32string add;
    std::vector<std::pair<bool, std::u32string>> condition;  // (negated, set); empty set: any
};

bool Meets(const std::u32string& word, const Suffix& s) {
    if (word.size() < s.condition.size() || !word.ends_with(s.strip)) return false;
    const size_t start = word.size() - s.condition.size();
    for (size_t k = 0; k < s.condition.size(); ++k) {
        const auto& [negated, set] = s.condition[k];
        if (set.empty()) continue;
        const bool in = set.find(word[start + k]) != std::u32string::npos;
        if (in == negated) return false;
    }
    return true;
}

std::vector<std::pair<bool, std::u32string>> ParseCondition(const std::u32string& text) {
    std::vector<std::pair<bool, std::u32string>> out;
    for (size_t at = 0; at < text.size();) {
        if (text[at] == U'.') {
            out.push_back({false, {}});
            ++at;
        } else if (text[at] == U'[') {
            const size_t end = text.find(U']', at);
            if (end == std::u32string::npos) return {};
            const bool negated = at + 1 < end && text[at + 1] == U'^';
            out.push_back({negated, text.substr(at + 1 + negated, end - at - 1 - negated)});
            at = end + 1;
        } else {
            out.push_back({false, std::u32string(1, text[at])});
            ++at;
        }
    }
    return out;
}

}  // namespace

std::u32string Decode(std::string_view utf8) {
    std::u32string out;
    for (size_t at = 0; at < utf8.size();) {
        char32_t cp = 0;
        const size_t n = preeti::DecodeUtf8(utf8, at, &cp);
        if (n == 0) return {};
        out.push_back(cp);
        at += n;
    }
    return out;
}

std::string Encode(const std::u32string& text) {
    std::string out;
    for (char32_t cp : text) preeti::AppendUtf8(out, cp);
    return out;
}

WordList ReadWordList(const std::string& dic_path) {
    std::string aff_path = dic_path.substr(0, dic_path.rfind('.')) + ".aff";
    std::map<std::string, std::vector<Suffix>> rules;
    std::ifstream aff(aff_path);
    std::string line;
    while (std::getline(aff, line)) {
        const std::vector<std::string> f = Fields(line);
        if (f.size() < 5 || f[0] != "SFX") continue;
        Suffix s;
        if (f[2] != "0") s.strip = Decode(f[2]);
        const std::string add = f[3].substr(0, f[3].find('/'));
        if (add != "0") s.add = Decode(add);
        s.condition = ParseCondition(Decode(f[4]));
        rules[f[1]].push_back(std::move(s));
    }
    WordList list;
    std::set<std::string> seen;
    std::ifstream dic(dic_path);
    std::getline(dic, line);  // the count
    while (std::getline(dic, line)) {
        const size_t slash = line.find('/');
        std::string word = line.substr(0, slash);
        while (!word.empty() && (word.back() == ' ' || word.back() == '\r')) word.pop_back();
        if (word.empty()) continue;
        list.words.push_back(word);
        if (slash == std::string::npos) continue;
        const std::u32string w = Decode(word);
        std::istringstream flags(line.substr(slash + 1));
        std::string flag;
        while (std::getline(flags, flag, ',')) {
            while (!flag.empty() && (flag.back() == ' ' || flag.back() == '\r')) flag.pop_back();
            for (const Suffix& s : rules[flag]) {
                if (!Meets(w, s)) continue;
                const std::string form = Encode(w.substr(0, w.size() - s.strip.size()) + s.add);
                if (seen.insert(form).second) list.forms.push_back(form);
            }
        }
    }
    return list;
}

}  // namespace bench
