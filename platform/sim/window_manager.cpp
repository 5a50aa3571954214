#include "platform/sim/window_manager.h"

#include <algorithm>

namespace sim {

namespace {

bool SameName(const WString& a, LPCWSTR b) {
    if (b == nullptr)
        return false;
    WString other(b);
    return LowerCopy(a) == LowerCopy(other);
}

// Captions compare one code unit at a time, as FindWindowW does on Windows: a surrogate pair is
// two units without case, unlike in CharLowerBuffW, which lowers the letter the pair writes.
// One unit at a time, as CharLowerBuffW(&unit, 1) folds it; ASCII, nearly every caption,
// without the call. Writes `length` folded units of `text` to `out` (which may be `text`) and
// answers their hash (FNV-1a), the caption index's key, worked out in the same pass.
std::uint64_t FoldUnits(const WCHAR* text, std::size_t length, WCHAR* out) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (std::size_t k = 0; k < length; ++k) {
        WCHAR unit = text[k];
        if (unit < 0x80) {
            if (unit >= u'A' && unit <= u'Z')
                unit = static_cast<WCHAR>(unit + (u'a' - u'A'));
        } else {
            CharLowerBuffW(&unit, 1);
        }
        out[k] = unit;
        hash = (hash ^ static_cast<std::uint64_t>(unit)) * 1099511628211ULL;
    }
    return hash;
}

std::uint64_t FoldUnits(WString& text) {
    return FoldUnits(text.data(), text.size(), text.data());
}

void Erase(std::vector<HWND>& list, HWND handle) {
    list.erase(std::remove(list.begin(), list.end(), handle), list.end());
}

} // namespace

WindowManager::WindowManager() = default;

void WindowManager::SetScreenSize(int width, int height) {
    screenWidth_ = std::max(1, width);
    screenHeight_ = std::max(1, height);
}

int WindowManager::Scale() const {
    return std::max(1, std::min(screenWidth_, screenHeight_) / 240);
}

RECT WindowManager::DefaultTopLevelRect() const {
    RECT rect{0, TaskbarHeight(), screenWidth_, screenHeight_ - MenuBarHeight()};
    if (rect.bottom < rect.top)
        rect.bottom = rect.top;
    return rect;
}

ATOM WindowManager::RegisterClass(int process, const WNDCLASSW& wndClass) {
    if (wndClass.lpszClassName == nullptr || IS_INTRESOURCE(wndClass.lpszClassName))
        return 0;
    for (const auto& existing : classes_)
        if (existing->process == process && SameName(existing->name, wndClass.lpszClassName))
            return 0;
    auto entry = std::make_unique<WindowClass>();
    entry->name = wndClass.lpszClassName;
    entry->atom = nextAtom_++;
    entry->process = process;
    entry->style = wndClass.style;
    entry->proc = wndClass.lpfnWndProc;
    entry->windowExtra = std::max(0, wndClass.cbWndExtra);
    entry->instance = wndClass.hInstance;
    entry->icon = wndClass.hIcon;
    entry->background = wndClass.hbrBackground;
    classes_.push_back(std::move(entry));
    return classes_.back()->atom;
}

bool WindowManager::UnregisterClass(int process, LPCWSTR name) {
    auto it = std::find_if(classes_.begin(), classes_.end(), [&](const auto& entry) {
        if (entry->process != process)
            return false;
        if (IS_INTRESOURCE(name))
            return entry->atom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name));
        return SameName(entry->name, name);
    });
    if (it == classes_.end())
        return false;
    classes_.erase(it);
    return true;
}

const WindowClass* WindowManager::FindClass(int process, LPCWSTR nameOrAtom) const {
    if (nameOrAtom == nullptr)
        return nullptr;
    const WindowClass* system = nullptr;
    for (const auto& entry : classes_) {
        const bool match =
            IS_INTRESOURCE(nameOrAtom)
                ? entry->atom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(nameOrAtom))
                : SameName(entry->name, nameOrAtom);
        if (!match)
            continue;
        if (entry->process == process)
            return entry.get();
        if (entry->process == 0 && system == nullptr)
            system = entry.get();
    }
    return system;
}

Window& WindowManager::Add(Window window) {
    window.handle = reinterpret_cast<HWND>(nextHandle_);
    nextHandle_ += 4;
    auto owned = std::make_unique<Window>(std::move(window));
    Window& added = *owned;
    added.needsPaint_ = false; // counted only through SetNeedsPaint
    windows_.emplace(reinterpret_cast<std::uintptr_t>(added.handle), std::move(owned));
    if (added.IsChild()) {
        // New children go below their siblings, so the first created comes first.
        if (Window* parent = Get(added.parent))
            parent->children.push_back(added.handle);
    } else {
        topLevel_.insert(topLevel_.begin(), added.handle);
        added.folded = added.caption;
        added.foldedHash = FoldUnits(added.folded);
        Index(added);
    }
    return added;
}

