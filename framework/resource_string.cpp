#include "framework/resource_string.h"

#include "framework/app_name.h"

WString LoadResourceString(UINT id) {
    WString buffer(256, u'\0');
    for (;;) {
        const int size = static_cast<int>(buffer.size());
        const int length = ::LoadStringW(AfxGetInstanceHandle(), id, buffer.data(), size);
        if (length <= 0)
            return WString();
        // A string that fills the buffer may have been cut: read it again into a larger one.
        if (length < size - 1 || size >= 65536) {
            buffer.resize(static_cast<std::size_t>(length));
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}
