// The run as a timeline chart in SVG: foreground caption bands, Bluetooth and WiFi on/off
// bars, the check timer's ticks and the idle-timer resets, on one time axis.
#pragma once

#include <string>

#include "tools/kipo-sim/run_log.h"

namespace kiposim {

std::string SvgChart(const RunLog& log, const std::string& title);

// Text made safe for XML content and attribute values.
std::string XmlEscape(const std::string& text);

} // namespace kiposim
