// SPDX-License-Identifier: GPL-3.0-or-later
// The program's start-up: the invisible start-up window, the wait window
// shown while the dictionary is unpacked, and the splash window that shows
// the loading percentage and hands over to the main window on its timer.
//
// The sequence runs inside the start-up window's load step. The main window
// is reached through the MainWindow interface, so this folder does not
// depend on the lookup window's code.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app_paths.h"
#include "app/dictionary_choice.h"
#include "app/loader.h"
#include "app/unpack.h"
#include "platform/controls/form.h"
#include "platform/controls/label.h"
#include "platform/controls/picture_box.h"
#include "platform/controls/timer.h"
#include "platform/os/single_instance.h"

namespace app {

// What the start-up needs of the main window.
class MainWindow {
  public:
    virtual ~MainWindow() = default;
    // Creates the window (hidden) and runs its load step; the store is full.
    virtual void CreateAndLoad() = 0;
    // Font, column and row count of the headword list.
    virtual void ConfigureList(const HeadwordListSetup& setup) = 0;
    virtual void Show() = 0;
};

inline constexpr const char* kWaitPictureName = "wait.bmp";
inline constexpr const char* kSplashPictureName = "splash.bmp";

// The wait and splash windows share their look: a 301 x 105 borderless
// window with a 300 x 105 picture and a percentage label.
class ProgressWindow : public platform::controls::Form {
  public:
    ProgressWindow(const std::string& name, const std::string& picture_file);

    platform::controls::Label* percent_label() const { return label_; }
    void ReportState(platform::Json& out) const override;

  protected:
    platform::controls::PictureBox* picture_ = nullptr;
    platform::controls::Label* label_ = nullptr;

  private:
    std::string picture_file_;
};

class Startup;

// The splash window's line on the dictionary: "Bundled dictionary", "Your
// own dictionary", or "Dictionary: " and the name of the file given on the
// command line.
std::string SplashDictionaryCaption(const DictionaryChoice& choice);

class SplashWindow : public ProgressWindow {
  public:
    explicit SplashWindow(Startup& startup);

    int16_t ticks() const { return ticks_; }
    void ReportState(platform::Json& out) const override;

  private:
    void OnLoad();
    void OnTimer();

    Startup& startup_;
    platform::controls::Label* dictionary_label_ = nullptr;
    platform::controls::Timer* timer_ = nullptr;
    int16_t ticks_ = 0;
};

// Work done at each of the start-up's yields (unpacking and loading) before
// the messages run; the harness moves its virtual clock on here so that
// loading takes time. Empty: none.
void SetStartupYieldHook(std::function<void()> hook);

enum class StartupResult { kRunning, kAlreadyRunning };

class Startup {
  public:
    explicit Startup(MainWindow& main);
    ~Startup();

    // The whole sequence, up to the splash window loading the dictionary.
    // kAlreadyRunning: another copy holds the lock; the message was shown
    // and the caller should end the process.
    StartupResult Run();

    bool data_loaded() const { return data_loaded_; }
    const StartupPaths& paths() const { return paths_; }
    const LoadReport& load_report() const { return load_report_; }
    const UnpackReport& unpack_report() const { return unpack_report_; }
    const DictionaryChoice& dictionary() const { return dictionary_; }
    std::string splash_percentage() const;
    SplashWindow* splash() const { return splash_.get(); }

    void ReportState(platform::Json& out) const;

  private:
    friend class SplashWindow;
    void LoadFromSplash();  // the splash window's load step
    void HandOff();         // from the splash window's timer

    MainWindow& main_;
    std::optional<platform::os::SingleInstanceLock> lock_;
    std::string lock_message_;  // why there is no lock, when there is none
    int leftover_files_removed_ = 0;
    StartupPaths paths_;
    std::string data_folder_;
    DictionaryChoice dictionary_;
    bool data_loaded_ = false;
    bool main_created_ = false;
    LoadReport load_report_;
    UnpackReport unpack_report_;
    std::string unpack_failure_;  // the message shown when nothing could be unpacked
    std::unique_ptr<platform::controls::Form> secu_;
    std::unique_ptr<ProgressWindow> wait_;
    std::unique_ptr<SplashWindow> splash_;
    // What the report tells of the windows that are gone by then.
    std::vector<std::string> splash_captions_;
    int64_t wait_shown_ms_ = -1;
    int64_t wait_closed_ms_ = -1;
    int64_t splash_ticks_at_hand_off_ = -1;
};

}  // namespace app
