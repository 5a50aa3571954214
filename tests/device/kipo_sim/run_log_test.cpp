// The run's record: radio on-time and shares, caption bands, time formats, and the chart
// drawn from it.
#include <gtest/gtest.h>

#include "tools/kipo-sim/run_log.h"
#include "tools/kipo-sim/svg_chart.h"

using namespace kiposim;

namespace {

struct SwitchRow {
    std::uint64_t time;
    bool on;
};

struct OnTimeCase {
    int line;
    bool initiallyOn;
    std::vector<SwitchRow> switches;
    std::uint64_t end;
    std::uint64_t timeOn;
    std::size_t segments;
};

TEST(RunLog, TimeOnAndSegments) {
    const OnTimeCase cases[] = {
        {__LINE__, false, {}, 10000, 0, 1},
        {__LINE__, true, {}, 10000, 10000, 1},
        {__LINE__, false, {{2000, true}, {5000, false}}, 10000, 3000, 3},
        // A switch to the state the radio is already in changes nothing.
        {__LINE__, false, {{2000, true}, {3000, true}, {5000, false}}, 10000, 3000, 3},
        // On until the end of the run.
        {__LINE__, false, {{4000, true}}, 10000, 6000, 2},
        // Switched at time 0: no empty segment before it.
        {__LINE__, false, {{0, true}, {1000, false}}, 4000, 1000, 2},
        // Off and on again at one instant leaves one unbroken on segment.
        {__LINE__, true, {{3000, false}, {3000, true}}, 6000, 6000, 2},
        // A switch after the end of the run is not part of it.
        {__LINE__, false, {{1000, true}, {5000, false}}, 4000, 3000, 2},
    };
    for (const OnTimeCase& c : cases) {
        SCOPED_TRACE("table line " + std::to_string(c.line));
        RunLog log;
        log.Begin(WString(u"Desktop"), c.initiallyOn, false);
        for (const SwitchRow& s : c.switches)
            log.Switch(Radio::Bluetooth, s.time, s.on, true, "test");
        log.End(c.end);
        EXPECT_EQ(log.TimeOn(Radio::Bluetooth), c.timeOn);
        std::vector<RadioSegment> segments = log.Segments(Radio::Bluetooth);
        EXPECT_EQ(segments.size(), c.segments);
        // Segments tile the run without gaps or overlaps.
        std::uint64_t at = 0;
        for (const RadioSegment& s : segments) {
            EXPECT_EQ(s.start, at);
            EXPECT_GE(s.end, s.start);
            at = s.end;
        }
        EXPECT_EQ(at, c.end);
        EXPECT_EQ(log.TimeOn(Radio::Wifi), 0u);
    }
}

TEST(RunLog, CaptionBandsSkipRepeatsAndInstantChanges) {
    RunLog log;
    log.Begin(WString(u"Desktop"), false, false);
    log.Caption(1000, WString(u"Inbox"));
    log.Caption(1000, WString(u"Notes")); // "Inbox" lasted no time
    log.Caption(2000, WString(u"Notes")); // no change
    log.Caption(3000, std::nullopt);
    log.Caption(4000, WString(u"Desktop"));
    log.End(5000);
    const std::vector<CaptionBand>& bands = log.Captions();
    ASSERT_EQ(bands.size(), 4u);
    EXPECT_EQ(bands[0].caption, u"Desktop");
    EXPECT_EQ(bands[0].end, 1000u);
    EXPECT_EQ(bands[1].caption, u"Notes");
    EXPECT_EQ(bands[1].start, 1000u);
    EXPECT_EQ(bands[1].end, 3000u);
    EXPECT_TRUE(bands[2].none);
    EXPECT_EQ(bands[3].end, 5000u);
}

TEST(RunLog, Formats) {
    struct Case {
        std::uint64_t ms;
        const char* text;
    };
    const Case times[] = {
        {0, "0:00.000"},
        {1500, "0:01.500"},
        {61005, "1:01.005"},
        {3599999, "59:59.999"}, // the last moment in minutes
        {3600000, "1:00:00.000"},
        {43199ull * 60000 + 58000, "29d 23:59:58.000"}, // a month, once "43199:58.000"
        {36005999, "10:00:05.999"},
        {86399999, "23:59:59.999"},
        {86400000, "1d 00:00:00.000"},
        {3 * 86400000ull + 4 * 3600000 + 5 * 60000 + 6789, "3d 04:05:06.789"},
        {366ull * 86400000, "366d 00:00:00.000"},
        {UINT64_MAX, "213503982334d 14:25:51.615"}, // the largest time still reads whole
    };
    for (const Case& c : times)
        EXPECT_EQ(FormatTime(c.ms), c.text);
    EXPECT_EQ(FormatShare(1, 3), "33.3%");
    EXPECT_EQ(FormatShare(5, 5), "100.0%");
    EXPECT_EQ(FormatShare(5, 0), "0%");
    EXPECT_EQ(QuoteCaption(u"a\"b\\c\nd"), "\"a\\\"b\\\\c\\nd\"");
    EXPECT_EQ(QuoteCaption(WString(100, u'x'), 4), "\"xxxx\" (100 characters)");
}

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

TEST(SvgChart, DrawsBandsBarsAndTicksAsWellFormedText) {
    RunLog log;
    log.KeepTicks(true);
    log.Begin(WString(u"Desktop"), false, false);
    log.Caption(10000, WString(u"Fish & <Chips> \"menu\""));
    log.Switch(Radio::Wifi, 12000, true, true, "on-while-active list entry 1 \"fish\"");
    for (std::uint64_t t = 2000; t <= 30000; t += 1500)
        log.Tick(t);
    log.IdleReset(25000);
    log.End(30000);
    const std::string svg = SvgChart(log, "day <1>");
    EXPECT_EQ(svg.rfind("<svg ", 0), 0u);
    EXPECT_NE(svg.find("</svg>"), std::string::npos);
    // Markup characters of captions and titles are escaped, never raw.
    EXPECT_NE(svg.find("Fish &amp; &lt;Chips&gt; &quot;menu&quot;"), std::string::npos);
    EXPECT_EQ(svg.find("<Chips>"), std::string::npos);
    EXPECT_NE(svg.find("day &lt;1&gt;"), std::string::npos);
    // Every element that opens is closed.
    EXPECT_EQ(Count(svg, "<g>"), Count(svg, "</g>"));
    EXPECT_EQ(Count(svg, "<title>"), Count(svg, "</title>"));
    EXPECT_EQ(Count(svg, "<text"), Count(svg, "</text>"));
    // One tick mark per tick when they are sparse; the WiFi bar has an on segment.
    EXPECT_EQ(Count(svg, "stroke=\"#888\""), 19);
    EXPECT_NE(svg.find("WiFi on 0:12.000 - 0:30.000"), std::string::npos);
    EXPECT_EQ(Count(svg, "idle-timer reset"), 2); // the mark and the legend
}

TEST(SvgChart, ADayOfTicksStaysSmall) {
    RunLog log;
    log.KeepTicks(true);
    log.Begin(WString(u"Desktop"), false, false);
    const std::uint64_t day = 2000 + 57600ull * 1500;
    for (std::uint64_t i = 0; i < 57600; ++i)
        log.Tick(2000 + i * 1500);
    log.End(day);
    ASSERT_EQ(log.TickCount(), 57600u);
    const std::string svg = SvgChart(log, "day");
    // At most one mark per pixel column of the plot.
    EXPECT_LE(Count(svg, "stroke=\"#888\""), 900);
    EXPECT_LT(svg.size(), 200u * 1024);
}

// The time axis's labels, left to right.
std::vector<std::string> AxisLabels(const std::string& svg) {
    const std::string open = "text-anchor=\"middle\" fill=\"#555\">";
    std::vector<std::string> labels;
    for (std::size_t at = svg.find(open); at != std::string::npos; at = svg.find(open, at + 1)) {
        const std::size_t begin = at + open.size();
        labels.push_back(svg.substr(begin, svg.find('<', begin) - begin));
    }
    return labels;
}

TEST(SvgChart, AxisLabelsAreRoundTimesForEveryLength) {
    struct Case {
        std::uint64_t end;
        std::vector<std::string> labels;
    };
    const std::uint64_t day = 86400000;
    const Case cases[] = {
        {900,
         {"0:00.000", "0:00.100", "0:00.200", "0:00.300", "0:00.400", "0:00.500", "0:00.600",
          "0:00.700", "0:00.800", "0:00.900"}},
        {30000, {"0:00", "0:05", "0:10", "0:15", "0:20", "0:25", "0:30"}},
        {5 * 3600000,
         {"0:00", "30:00", "1:00:00", "1:30:00", "2:00:00", "2:30:00", "3:00:00", "3:30:00",
          "4:00:00", "4:30:00", "5:00:00"}},
        {3 * day,
         {"0:00", "12:00:00", "1d 00:00:00", "1d 12:00:00", "2d 00:00:00", "2d 12:00:00",
          "3d 00:00:00"}},
        // A month: whole days, where a division of the span once gave "5400:00.001".
        {30 * day + 1234, {"0d", "5d", "10d", "15d", "20d", "25d", "30d"}},
        {366 * day, {"0d", "50d", "100d", "150d", "200d", "250d", "300d", "350d"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.end);
        RunLog log;
        log.Begin(WString(u"Desktop"), false, false);
        log.End(c.end);
        EXPECT_EQ(AxisLabels(SvgChart(log, "run")), c.labels);
    }
}

} // namespace
