#include "tests/device/soak/soak_churn.h"

#include <algorithm>

#include "app/main_frame.h"
#include "app/switcher_app.h"
#include "platform/sim/radios.h"

namespace {

// Captions no window of the shell, the Bluetooth console or the program carries.
const char* const kWords[] = {"Inbox",       "Notes",    "Calendar",  "Tasks",
                              "Word Mobile", "Pictures", "Solitaire", "Caf\xC3\xA9 Menu"};
constexpr std::size_t kWordCount = sizeof kWords / sizeof kWords[0];
constexpr std::size_t kMostOpen = 40;
constexpr int kProcesses = 8;

} // namespace

SoakChurn::SoakChurn(sim::Device& device, std::uint64_t seed) : device_(device), state_(seed) {
    for (int i = 0; i < kProcesses; ++i)
        processes_.push_back(device_.CreateProcess(
            FromUtf8("\\Program Files\\Soak" + std::to_string(i) + "\\app.exe")));
}

std::uint64_t SoakChurn::Next() {
    // xorshift64*: the same stream on every host and standard library.
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return state_ * 0x2545F4914F6CDD1Dull;
}

void SoakChurn::Start(std::uint64_t first, std::uint64_t last) {
    last_ = last;
    device_.scheduler.At(first, [this] { Step(); });
}

void SoakChurn::Pause(bool paused) {
    paused_ = paused;
    lastChange_ = device_.Now();
}

void SoakChurn::OpenProbe(const WString& caption) {
    device_.OpenWindow(caption, processes_[0]);
    lastChange_ = device_.Now();
}

WString SoakChurn::RandomWifiEntries() {
    WString entries;
    const std::uint64_t count = Next() % 4;
    for (std::uint64_t i = 0; i < count; ++i) {
        entries += TEXT(";#w");
        entries += FromUtf8(kWords[Next() % kWordCount]);
    }
    return entries;
}

void SoakChurn::Fail(const std::string& what) {
    if (failures_++ == 0)
        firstFailure_ = "at " + std::to_string(device_.Now()) + " ms: " + what;
}

WString SoakChurn::RandomCaption() {
    const std::uint64_t kind = Next() % 100;
    if (Next() % 150 == 0) {
        // Long captions, up to the 64,000 code units a caption may reach here.
        ++longCaptions_;
        longOpen_ = true;
        WString text(static_cast<std::size_t>(1000 + Next() % 63001), u'x');
        for (std::size_t i = 0; i < text.size(); i += 1 + Next() % 500)
            text[i] = static_cast<WCHAR>(Next() % 0x10000);
        return text;
    }
    const WString word = FromUtf8(kWords[Next() % kWordCount]);
    if (kind < 30)
        return word;
    if (kind < 60)
        return word + TEXT(" ") + FromUtf8(std::to_string(Next() % 1000));
    if (kind < 65)
        return WString();
    if (kind < 90) {
        WString text;
        const std::uint64_t length = 1 + Next() % 64;
        for (std::uint64_t i = 0; i < length; ++i)
            text.push_back(static_cast<WCHAR>(Next() % 0x10000));
        return text;
    }
    // A lone high and a lone low surrogate, then a NUL with text after it.
    WString text = word;
    text.push_back(static_cast<WCHAR>(0xD800 + Next() % 0x400));
    text += TEXT(" - ");
    text.push_back(static_cast<WCHAR>(0xDC00 + Next() % 0x400));
    text.push_back(WCHAR(0));
    text += TEXT("after the NUL");
    return text;
}

bool SoakChurn::OwnedByChurn(const WString& caption) const {
    HWND window = device_.windows.FindExact(caption);
    if (window == nullptr)
        return false;
    const int process = device_.windows.Get(window)->process;
    return std::find(processes_.begin(), processes_.end(), process) != processes_.end();
}

void SoakChurn::OpenOne() {
    const WString caption = RandomCaption();
    const int process = processes_[Next() % processes_.size()];
    const bool behind = Next() % 3 == 0;
    HWND window =
        behind ? device_.OpenWindowBehind(caption, process) : device_.OpenWindow(caption, process);
    if (window == nullptr) {
        Fail("a window could not be opened");
        return;
    }
    ++opened_;
    open_.push_back(caption.substr(0, caption.find(WCHAR(0))));
}

void SoakChurn::CloseAt(std::size_t index) {
    const WString caption = open_[index];
    if (!OwnedByChurn(caption))
        return; // another program's window has that caption in front of ours
    if (!device_.Close(caption)) {
        Fail("close found no window");
        return;
    }
    open_.erase(open_.begin() + static_cast<std::ptrdiff_t>(index));
}

void SoakChurn::RenameAt(std::size_t index) {
    const WString caption = open_[index];
    if (!OwnedByChurn(caption))
        return;
    const WString renamed = RandomCaption();
    if (!device_.Rename(caption, renamed)) {
        Fail("rename found no window");
        return;
    }
    // The window renamed is the first in z-order with the old caption: whichever instance the
    // list holds, the multiset of captions changes the same way.
    open_[index] = renamed.substr(0, renamed.find(WCHAR(0)));
}

void SoakChurn::CheckLastCaption() {
    // Only once a tick has run since the last change of the screen.
    if (device_.Now() < lastChange_ + 200)
        return;
    auto* app = dynamic_cast<CSwitcherApp*>(AfxGetApp());
    CMainFrame* frame = app != nullptr ? app->MainFrame() : nullptr;
    if (frame == nullptr) {
        Fail("the program is not running");
        return;
    }
    WString expected;
    HWND foreground = device_.windows.Foreground();
    if (foreground != nullptr && device_.windows.Get(foreground) != nullptr)
        expected = LowerCopy(device_.windows.Get(foreground)->caption);
    ++captionsChecked_;
    if (frame->LastCaption != expected)
        Fail("the last tick read \"" + ToUtf8(frame->LastCaption.substr(0, 80)) +
             "\", the foreground caption is \"" + ToUtf8(expected.substr(0, 80)) + "\"");
}

void SoakChurn::Step() {
    const std::uint64_t now = device_.Now();
    if (now + 200 <= last_)
        device_.scheduler.At(now + 200 + Next() % 9800, [this] { Step(); });
    if (paused_)
        return;
    CheckLastCaption();
    lastChange_ = now;
    if (longOpen_) {
        // A long caption stays a few seconds: the next step closes every one open.
        longOpen_ = false;
        for (std::size_t i = open_.size(); i-- > 0;)
            if (open_[i].size() >= 1000)
                CloseAt(i);
        return;
    }
    const std::uint64_t action = Next() % 100;
    if (open_.empty() || (action < 35 && open_.size() < kMostOpen)) {
        OpenOne();
    } else if (action < 60 || open_.size() >= kMostOpen) {
        CloseAt(Next() % open_.size());
    } else if (action < 75) {
        RenameAt(Next() % open_.size());
    } else if (action < 90) {
        const WString& caption = open_[Next() % open_.size()];
        if (OwnedByChurn(caption) && !device_.Front(caption))
            Fail("front found no window");
    } else if (action < 93) {
        device_.Front(TEXT("Desktop"));
    } else if (action < 95) {
        device_.NoForeground();
    } else {
        ++handSwitches_;
        if (Next() % 2 == 0)
            sim::UserSwitchBluetooth(device_, Next() % 2 == 0);
        else
            sim::UserSwitchWifi(device_, Next() % 2 == 0);
    }
}
