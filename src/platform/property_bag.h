// SPDX-License-Identifier: GPL-3.0-or-later
// What a window gives the components it hosts: a property store for saved
// settings, ambient properties, and change notification.
//
// The store holds typed values by key; keys are compared without regard to
// case, and reading a missing key gives the caller's default.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <variant>

#include "platform/font.h"
#include "platform/picture.h"

namespace platform {

using PropertyValue =
    std::variant<std::monostate, bool, int32_t, float, std::string, FontDesc, PictureRef>;

struct CaseInsensitiveLess {
    bool operator()(std::string_view a, std::string_view b) const;
    using is_transparent = void;
};

class PropertyBag {
  public:
    // The stored value, or `fallback` when the key is missing or holds a
    // value of another type.
    template <class T>
    T Read(std::string_view key, T fallback) const {
        auto it = values_.find(key);
        if (it == values_.end()) return fallback;
        if (const T* v = std::get_if<T>(&it->second)) return *v;
        return fallback;
    }

    // Writing the default removes the key, as a host saves only what differs.
    template <class T>
    void Write(std::string_view key, T value, T fallback) {
        if (value == fallback) {
            Erase(key);
            return;
        }
        values_.insert_or_assign(std::string(key), PropertyValue(std::move(value)));
    }

    // Stores the value whatever it is, for components that save every key.
    template <class T>
    void Store(std::string_view key, T value) {
        values_.insert_or_assign(std::string(key), PropertyValue(std::move(value)));
    }

    bool Contains(std::string_view key) const { return values_.find(key) != values_.end(); }
    void Erase(std::string_view key) {
        auto it = values_.find(key);
        if (it != values_.end()) values_.erase(it);
    }
    size_t size() const { return values_.size(); }
    const std::map<std::string, PropertyValue, CaseInsensitiveLess>& values() const {
        return values_;
    }

  private:
    std::map<std::string, PropertyValue, CaseInsensitiveLess> values_;
};

// The host side of a component: ambient properties and notifications.
class ComponentHost {
  public:
    virtual ~ComponentHost() = default;

    // User mode (running) versus design mode. A host that cannot answer
    // returns an error; components then assume design mode.
    virtual Result<bool> AmbientUserMode() const { return true; }
    virtual std::string AmbientDisplayName() const { return {}; }
    virtual FontDesc AmbientFont() const { return FontDesc{}; }
    // Whether the host shows the component as its default button (the one
    // Enter presses).
    virtual bool AmbientDisplayAsDefault() const { return false; }
    // A saved property changed and should be written at the next save.
    virtual void PropertyChanged(std::string_view /*key*/) {}
};

}  // namespace platform