void WindowManager::Remove(HWND handle) {
    Window* window = Get(handle);
    if (window == nullptr)
        return;
    if (window->IsChild()) {
        if (Window* parent = Get(window->parent))
            Erase(parent->children, handle);
    } else {
        Erase(topLevel_, handle);
        Unindex(*window);
    }
    if (foreground_ == handle)
        foreground_ = nullptr;
    for (auto& [process, active] : active_)
        if (active == handle)
            active = nullptr;
    for (auto& [process, focus] : focus_)
        if (focus == handle)
            focus = nullptr;
    SetNeedsPaint(*window, false);
    queues.RemoveFor(handle);
    timers.KillAllOf(handle);
    hotKeys.RemoveWindow(handle);
    const auto key = reinterpret_cast<std::uintptr_t>(handle);
    if (LookUp& slot = recent_[Slot(key)]; slot.key == key)
        slot = LookUp{};
    windows_.erase(key);
}

Window* WindowManager::Find(HWND handle) const {
    const auto key = reinterpret_cast<std::uintptr_t>(handle);
    LookUp& slot = recent_[Slot(key)];
    if (slot.key == key) // an empty entry answers null for the null handle
        return slot.window;
    auto it = windows_.find(key);
    if (it == windows_.end())
        return nullptr; // misses are not kept: a handle is never valid later
    slot = LookUp{key, it->second.get()};
    return slot.window;
}

int WindowManager::WindowCount(int process) const {
    return static_cast<int>(
        std::count_if(windows_.begin(), windows_.end(),
                      [process](const auto& w) { return w.second->process == process; }));
}

void WindowManager::BringToTop(HWND topLevel) {
    PlaceBehind(topLevel, nullptr);
}

void WindowManager::PlaceBehind(HWND topLevel, HWND after) {
    if (std::find(topLevel_.begin(), topLevel_.end(), topLevel) == topLevel_.end() ||
        topLevel == after)
        return;
    Erase(topLevel_, topLevel);
    ++captionEpoch_;
    auto it = std::find(topLevel_.begin(), topLevel_.end(), after);
    topLevel_.insert(it == topLevel_.end() ? topLevel_.begin() : it + 1, topLevel);
}

void WindowManager::SendToBottom(HWND topLevel) {
    if (std::find(topLevel_.begin(), topLevel_.end(), topLevel) == topLevel_.end())
        return;
    Erase(topLevel_, topLevel);
    ++captionEpoch_;
    topLevel_.push_back(topLevel);
}

const std::vector<HWND>* WindowManager::Siblings(HWND handle) const {
    return const_cast<WindowManager*>(this)->MutableSiblings(handle);
}

std::vector<HWND>* WindowManager::MutableSiblings(HWND handle) {
    Window* window = Get(handle);
    if (window == nullptr)
        return nullptr;
    if (!window->IsChild())
        return &topLevel_;
    Window* parent = Get(window->parent);
    return parent == nullptr ? nullptr : &parent->children;
}

HWND WindowManager::TopLevelOf(HWND handle) const {
    const Window* window = Get(handle);
    while (window != nullptr && window->IsChild()) {
        const Window* parent = Get(window->parent);
        if (parent == nullptr)
            break;
        window = parent;
    }
    return window == nullptr ? nullptr : window->handle;
}

bool WindowManager::IsSelfOrAncestor(HWND ancestor, HWND handle) const {
    for (const Window* window = Get(handle); window != nullptr;
         window = window->IsChild() ? Get(window->parent) : nullptr)
        if (window->handle == ancestor)
            return true;
    return false;
}

RECT WindowManager::ScreenRect(HWND handle) const {
    const Window* window = Get(handle);
    if (window == nullptr)
        return RECT{};
    RECT rect = window->rect;
    for (const Window* parent = window->IsChild() ? Get(window->parent) : nullptr;
         parent != nullptr; parent = parent->IsChild() ? Get(parent->parent) : nullptr) {
        rect.left += parent->rect.left;
        rect.right += parent->rect.left;
        rect.top += parent->rect.top;
        rect.bottom += parent->rect.top;
    }
    return rect;
}

HWND WindowManager::Active(int process) const {
    auto it = active_.find(process);
    return it == active_.end() ? nullptr : it->second;
}

void WindowManager::SetActiveValue(int process, HWND window) {
    active_[process] = window;
}

HWND WindowManager::Focus(int process) const {
    auto it = focus_.find(process);
    return it == focus_.end() ? nullptr : it->second;
}

void WindowManager::SetFocusValue(int process, HWND window) {
    focus_[process] = window;
}

HWND WindowManager::NextToActivate(HWND leaving) const {
    auto usable = [&](HWND handle) {
        const Window* window = Get(handle);
        return window != nullptr && handle != leaving && !window->destroying && window->Visible() &&
               window->Enabled();
    };
    if (const Window* window = Get(leaving); window != nullptr && usable(window->owner))
        return window->owner;
    for (HWND handle : topLevel_)
        if (usable(handle))
            return handle;
    return nullptr;
}

