// SPDX-License-Identifier: GPL-3.0-or-later
// A small JSON value for reports (the harness's state report, tools'
// output): objects keep insertion order so reports read and diff well.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace platform {

class Json {
  public:
    using Object = std::vector<std::pair<std::string, Json>>;
    using Array = std::vector<Json>;

    Json() = default;  // null
    Json(std::nullptr_t) {}
    Json(bool v) : value_(v) {}
    Json(int v) : value_(static_cast<int64_t>(v)) {}
    Json(int64_t v) : value_(v) {}
    Json(uint32_t v) : value_(static_cast<int64_t>(v)) {}
    Json(uint64_t v) : value_(static_cast<int64_t>(v)) {}
    Json(double v) : value_(v) {}
    Json(const char* v) : value_(std::string(v)) {}
    Json(std::string v) : value_(std::move(v)) {}
    Json(std::string_view v) : value_(std::string(v)) {}
    Json(Array v) : value_(std::move(v)) {}
    Json(Object v) : value_(std::move(v)) {}

    static Json MakeObject() { return Json(Object{}); }
    static Json MakeArray() { return Json(Array{}); }

    // Object access: sets or replaces a member.
    Json& Set(std::string_view key, Json value);
    // The member, or null when missing or not an object.
    const Json* Get(std::string_view key) const;
    Json& Push(Json value);  // appends to an array

    bool is_null() const { return std::holds_alternative<std::monostate>(value_); }
    bool is_object() const { return std::holds_alternative<Object>(value_); }
    bool is_array() const { return std::holds_alternative<Array>(value_); }
    const Array* array() const { return std::get_if<Array>(&value_); }
    const Object* object() const { return std::get_if<Object>(&value_); }
    const std::string* string() const { return std::get_if<std::string>(&value_); }
    const int64_t* integer() const { return std::get_if<int64_t>(&value_); }
    const bool* boolean() const { return std::get_if<bool>(&value_); }

    // Strings are written as UTF-8 when well-formed (by preeti::DecodeUtf8);
    // every other byte is escaped as \u00XX of the byte (its Latin-1
    // reading), so a report never holds invalid UTF-8.
    std::string Dump(int indent = 2) const;

  private:
    std::variant<std::monostate, bool, int64_t, double, std::string, Array, Object> value_;

    void DumpTo(std::string& out, int indent, int depth) const;
};

}  // namespace platform
