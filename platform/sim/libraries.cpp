#include "platform/sim/libraries.h"

#include "platform/sim/registry.h"

namespace sim {

namespace {

// Where Windows CE maps the core library.
const HMODULE kCoreLibrary = reinterpret_cast<HMODULE>(static_cast<ULONG_PTR>(0x01F60000));

} // namespace

WString FileNamePart(const WString& path) {
    const std::size_t cut = path.find_last_of(u"\\/");
    return cut == WString::npos ? path : path.substr(cut + 1);
}

HMODULE Libraries::CoreLibrary() {
    return kCoreLibrary;
}

HMODULE Libraries::ModuleNamed(const WString& name) {
    WString file = FileNamePart(name);
    const bool isPath = file.size() != name.size();
    if (isPath && !Registry::SameName(name, TEXT("\\Windows\\coredll.dll")))
        return nullptr;
    if (Registry::SameName(file, TEXT("coredll.dll")) || Registry::SameName(file, TEXT("coredll")))
        return kCoreLibrary;
    return nullptr;
}

void Libraries::Load(HMODULE module, int process) {
    ++references_[{process, module}];
}

bool Libraries::Free(HMODULE module, int process) {
    auto it = references_.find({process, module});
    if (it == references_.end() || it->second <= 0)
        return false;
    if (--it->second == 0)
        references_.erase(it);
    return true;
}

int Libraries::References(HMODULE module, int process) const {
    auto it = references_.find({process, module});
    return it == references_.end() ? 0 : it->second;
}

FARPROC Libraries::Export(HMODULE module, const std::string& name) const {
    if (module != kCoreLibrary || missing_.count(name) != 0)
        return nullptr;
    if (name == "UnregisterFunc1")
        // Through void (*)(), the one function type that converts to any other without a
        // warning; callers cast back to the real signature.
        return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&::UnregisterFunc1));
    return nullptr;
}

void Libraries::SetExportMissing(const std::string& name, bool missing) {
    if (missing)
        missing_.insert(name);
    else
        missing_.erase(name);
}

} // namespace sim
