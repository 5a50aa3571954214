#include "platform/sim/resource_names.h"

#include "platform/sim/trace.h"

namespace sim {

std::optional<WORD> ResourceId(LPCWSTR name) {
    if (name == nullptr)
        return std::nullopt;
    if (IS_INTRESOURCE(name))
        return LOWORD(reinterpret_cast<ULONG_PTR>(name));
    if (name[0] != '#' || name[1] == 0)
        return std::nullopt;
    unsigned value = 0;
    for (const WCHAR* p = name + 1; *p != 0; ++p) {
        if (*p < '0' || *p > '9')
            return std::nullopt;
        value = value * 10 + static_cast<unsigned>(*p - '0');
        if (value > 0xFFFF)
            return std::nullopt;
    }
    return static_cast<WORD>(value);
}

std::string ResourceNameArg(LPCWSTR name) {
    if (name != nullptr && IS_INTRESOURCE(name))
        return TraceArg(static_cast<unsigned>(LOWORD(reinterpret_cast<ULONG_PTR>(name))));
    return TraceArg(name);
}

} // namespace sim
