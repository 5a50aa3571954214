// The WLAN adapter's software on the simulated device: which kernel I/O controls and events
// bring a stuck adapter to full power, and what it does with anything else.
#include <gtest/gtest.h>

#include <source_location>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/radios.h"
#include "tests/support/device_test.h"

namespace {

const WCHAR* const kWlan = TEXT("{98C5250D-C29A-4985-AE5F-AFE5367E5006}\\tiacxwln1");
constexpr DWORD kSlotPower = 0x01010127;
constexpr DWORD kCardStatus = 0x01010128;

enum class Step { SlotOn, SlotOff, Detect, Status, CardStatus, AskD0, AskD4 };

void RunStep(Step step) {
    DWORD value = 1;
    DWORD returned = 0;
    switch (step) {
    case Step::SlotOn:
        KernelIoControl(kSlotPower, &value, 4, nullptr, 0, nullptr);
        break;
    case Step::SlotOff:
        value = 0;
        KernelIoControl(kSlotPower, &value, 4, nullptr, 0, nullptr);
        break;
    case Step::Detect:
    case Step::Status: {
        HANDLE event = CreateEventW(nullptr, FALSE, FALSE,
                                    step == Step::Detect ? TEXT("WLANDetectInsertPCMCIA")
                                                         : TEXT("WALNStatusChangeEvent"));
        EventModify(event, EVENT_SET);
        CloseHandle(event);
        break;
    }
    case Step::CardStatus:
        KernelIoControl(kCardStatus, nullptr, 0, &value, 4, &returned);
        break;
    case Step::AskD0:
        SetDevicePower(kWlan, POWER_NAME, D0);
        break;
    case Step::AskD4:
        SetDevicePower(kWlan, POWER_NAME, D4);
        break;
    }
}

struct WakeCase {
    std::source_location where = std::source_location::current();
    model::WlanSetUp setUp = model::WlanSetUp::Stuck;
    std::vector<Step> steps;
    bool on = false;       // at D0 afterwards
    bool refusing = false; // would refuse D0 afterwards
};

using enum Step;
const auto kPlain = model::WlanSetUp::Off;
const auto kAbsent = model::WlanSetUp::Absent;

// clang-format off
const WakeCase kWakeCases[] = {
    {.steps = {}, .refusing = true},
    {.steps = {AskD0}, .refusing = true},
    {.steps = {SlotOn, Detect, CardStatus}, .on = true},
    // The status-change event alone is no card detection.
    {.steps = {SlotOn, Status, CardStatus}, .refusing = true},
    // Out of order: detection before the slot has power, or no status read afterwards.
    {.steps = {Detect, SlotOn, CardStatus}, .refusing = true},
    {.steps = {SlotOn, CardStatus, Detect}, .refusing = true},
    {.steps = {SlotOn, SlotOff, Detect, CardStatus}, .refusing = true},
    // Once awake it takes D0 requests; powered down it is stuck again.
    {.steps = {SlotOn, Detect, CardStatus, AskD4}, .refusing = true},
    {.steps = {SlotOn, Detect, CardStatus, AskD4, AskD0}, .refusing = true},
    {.steps = {SlotOn, Detect, CardStatus, AskD4, SlotOn, Detect, CardStatus}, .on = true},
    // A plain adapter does not need the sequence, and the sequence does no harm to it.
    {.setUp = kPlain, .steps = {AskD0}, .on = true},
    {.setUp = kPlain, .steps = {SlotOn, Detect, CardStatus}},
    // Without an adapter nothing comes up.
    {.setUp = kAbsent, .steps = {SlotOn, Detect, CardStatus}},
};
// clang-format on

TEST(WlanAdapterTest, OnlyTheWholeWakeSequenceBringsAStuckAdapterUp) {
    for (const WakeCase& c : kWakeCases) {
        SCOPED_TRACE(testing::Message() << "case at line " << c.where.line());
        sim::Device device;
        sim::SetUpWifi(device, c.setUp);
        for (Step step : c.steps)
            RunStep(step);
        EXPECT_EQ(sim::WifiIsOn(device), c.on);
        EXPECT_EQ(device.handheld.wlan.RefusesFullPower(), c.refusing);
        EXPECT_EQ(device.OpenHandles(sim::kProgramProcess), 0);
    }
}

TEST(WlanAdapterTest, UserSwitchWorksOnAStuckAdapterAndNotOnAnAbsentOne) {
    sim::Device device;
    sim::SetUpWifi(device, model::WlanSetUp::Stuck);
    sim::UserSwitchWifi(device, true);
    EXPECT_TRUE(sim::WifiIsOn(device));
    EXPECT_EQ(SetDevicePower(kWlan, POWER_NAME, D0), static_cast<DWORD>(ERROR_SUCCESS));
    sim::UserSwitchWifi(device, false);
    EXPECT_FALSE(sim::WifiIsOn(device));
    EXPECT_EQ(SetDevicePower(kWlan, POWER_NAME, D0), static_cast<DWORD>(ERROR_WRITE_FAULT));

    sim::Device absent;
    sim::SetUpWifi(absent, model::WlanSetUp::Absent);
    sim::UserSwitchWifi(absent, true);
    EXPECT_FALSE(sim::WifiIsOn(absent));
    CEDEVICE_POWER_STATE state = D0;
    EXPECT_EQ(GetDevicePower(kWlan, POWER_NAME, &state), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

struct IoCase {
    int line;
    DWORD code;
    bool withIn;
    DWORD inSize;
    bool withOut;
    DWORD outSize;
    BOOL result;
    DWORD error;
};

const IoCase kIoCases[] = {
    {__LINE__, kSlotPower, true, 4, false, 0, TRUE, 0},
    {__LINE__, kSlotPower, false, 0, false, 0, FALSE, ERROR_INVALID_PARAMETER},
    {__LINE__, kSlotPower, true, 2, false, 0, FALSE, ERROR_INVALID_PARAMETER},
    {__LINE__, kCardStatus, false, 0, true, 4, TRUE, 0},
    {__LINE__, kCardStatus, false, 0, true, 3, FALSE, ERROR_INSUFFICIENT_BUFFER},
    {__LINE__, kCardStatus, false, 0, false, 4, FALSE, ERROR_INSUFFICIENT_BUFFER},
    {__LINE__, 0x01010126, true, 4, true, 4, FALSE, ERROR_NOT_SUPPORTED},
    {__LINE__, 0, false, 0, false, 0, FALSE, ERROR_NOT_SUPPORTED},
};

TEST(WlanAdapterTest, KernelIoControlChecksItsBuffersAndRefusesUnknownCodes) {
    for (const IoCase& c : kIoCases) {
        SCOPED_TRACE(testing::Message() << "case at line " << c.line);
        sim::Device device;
        DWORD in = 1;
        DWORD out = 7;
        SetLastError(0);
        EXPECT_EQ(KernelIoControl(c.code, c.withIn ? &in : nullptr, c.inSize,
                                  c.withOut ? &out : nullptr, c.outSize, nullptr),
                  c.result);
        if (!c.result) {
            EXPECT_EQ(GetLastError(), c.error);
        }
        ASSERT_EQ(device.handheld.ioControls.Records().size(), 1u);
        EXPECT_EQ(device.handheld.ioControls.Records()[0].code, c.code);
        EXPECT_EQ(device.handheld.ioControls.Records()[0].result, c.result);
    }
}

TEST(WlanAdapterTest, IoControlLogKeepsBuffersBeforeAndAfter) {
    sim::Device device;
    sim::SetUpWifi(device, model::WlanSetUp::Stuck);
    device.SetNow(1234);
    RunStep(Step::SlotOn);
    RunStep(Step::Detect);
    DWORD out = 1;
    DWORD returned = 0;
    ASSERT_TRUE(KernelIoControl(kCardStatus, nullptr, 0, &out, 4, &returned));
    const auto& records = device.handheld.ioControls.Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].code, kSlotPower);
    EXPECT_TRUE(records[0].hasIn);
    EXPECT_EQ(model::IoControlLog::FirstDword(records[0].in), 1u);
    EXPECT_EQ(records[0].inSize, 4u);
    EXPECT_FALSE(records[0].hasOut);
    EXPECT_FALSE(records[0].hasBytesReturned);
    EXPECT_EQ(records[0].time, 1234u);
    EXPECT_EQ(records[1].code, kCardStatus);
    EXPECT_FALSE(records[1].hasIn);
    EXPECT_EQ(model::IoControlLog::FirstDword(records[1].outBefore), 1u);
    EXPECT_TRUE(records[1].hasBytesReturned);
    EXPECT_EQ(records[1].bytesReturnedBefore, 0u);
    EXPECT_EQ(records[1].bytesReturnedAfter, 4u);
    // The card answers that it is up.
    EXPECT_EQ(model::IoControlLog::FirstDword(records[1].outAfter), 1u);
    EXPECT_EQ(returned, 4u);
    EXPECT_EQ(device.handheld.wlan.Wakes(), 1);
}

TEST(WlanAdapterTest, KernelIoControlTraceShowsBuffersAsPassed) {
    sim::Device device;
    device.trace.Enable(true);
    DWORD in = 1;
    DWORD out = 1;
    DWORD returned = 0;
    KernelIoControl(kSlotPower, &in, 4, nullptr, 0, nullptr);
    KernelIoControl(kCardStatus, nullptr, 0, &out, 4, &returned);
    const auto texts = device.trace.Texts({"KernelIoControl"});
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "KernelIoControl(0x01010127, {01 00 00 00}, 4, NULL, 0, NULL) = 1");
    EXPECT_EQ(texts[1], "KernelIoControl(0x01010128, NULL, 0, {01 00 00 00}, 4, &0) = 1");
}

} // namespace

TEST(WlanAdapterTest, IoControlLogKeepsTheLastCallsAndCountsThemAll) {
    // A program that wakes an absent adapter every tick makes thousands of calls an hour:
    // the log keeps a bounded tail, in order, and the count of all of them.
    sim::Device device;
    const std::size_t kept = model::IoControlLog::kKeptRecords;
    const std::size_t calls = 3 * kept + 5;
    for (std::size_t i = 0; i < calls; ++i) {
        device.SetNow(i);
        DWORD in = static_cast<DWORD>(i % 2);
        KernelIoControl(kSlotPower, &in, 4, nullptr, 0, nullptr);
    }
    const auto& log = device.handheld.ioControls;
    EXPECT_EQ(log.Total(), calls);
    ASSERT_EQ(log.Records().size(), kept);
    EXPECT_EQ(log.Records().front().time, calls - kept) << "the oldest kept call";
    EXPECT_EQ(log.Records().back().time, calls - 1) << "the newest call";
    EXPECT_EQ(model::IoControlLog::FirstDword(log.Records().back().in), (calls - 1) % 2);
    EXPECT_TRUE(log.Records().back().result) << "the newest call was completed";
    EXPECT_EQ(device.trace.Count("KernelIoControl"), calls);
}
