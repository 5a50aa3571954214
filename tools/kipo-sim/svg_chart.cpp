#include "tools/kipo-sim/svg_chart.h"

#include <algorithm>
#include <cstdio>
#include <set>

namespace kiposim {

namespace {

constexpr double kLeft = 84; // room for the row labels
constexpr double kRight = 16;
constexpr double kWidth = 960;
constexpr double kPlot = kWidth - kLeft - kRight;
constexpr double kCharWidth = 6.2; // of the 11 px sans-serif labels, roughly

std::string Num(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", v);
    return buf;
}

// A pale colour per caption, stable from run to run.
std::string BandColour(const WString& caption) {
    std::uint32_t h = 2166136261u;
    for (WCHAR c : caption)
        h = (h ^ static_cast<std::uint32_t>(c)) * 16777619u;
    char buf[40];
    std::snprintf(buf, sizeof buf, "hsl(%u,55%%,82%%)", h % 360);
    return buf;
}

constexpr std::uint64_t kDay = 86400000;

// Grid step for at most ten labelled lines across the run, always a round time so every
// label is exact: clock steps up to a day, then 1, 2 or 5 times a power of ten days.
std::uint64_t GridStep(std::uint64_t span) {
    const std::uint64_t steps[] = {100,     250,     500,     1000,     2000,     5000,     10000,
                                   15000,   30000,   60000,   120000,   300000,   600000,   900000,
                                   1800000, 3600000, 7200000, 10800000, 21600000, 43200000, kDay};
    for (std::uint64_t s : steps)
        if (span / s <= 10)
            return s;
    for (std::uint64_t days = 1;; days *= 10)
        for (std::uint64_t m : {2, 5, 10})
            if (span / (days * m * kDay) <= 10)
                return days * m * kDay;
}

// A grid line's time as exactly as the grid needs it: whole days as "5d", whole seconds
// without milliseconds.
std::string AxisLabel(std::uint64_t ms, std::uint64_t step) {
    if (step % kDay == 0)
        return std::to_string(ms / kDay) + "d";
    std::string t = FormatTime(ms);
    if (step % 1000 == 0)
        t.resize(t.size() - 4);
    return t;
}

} // namespace

std::string XmlEscape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            // XML 1.0 forbids most control characters even as references.
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n')
                out += ' ';
            else
                out += c;
        }
    }
    return out;
}

