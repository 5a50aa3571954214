// The .reg loader on arbitrary bytes: it either loads or names an error; what it loads saves
// and loads again to the same text.
#include <cstdlib>
#include <string>

#include "platform/sim/device.h"
#include "platform/sim/reg_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    sim::Device device;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    sim::RegFileError error;
    if (!sim::LoadRegText(device.registry, bytes, &error)) {
        if (error.message.empty())
            std::abort();
        return 0;
    }
    std::string saved, problem;
    if (!sim::SaveRegText(device.registry, &saved, &problem))
        return 0; // a name the format cannot hold is reported, not written
    sim::Device again;
    sim::RegFileError againError;
    if (!sim::LoadRegText(again.registry, saved, &againError))
        std::abort();
    std::string resaved;
    if (!sim::SaveRegText(again.registry, &resaved, &problem) || resaved != saved)
        std::abort();
    return 0;
}
