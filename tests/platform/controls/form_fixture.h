// SPDX-License-Identifier: GPL-3.0-or-later
// A headless window system with one shown form, plus the helpers the
// control tests share: screen points of a control's client pixels and the
// colour a control's client pixel shows on the composed window.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/controls/form.h"
#include "platform/headless/headless_backend.h"
#include "platform/text.h"
#include "platform/window.h"

namespace controls_test {

using namespace platform;
using namespace platform::controls;

constexpr Color kFormColor = Rgb(200, 40, 40);

// 12 points is 16 pixels: every byte 8 pixels wide, lines 16 high, glyph
// boxes 7 x 13.
inline FontRef TestFont() {
    FontDesc d;
    d.name = kTestFontName;
    d.size = 12;
    return MakeFont(d);
}

class FormTest : public ::testing::Test {
  protected:
    void SetUp() override {
        FormOptions o;
        o.name = "frmTest";
        o.caption = "Test";
        o.position = StartUpPosition::kManual;
        o.left = 40;
        o.top = 30;
        o.client_width = 320;
        o.client_height = 240;
        o.back_color = kFormColor;
        form = std::make_unique<Form>(o);
        form->Load();
        form->Show();
        DoEvents();
    }
    void TearDown() override { form.reset(); }

    Point Screen(const Control& c, int32_t x, int32_t y) const {
        return ClientToScreen(c.hwnd(), {x, y});
    }
    // The colour at a client pixel of a control, as the composed form shows it.
    Color PixelOf(const Control& c, int32_t x, int32_t y) {
        Surface s = RenderWindow(form->hwnd());
        Point in_form = MapWindowPoint(c.hwnd(), form->hwnd(), {x, y});
        Point at = in_form + GetClientAreaInWindow(form->hwnd()).top_left();
        return s.pixel(at.x, at.y);
    }

    headless::HeadlessSession session;
    std::unique_ptr<Form> form;
    std::vector<std::string> log;
};

}  // namespace controls_test
