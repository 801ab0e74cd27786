// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup.h"

#include <cstdio>

#include "app/artwork.h"
#include "app/dictionary_store.h"
#include "platform/controls/message_box.h"
#include "platform/os/files.h"
#include "platform/os/process.h"
#include "platform/os/settings.h"
#include "platform/os/sound.h"

namespace app {

using namespace platform;
using namespace platform::controls;

namespace {

constexpr int32_t kSmallWindowWidth = 301;
constexpr int32_t kSmallWindowHeight = 105;

FormOptions SmallWindow(const std::string& name) {
    FormOptions o;
    o.name = name;
    o.caption = "Kovelin";
    o.border = BorderStyle::kNone;
    o.position = StartUpPosition::kCenterScreen;
    o.client_width = kSmallWindowWidth;
    o.client_height = kSmallWindowHeight;
    return o;
}

std::function<void()>& YieldHook() {
    static auto* hook = new std::function<void()>();
    return *hook;
}

void Yield() {
    if (YieldHook()) YieldHook()();
    DoEvents();
}

int64_t NowMs() {
    return static_cast<int64_t>(CurrentClock().NowMs());
}

}  // namespace

std::string SplashDictionaryCaption(const DictionaryChoice& choice) {
    switch (choice.source) {
        case DictionarySource::kBundled:
            return "Bundled dictionary";
        case DictionarySource::kUser:
            return "Your own dictionary";
        case DictionarySource::kCommandLine:
            break;
    }
    const size_t slash = choice.path.rfind('/');
    return "Dictionary: " +
           (slash == std::string::npos ? choice.path : choice.path.substr(slash + 1));
}

void SetStartupYieldHook(std::function<void()> hook) {
    YieldHook() = std::move(hook);
}

// --- the wait and splash windows ----------------------------------------------------

ProgressWindow::ProgressWindow(const std::string& name, const std::string& picture_file)
    : Form(SmallWindow(name)), picture_file_(picture_file) {
    on_load = [this] {
        picture_ = &Add<PictureBox>("Image1", Rect::FromXYWH(0, 0, 300, 105));
        picture_->set_visible(true);
        (void)ShowArtwork(*picture_, picture_file_);
        // The percentage sits on the picture's bottom-right corner, which
        // the pictures leave plain for it.
        label_ = &Add<Label>("lblPercent", Rect::FromXYWH(226, 84, 66, 16), "0 %");
        FontDesc f;
        f.name = "Arial";
        f.size = 9.75f;
        f.bold = true;
        label_->set_font(MakeFont(f));
        label_->set_alignment(Alignment::kRight);
        label_->set_back_style(BackStyle::kTransparent);
        label_->set_fore_color(Rgb(64, 40, 16));
        label_->set_visible(true);
    };
}

void ProgressWindow::ReportState(Json& out) const {
    if (label_) out.Set("percentage", label_->caption());
}

SplashWindow::SplashWindow(Startup& startup)
    : ProgressWindow("frmSplash", kSplashPictureName), startup_(startup) {
    auto picture_load = on_load;
    on_load = [this, picture_load] {
        picture_load();
        // Which dictionary loads, on the picture's plain right-hand side.
        dictionary_label_ = &Add<Label>("lblDictionary", Rect::FromXYWH(150, 66, 142, 14),
                                        SplashDictionaryCaption(startup_.dictionary()));
        FontDesc f;
        f.name = "Arial";
        f.size = 7.5f;
        dictionary_label_->set_font(MakeFont(f));
        dictionary_label_->set_alignment(Alignment::kRight);
        dictionary_label_->set_back_style(BackStyle::kTransparent);
        dictionary_label_->set_fore_color(Rgb(120, 84, 60));
        dictionary_label_->set_visible(true);
        // The timer counts from the window's creation and ticks whenever
        // the message loop runs, the loader's yields included.
        timer_ = &Add<Timer>("Timer1");
        timer_->on_timer = [this] { OnTimer(); };
        (void)timer_->set_interval(1000);
        timer_->set_enabled(true);
        OnLoad();
    };
}

void SplashWindow::OnLoad() {
    ShowWindow(hwnd(), SW_SHOW);
    DoEvents();
    startup_.LoadFromSplash();
}

void SplashWindow::OnTimer() {
    ++ticks_;
    if (ticks_ >= 2 && startup_.data_loaded()) {
        timer_->set_enabled(false);
        startup_.HandOff();
    }
}

void SplashWindow::ReportState(Json& out) const {
    ProgressWindow::ReportState(out);
    if (dictionary_label_) out.Set("dictionary", dictionary_label_->caption());
    out.Set("ticks", static_cast<int64_t>(ticks_));
    out.Set("data_loaded", startup_.data_loaded());
}

// --- the sequence ---------------------------------------------------------------

Startup::Startup(MainWindow& main) : main_(main) {
}

Startup::~Startup() = default;

StartupResult Startup::Run() {
    // The invisible start-up window: the sequence runs in its load step.
    FormOptions o;
    o.name = "frmSecu";
    o.border = BorderStyle::kNone;
    o.client_width = 1;
    o.client_height = 1;
    secu_ = std::make_unique<Form>(o);
    StartupResult result = StartupResult::kRunning;
    secu_->on_load = [&] {
        // 1. One copy at a time. When the lock fails for any other reason
        // the settings folder can hold no new file or no lock at all; the
        // program runs without one and its state report says why.
        auto lock = os::SingleInstanceLock::Acquire("kovelin");
        if (!lock && os::IsAlreadyRunning(lock.error())) {
            MessageBox({}, "Program Already Running!..", "Double Instance Detected!",
                       MB_OK | MB_ICONSTOP);
            result = StartupResult::kAlreadyRunning;
            return;
        }
        if (lock) {
            lock_.emplace(std::move(lock.value()));
        } else {
            lock_message_ = lock.error().message;
        }

        // 2. Paths, and what stopped runs left in our folders.
        auto temp = TempFolderPath();
        paths_ = StartupPathsFor(temp ? temp.value() : std::string());
        data_folder_ = DataFilePath("");
        if (lock_) {
            leftover_files_removed_ = RemoveLeftoverFiles(
                temp ? temp.value() : std::string(), os::SettingsStore::ForCurrentUser().folder());
        }

        // 3. The start sound, not waited for.
        os::PlaySound(DataFilePath(kStartSoundName));

        // 4. The wait window with its rounded outline.
        wait_ = std::make_unique<ProgressWindow>("frmWait", kWaitPictureName);
        wait_->Show();
        wait_shown_ms_ = NowMs();
        if (wait_->loaded()) {
            Size c = wait_->client_size();
            SetWindowRgn(wait_->hwnd(), Region::RoundRect(0, 0, c.cx, c.cy, 20, 20), true);
        }
        DoEvents();

        // 5. Unpacking the chosen dictionary. One that cannot be read is
        // named in a message, and the next in line is used.
        dictionary_ = ChooseDictionary(CommandLineDictionary(), DataFilePath(kArchiveName));
        for (const std::string& problem : dictionary_.problems) {
            std::fprintf(stderr, "kovelin: %s\n", problem.c_str());
            MessageBox({}, problem + " Kovelin uses " + dictionary_.Describe() + ".", "Kovelin",
                       MB_OK | MB_ICONEXCLAMATION);
        }
        UnpackOptions u;
        u.data_folder = data_folder_;
        u.archive_path = dictionary_.path;
        u.temp_folder = paths_.temp_folder;
        u.yield = [] { Yield(); };
        u.run = [](const std::vector<std::string>& argv, const std::string& folder, int timeout) {
            return os::RunAndWait(argv, folder, timeout);
        };
        u.folder_allows_programs = FolderAllowsPrograms;
        unpack_report_ = UnpackArchive(u);
        // Nothing to load: the reader is told why, as for a damaged
        // dictionary, rather than left with an empty list.
        unpack_failure_ = UnpackFailureMessage(unpack_report_, paths_.temp_folder);
        if (!unpack_failure_.empty()) {
            std::fprintf(stderr, "kovelin: %s\n", unpack_failure_.c_str());
            MessageBox({}, unpack_failure_, "Kovelin", MB_OK | MB_ICONEXCLAMATION);
        }

        // 6. The wait window goes.
        wait_->Unload();
        wait_closed_ms_ = NowMs();
    };
    secu_->Load();
    if (result == StartupResult::kAlreadyRunning) return result;

    // 7. The start-up window closes (it was never shown); the splash window
    // loads the dictionary in its load step.
    secu_->Unload();
    splash_ = std::make_unique<SplashWindow>(*this);
    splash_->Show();
    return StartupResult::kRunning;
}

void Startup::LoadFromSplash() {
    data_loaded_ = false;
    LoadCallbacks cb;
    cb.set_percentage = [this](const std::string& caption) {
        splash_captions_.push_back(caption);
        if (splash_ && splash_->percent_label()) splash_->percent_label()->set_caption(caption);
    };
    cb.yield = [] { Yield(); };
    cb.on_list_first_touched = [this] {
        if (!main_created_) {
            main_created_ = true;
            main_.CreateAndLoad();
        }
    };
    cb.configure_list = [this](const HeadwordListSetup& setup) { main_.ConfigureList(setup); };
    load_report_ = LoadDictionary(paths_.headword_file, paths_.definition_file, Dictionary(), cb);
    (void)os::DeleteFile(paths_.headword_file);
    (void)os::DeleteFile(paths_.definition_file);
    data_loaded_ = true;
}

void Startup::HandOff() {
    if (splash_) {
        splash_ticks_at_hand_off_ = splash_->ticks();
        splash_->Unload();
    }
    main_.Show();
}

std::string Startup::splash_percentage() const {
    if (splash_ && splash_->percent_label()) return splash_->percent_label()->caption();
    return {};
}

void Startup::ReportState(Json& out) const {
    out.Set("data_loaded", data_loaded_);
    out.Set("store_size", static_cast<int64_t>(Dictionary().size()));
    out.Set("dictionary", dictionary_.Describe());
    out.Set("unpacked_with",
            unpack_report_.method == UnpackReport::Method::kTool ? "tool" : "in-process");
    if (!unpack_report_.message.empty()) out.Set("unpack_message", unpack_report_.message);
    out.Set("unpack_failed", !unpack_failure_.empty());
    out.Set("single_instance_lock", lock_ ? "held" : lock_message_);
    out.Set("leftover_files_removed", static_cast<int64_t>(leftover_files_removed_));
    out.Set("store_text_bytes", static_cast<int64_t>(Dictionary().text_bytes()));
    Json captions = Json::MakeArray();
    for (const std::string& c : splash_captions_) captions.Push(c);
    out.Set("splash_captions", std::move(captions));
    out.Set("splash_ticks_at_hand_off", splash_ticks_at_hand_off_);
    Json wait = Json::MakeObject();
    wait.Set("shown_ms", wait_shown_ms_);
    wait.Set("closed_ms", wait_closed_ms_);
    out.Set("wait_window", std::move(wait));
}

}  // namespace app