void WindowManager::SetCaption(Window& window, WString caption) {
    const bool indexed = !window.IsChild() && Get(window.handle) == &window;
    if (indexed)
        Unindex(window);
    window.caption = std::move(caption);
    window.folded = window.caption;
    window.foldedHash = FoldUnits(window.folded);
    if (indexed)
        Index(window);
}

void WindowManager::Index(const Window& window) {
    ++captionEpoch_;
    byCaption_[window.foldedHash].push_back(window.handle);
    ++captionLengths_[std::min(window.folded.size(), captionLengths_.size() - 1)];
}

void WindowManager::Unindex(const Window& window) {
    ++captionEpoch_;
    auto it = byCaption_.find(window.foldedHash);
    if (it == byCaption_.end())
        return;
    auto at = std::find(it->second.begin(), it->second.end(), window.handle);
    if (at == it->second.end())
        return;
    it->second.erase(at);
    if (it->second.empty())
        byCaption_.erase(it);
    --captionLengths_[std::min(window.folded.size(), captionLengths_.size() - 1)];
}

HWND WindowManager::FindCaption(LPCWSTR name) {
    std::size_t length = 0;
    while (name[length] != 0)
        ++length;
    if (captionLengths_[std::min(length, captionLengths_.size() - 1)] == 0)
        return nullptr; // no caption that long: the usual answer for a long list of names
    // A program asks for the same names tick after tick: the last window found stands while
    // no caption, top-level window or z-order position has changed. Only finds are kept, in a
    // fixed buffer, so that a long list of names none of which is open pays nearly nothing.
    if (lastFound_.epoch == captionEpoch_ && lastFound_.length == length &&
        std::equal(name, name + length, lastFound_.name.begin()))
        return lastFound_.window;
    const HWND found = Look(name, length);
    if (found != nullptr && length <= lastFound_.name.size()) {
        std::copy(name, name + length, lastFound_.name.begin());
        lastFound_.length = length;
        lastFound_.window = found;
        lastFound_.epoch = captionEpoch_;
    }
    return found;
}

HWND WindowManager::Look(LPCWSTR name, std::size_t length) {
    folding_.resize(length);
    auto it = byCaption_.find(FoldUnits(name, length, folding_.data()));
    if (it == byCaption_.end())
        return nullptr;
    // Same hash: the folded captions still compare, and of several the front-most wins.
    const std::vector<HWND>& windows = it->second;
    auto same = [this](HWND handle) {
        const WString& folded = Get(handle)->folded;
        return folded.size() == folding_.size() &&
               std::equal(folded.begin(), folded.end(), folding_.begin());
    };
    if (windows.size() == 1)
        return same(windows.front()) ? windows.front() : nullptr;
    for (HWND handle : topLevel_)
        if (std::find(windows.begin(), windows.end(), handle) != windows.end() && same(handle))
            return handle;
    return nullptr;
}

HWND WindowManager::FirstToPaint(int process, FunctionRef<bool(HWND)> accept) {
    // The loop asks on every wait, and a process rarely has a shown window waiting: look at
    // its waiting windows first, and walk the z-order only to choose among several.
    HWND only = nullptr;
    int found = 0;
    for (const auto& [owner, handle] : paintPending_) {
        if (owner == process && Shown(handle) && accept(handle)) {
            only = handle;
            if (++found > 1)
                break;
        }
    }
    if (found <= 1)
        return only;
    for (HWND top : topLevel_) {
        paintSearch_.assign(1, top);
        while (!paintSearch_.empty()) {
            HWND handle = paintSearch_.back();
            paintSearch_.pop_back();
            const Window* window = Get(handle);
            if (window == nullptr || !window->Visible())
                continue;
            if (window->process == process && window->needsPaint_ && accept(handle))
                return handle;
            for (auto it = window->children.rbegin(); it != window->children.rend(); ++it)
                paintSearch_.push_back(*it);
        }
    }
    return nullptr;
}

bool WindowManager::Shown(HWND handle) const {
    for (const Window* window = Get(handle); window != nullptr; window = Get(window->parent)) {
        if (!window->Visible())
            return false;
        if (!window->IsChild())
            return true;
    }
    return false; // a child whose parent is gone is on no screen
}

void WindowManager::SetNeedsPaint(Window& window, bool needsPaint) {
    if (window.needsPaint_ == needsPaint)
        return;
    window.needsPaint_ = needsPaint;
    const std::pair<int, HWND> entry{window.process, window.handle};
    if (needsPaint)
        paintPending_.push_back(entry);
    else
        paintPending_.erase(std::find(paintPending_.begin(), paintPending_.end(), entry));
}

HWND WindowManager::FindExact(const WString& caption) const {
    for (HWND handle : topLevel_)
        if (Get(handle)->caption == caption)
            return handle;
    return nullptr;
}

} // namespace sim
