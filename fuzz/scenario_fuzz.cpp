// The scenario parser on arbitrary bytes: it either returns steps or throws ScenarioError,
// nothing else; an error names a line and column inside the text, and every step names the
// line it came from.
#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "platform/sim/device.h"
#include "tools/kipo-sim/scenario_parser.h"

namespace {

// Columns count bytes from 1 within the line; a place may stand one past the line's last byte
// (an error at the end of a line or of the file).
bool PlaceInside(std::string_view text, int line, int column) {
    if (line < 1 || column < 1)
        return false;
    std::size_t begin = 0;
    for (int n = 1; n < line; ++n) {
        const std::size_t feed = text.find('\n', begin);
        if (feed == std::string_view::npos)
            return false;
        begin = feed + 1;
    }
    const std::size_t end = std::min(text.find('\n', begin), text.size());
    return static_cast<std::size_t>(column) <= end - begin + 1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    sim::Device device;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const kiposim::Scenario scenario = kiposim::ParseScenario(text, "fuzz");
        for (const kiposim::Step& step : scenario.steps) {
            if (!PlaceInside(text, step.line, step.column))
                std::abort();
        }
        if (scenario.implicitStartIndex > scenario.steps.size())
            std::abort();
    } catch (const kiposim::ScenarioError& error) {
        if (!PlaceInside(text, error.Line(), error.Column()) ||
            std::string_view(error.what()).empty())
            std::abort();
    }
    return 0;
}
