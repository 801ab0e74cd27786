// The credits window stepped on the virtual clock: the animation waits for
// the first tick, types at a letter every 100 ms with a click each, flashes
// the first card three times before it stays, shows the second once, the
// contact lines one by one and "Exit" only at the end; a close asked for
// while it plays is refused, and "Exit" closes the window.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "lookup/credits_window.h"
#include "platform/headless/headless_backend.h"
#include "platform/messages.h"
#include "platform/os/sound.h"

using namespace platform;

namespace {

// Counts the sounds played and posts a close to `window` at the third.
class ClosingSink : public os::SoundSink {
  public:
    ClosingSink(int* plays, HWND* window) : plays_(plays), window_(window) {}
    void Play(const os::PcmSound&) override {
        if (++*plays_ == 3 && IsWindow(*window_)) PostMessage(*window_, WM_CLOSE);
    }

  private:
    int* plays_;
    HWND* window_;
};

class CreditsWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { os::SetSoundSink(std::make_unique<ClosingSink>(&plays_, &target_)); }
    void TearDown() override { os::SetSoundSink(nullptr); }

    // Plays the credits; `inside` runs in the modal loop after the clock
    // passes the first tick, then "Exit" is clicked.
    void Play(lookup::CreditsWindow& w, const std::function<void()>& inside) {
        session_.backend().QueueStep([&] {
            session_.Advance(400);
            before_tick_ = w.events().size();
            session_.Advance(200);
            inside();
            const HWND exit = w.FindControl("lblExit")->hwnd();
            session_.Click(ClientToScreen(exit, {30, 7}));
            return true;
        });
        w.ShowModal();
    }

    std::vector<std::string> Events(const lookup::CreditsWindow& w) const {
        std::vector<std::string> out;
        for (const auto& e : w.events()) out.push_back(e.what);
        return out;
    }

    headless::HeadlessSession session_;
    int plays_ = 0;
    HWND target_{};
    size_t before_tick_ = 99;
};

TEST_F(CreditsWindowTest, TheTitleIsTypedAtALetterEvery100msWithAClickEach) {
    lookup::CreditsWindow w;
    Play(w, [&] {
        const auto& ev = w.events();
        ASSERT_GE(ev.size(), 13u);
        for (size_t i = 0; i < 12; ++i) {
            EXPECT_EQ(ev[i].what, std::string("k ") + "QIX - WANTED"[i]);
            EXPECT_EQ(ev[i].ms, 100 * i);
        }
        // Pause 500 after the title, then the first name line.
        EXPECT_EQ(ev[12].ms, 1200u + 500u);
        const auto keys = std::count_if(ev.begin(), ev.end(),
                                        [](const auto& e) { return e.what.starts_with("k "); });
        const auto reveals =
            std::count_if(ev.begin(), ev.end(), [](const auto& e) { return e.what == "r"; });
        // One click per character and 7 + 2 + 6 reveal sounds and the end:
        // every sound asked for was played.
        EXPECT_EQ(static_cast<int>(keys + reveals + 1), plays_);
        EXPECT_EQ(reveals, 15);
    });
    EXPECT_EQ(before_tick_, 0u) << "nothing happens before the first tick";
    EXPECT_FALSE(w.loaded()) << "Exit closes the window";
}

TEST_F(CreditsWindowTest, CardsFlashInTheirOrderAndExitComesAfterTheLastContactLine) {
    lookup::CreditsWindow w;
    Play(w, [&] {
        std::vector<std::string> shown;
        for (const std::string& e : Events(w))
            if (e.starts_with("show ") || e.starts_with("hide ") || e == "e") shown.push_back(e);
        const std::vector<std::string> expected{
            "show picRavo",   "hide picRavo",   "show picRavo",
            "hide picRavo",   "show picRavo",   "hide picRavo",
            "show picRavo",   "show picPelin",  "show Label1(0)",
            "show Label1(1)", "show Label1(2)", "show Label1(3)",
            "show Label1(4)", "show Label1(5)", "e",
            "show lblExit"};
        EXPECT_EQ(shown, expected);
        EXPECT_TRUE(w.FindControl("picRavo")->visible());
        EXPECT_TRUE(w.FindControl("lblExit")->visible());
    });
}

TEST_F(CreditsWindowTest, ACloseAskedForWhileItPlaysIsRefusedAndTheAnimationRunsToTheEnd) {
    lookup::CreditsWindow w;
    w.Load();
    target_ = w.hwnd();
    Play(w, [&] {
        EXPECT_TRUE(w.loaded()) << "the close posted at the third click is refused";
        EXPECT_FALSE(w.animating());
        ASSERT_FALSE(w.events().empty());
        EXPECT_EQ(w.events().back().what, "show lblExit");
    });
    EXPECT_FALSE(w.loaded());
}

}  // namespace
