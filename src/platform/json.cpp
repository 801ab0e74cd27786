// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/json.h"

#include <cmath>
#include <cstdio>

#include "platform/preeti/preeti.h"

namespace platform {

Json& Json::Set(std::string_view key, Json value) {
    if (!is_object()) value_ = Object{};
    Object& o = std::get<Object>(value_);
    for (auto& [k, v] : o) {
        if (k == key) {
            v = std::move(value);
            return v;
        }
    }
    o.emplace_back(std::string(key), std::move(value));
    return o.back().second;
}

const Json* Json::Get(std::string_view key) const {
    const Object* o = object();
    if (!o) return nullptr;
    for (const auto& [k, v] : *o)
        if (k == key) return &v;
    return nullptr;
}

Json& Json::Push(Json value) {
    if (!is_array()) value_ = Array{};
    Array& a = std::get<Array>(value_);
    a.push_back(std::move(value));
    return a.back();
}

namespace {

// A JSON string. Well-formed UTF-8 is copied as it is; every byte that is
// not part of a well-formed sequence (by the strict decoder: no overlong
// forms, surrogates, values past U+10FFFF, stray or missing continuation
// bytes) is written as \u00XX with XX the byte, its Latin-1 reading. The
// output is always valid UTF-8. Valid characters U+0080..U+00FF are written
// as UTF-8, never escaped, so an escape in that range always stands for one
// raw byte.
void Quote(std::string& out, const std::string& s) {
    out += '"';
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        char buf[8];
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
            ++i;
        } else if (c == '\n') {
            out += "\\n";
            ++i;
        } else if (c == '\r') {
            out += "\\r";
            ++i;
        } else if (c == '\t') {
            out += "\\t";
            ++i;
        } else if (c < 0x20 || c == 0x7F) {
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
            ++i;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
        } else if (char32_t cp = 0; size_t n = preeti::DecodeUtf8(s, i, &cp)) {
            out.append(s, i, n);
            i += n;
        } else {
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
            ++i;
        }
    }
    out += '"';
}

}  // namespace

void Json::DumpTo(std::string& out, int indent, int depth) const {
    auto newline = [&](int d) {
        if (indent <= 0) return;
        out += '\n';
        out.append(static_cast<size_t>(indent * d), ' ');
    };
    if (std::holds_alternative<std::monostate>(value_)) {
        out += "null";
    } else if (const bool* b = std::get_if<bool>(&value_)) {
        out += *b ? "true" : "false";
    } else if (const int64_t* i = std::get_if<int64_t>(&value_)) {
        out += std::to_string(*i);
    } else if (const double* d = std::get_if<double>(&value_)) {
        if (!std::isfinite(*d)) {
            out += "null";
        } else {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%.6g", *d);
            out += buf;
        }
    } else if (const std::string* s = std::get_if<std::string>(&value_)) {
        Quote(out, *s);
    } else if (const Array* a = std::get_if<Array>(&value_)) {
        if (a->empty()) {
            out += "[]";
            return;
        }
        out += '[';
        for (size_t k = 0; k < a->size(); ++k) {
            if (k) out += ',';
            newline(depth + 1);
            (*a)[k].DumpTo(out, indent, depth + 1);
        }
        newline(depth);
        out += ']';
    } else if (const Object* o = std::get_if<Object>(&value_)) {
        if (o->empty()) {
            out += "{}";
            return;
        }
        out += '{';
        for (size_t k = 0; k < o->size(); ++k) {
            if (k) out += ',';
            newline(depth + 1);
            Quote(out, (*o)[k].first);
            out += indent > 0 ? ": " : ":";
            (*o)[k].second.DumpTo(out, indent, depth + 1);
        }
        newline(depth);
        out += '}';
    }
}

std::string Json::Dump(int indent) const {
    std::string out;
    DumpTo(out, indent, 0);
    return out;
}

}  // namespace platform