std::string SvgChart(const RunLog& log, const std::string& title) {
    const std::uint64_t span = std::max<std::uint64_t>(log.EndTime(), 1);
    auto x = [&](std::uint64_t t) {
        return kLeft + kPlot * static_cast<double>(t) / static_cast<double>(span);
    };
    const double captionY = 40, captionH = 34;
    const double btY = 84, wifiY = 114, barH = 20;
    const double tickY = 146, tickH = 14;
    const double axisY = 172;
    const double height = 206;

    std::string s;
    s += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Num(kWidth) + "\" height=\"" +
         Num(height) + "\" viewBox=\"0 0 " + Num(kWidth) + " " + Num(height) +
         "\" font-family=\"sans-serif\" font-size=\"11\">\n";
    s += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    s += "<text x=\"" + Num(kLeft) + "\" y=\"20\" font-size=\"14\" font-weight=\"bold\">" +
         XmlEscape(title) + "</text>\n";
    s += "<text x=\"" + Num(kWidth - kRight) + "\" y=\"20\" text-anchor=\"end\" fill=\"#555\">" +
         XmlEscape(FormatTime(log.EndTime()) + ", " + std::to_string(log.TickCount()) + " ticks") +
         "</text>\n";

    // Grid and time axis.
    const std::uint64_t step = GridStep(span);
    for (std::uint64_t t = 0; t <= span; t += step) {
        s += "<line x1=\"" + Num(x(t)) + "\" y1=\"" + Num(captionY) + "\" x2=\"" + Num(x(t)) +
             "\" y2=\"" + Num(axisY) + "\" stroke=\"#ddd\"/>\n";
        s += "<text x=\"" + Num(x(t)) + "\" y=\"" + Num(axisY + 14) +
             "\" text-anchor=\"middle\" fill=\"#555\">" + AxisLabel(t, step) + "</text>\n";
    }

    auto rowLabel = [&](const char* label, double y) {
        s += "<text x=\"" + Num(kLeft - 8) + "\" y=\"" + Num(y) + "\" text-anchor=\"end\">" +
             label + "</text>\n";
    };
    rowLabel("foreground", captionY + captionH / 2 + 4);
    rowLabel("Bluetooth", btY + barH / 2 + 4);
    rowLabel("WiFi", wifiY + barH / 2 + 4);
    rowLabel("ticks", tickY + tickH / 2 + 4);

    // Caption bands, each labelled when the label fits; the full caption is its tooltip.
    for (const CaptionBand& band : log.Captions()) {
        double x0 = x(band.start), x1 = x(std::max(band.end, band.start));
        double w = std::max(x1 - x0, 0.5);
        std::string label = band.none ? "(no foreground)" : ToUtf8(band.caption);
        std::string fill = band.none ? "#eeeeee" : BandColour(band.caption);
        s += "<g><title>" + XmlEscape(FormatTime(band.start) + "  " + label) + "</title>";
        s += "<rect x=\"" + Num(x0) + "\" y=\"" + Num(captionY) + "\" width=\"" + Num(w) +
             "\" height=\"" + Num(captionH) + "\" fill=\"" + fill + "\" stroke=\"white\"/>";
        const std::size_t fits = static_cast<std::size_t>(std::max(0.0, (w - 6) / kCharWidth));
        if (fits >= 3) {
            WString shown = band.none ? FromUtf8(label) : band.caption;
            if (shown.size() > fits)
                shown = shown.substr(0, fits - 1) + u"\u2026";
            s += "<text x=\"" + Num(x0 + 3) + "\" y=\"" + Num(captionY + captionH / 2 + 4) + "\">" +
                 XmlEscape(ToUtf8(shown)) + "</text>";
        }
        s += "</g>\n";
    }

    // Radio bars: on in colour, off in grey.
    auto bar = [&](Radio radio, double y, const char* colour) {
        for (const RadioSegment& seg : log.Segments(radio)) {
            double x0 = x(seg.start), x1 = x(seg.end);
            s += "<rect x=\"" + Num(x0) + "\" y=\"" + Num(y) + "\" width=\"" +
                 Num(std::max(x1 - x0, 0.5)) + "\" height=\"" + Num(barH) + "\" fill=\"" +
                 (seg.on ? colour : "#e4e4e4") + "\"><title>" +
                 XmlEscape(std::string(RadioName(radio)) + (seg.on ? " on " : " off ") +
                           FormatTime(seg.start) + " - " + FormatTime(seg.end)) +
                 "</title></rect>\n";
        }
        // Who switched it, as a tooltip on a small mark at each switch.
        for (const RadioSwitch& sw : log.Switches(radio)) {
            s += "<circle cx=\"" + Num(x(sw.time)) + "\" cy=\"" + Num(y + barH / 2) +
                 "\" r=\"3\" fill=\"" + (sw.byProgram ? "#222" : "#c33") + "\"><title>" +
                 XmlEscape(FormatTime(sw.time) + "  " + RadioName(radio) +
                           (sw.on ? " on: " : " off: ") + sw.reason) +
                 "</title></circle>\n";
        }
    };
    bar(Radio::Bluetooth, btY, "#3b7dd8");
    bar(Radio::Wifi, wifiY, "#2e9e5b");

    // Ticks and idle-timer resets, one mark per pixel column at most so a day stays small.
    std::set<int> tickColumns;
    for (std::uint64_t t : log.Ticks())
        tickColumns.insert(static_cast<int>(x(t)));
    for (int column : tickColumns)
        s += "<line x1=\"" + std::to_string(column) + "\" y1=\"" + Num(tickY) + "\" x2=\"" +
             std::to_string(column) + "\" y2=\"" + Num(tickY + tickH) + "\" stroke=\"#888\"/>\n";
    std::set<int> resetColumns;
    for (std::uint64_t t : log.IdleResets())
        resetColumns.insert(static_cast<int>(x(t)));
    for (int column : resetColumns)
        s += "<circle cx=\"" + std::to_string(column) + "\" cy=\"" + Num(tickY + tickH / 2) +
             "\" r=\"3.5\" fill=\"#e08a00\"><title>idle-timer reset</title></circle>\n";

    s += "<text x=\"" + Num(kLeft) + "\" y=\"" + Num(height - 4) +
         "\" fill=\"#555\">grey lines: check-timer ticks; orange: idle-timer resets; dots: "
         "switches (black by Kipo, red by hand)</text>\n";
    s += "</svg>\n";
    return s;
}

} // namespace kiposim
