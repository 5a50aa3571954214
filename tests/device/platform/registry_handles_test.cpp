// The registry's open handles: the table that holds them (slots shared by handles whose values
// fall together, growth, closing from the middle of a run) and, through the Reg* calls,
// handles that stay open while others come and go.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/registry.h"
#include "platform/sim/registry_handles.h"
#include "tests/support/device_test.h"

namespace {

// Handle values chosen to crowd the table: small ones side by side, multiples of 1024 that
// share one home slot while the table has 256 slots or fewer, and the values just below those,
// whose home is the table's last slot, so that their runs wrap round to the first.
std::vector<ULONG_PTR> CrowdingValues() {
    std::vector<ULONG_PTR> values;
    for (ULONG_PTR i = 1; i <= 24; ++i) {
        values.push_back(4 * i);
        values.push_back(1024 * i);
        values.push_back(1024 * i - 4);
    }
    return values;
}

// Opens and closes those values in a fixed pseudo-random order, checking after every step
// that each open handle is found with its own key and process and each closed one is not.
TEST(KeyHandles, EveryOpenHandleIsFoundAfterAnyMixOfOpensAndCloses) {
    const std::vector<ULONG_PTR> values = CrowdingValues();
    std::vector<std::shared_ptr<sim::RegKeyNode>> nodes;
    for (std::size_t i = 0; i < values.size(); ++i)
        nodes.push_back(std::make_shared<sim::RegKeyNode>());
    sim::KeyHandles table;
    std::map<ULONG_PTR, std::size_t> open; // value -> index into `values` and `nodes`
    std::uint32_t state = 12345;
    for (int step = 0; step < 4000; ++step) {
        state = state * 1664525u + 1013904223u; // fixed sequence on every host
        const std::size_t pick = (state >> 8) % values.size();
        const ULONG_PTR value = values[pick];
        if (open.count(value) != 0) {
            sim::KeyHandles::Entry* entry = table.Find(value);
            ASSERT_NE(entry, nullptr) << "step " << step;
            table.Erase(entry);
            open.erase(value);
        } else {
            table.Add(value, nodes[pick], static_cast<int>(pick % 3) + 1);
            open[value] = pick;
        }
        for (std::size_t i = 0; i < values.size(); ++i) {
            const sim::KeyHandles::Entry* entry = table.Find(values[i]);
            if (open.count(values[i]) == 0) {
                ASSERT_EQ(entry, nullptr) << "step " << step << ", closed value " << values[i];
                continue;
            }
            ASSERT_NE(entry, nullptr) << "step " << step << ", open value " << values[i];
            EXPECT_EQ(entry->node, nodes[i]);
            EXPECT_EQ(entry->process, static_cast<int>(i % 3) + 1);
        }
    }
    for (int process = 1; process <= 3; ++process) {
        std::size_t held = 0;
        for (const auto& [value, index] : open)
            held += static_cast<int>(index % 3) + 1 == process ? 1 : 0;
        EXPECT_EQ(table.HeldBy(process).size(), held) << "process " << process;
    }
    // The table held each key; closing lets it go.
    for (const auto& [value, index] : open)
        table.Erase(table.Find(value));
    for (const auto& node : nodes)
        EXPECT_EQ(node.use_count(), 1);
    EXPECT_EQ(table.Find(0), nullptr) << "NULL is never a handle";
}

class RegistryHandles : public DeviceTest {
  protected:
    void TearDown() override {
        EXPECT_EQ(device.OpenHandles(sim::kProgramProcess, sim::HandleKind::RegistryKey), 0)
            << "a registry key was left open";
    }

    HKEY Open(const WString& path) {
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
        return key;
    }
    // The number in value "n" of the key `key` stands for.
    LONG Read(HKEY key, DWORD* number) {
        DWORD size = sizeof *number;
        return RegQueryValueExW(key, TEXT("n"), nullptr, nullptr, reinterpret_cast<BYTE*>(number),
                                &size);
    }
    static WString Name(int i) { return TEXT("k") + FromUtf8(std::to_string(i)); }
};

// Handles kept open across many opens and closes of others, which reuse the table's slots
// around them: each keeps naming its own key, and a closed handle never names the key of
// the handle that took its slot.
TEST_F(RegistryHandles, HeldHandlesKeepTheirKeysWhileOthersComeAndGo) {
    constexpr int kKeys = 40;
    for (int i = 0; i < kKeys; ++i)
        ASSERT_TRUE(
            device.registry.PutDword(HKEY_CURRENT_USER, Name(i), TEXT("n"), static_cast<DWORD>(i)));
    std::map<HKEY, int> held;
    for (int i = 0; i < kKeys; i += 4)
        held[Open(Name(i))] = i;
    HKEY closed = nullptr;
    for (int round = 0; round < 300; ++round) {
        const int i = (round * 7) % kKeys;
        HKEY key = Open(Name(i));
        DWORD number = 0;
        ASSERT_EQ(Read(key, &number), ERROR_SUCCESS);
        EXPECT_EQ(number, static_cast<DWORD>(i));
        if (closed != nullptr) {
            // The handle closed last round: its slot may now be this one's.
            EXPECT_EQ(Read(closed, &number), ERROR_INVALID_HANDLE);
            EXPECT_EQ(RegCloseKey(closed), ERROR_INVALID_HANDLE);
        }
        ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
        closed = key;
        // Every fifth round, one held handle goes and another comes, far from it.
        if (round % 5 == 0) {
            auto first = held.begin();
            const int next = (first->second + 2) % kKeys;
            ASSERT_EQ(RegCloseKey(first->first), ERROR_SUCCESS);
            held.erase(first);
            held[Open(Name(next))] = next;
        }
        for (const auto& [heldKey, index] : held) {
            ASSERT_EQ(Read(heldKey, &number), ERROR_SUCCESS) << "round " << round;
            EXPECT_EQ(number, static_cast<DWORD>(index)) << "round " << round;
        }
        EXPECT_EQ(device.OpenHandles(sim::kProgramProcess, sim::HandleKind::RegistryKey),
                  static_cast<int>(held.size()));
        EXPECT_EQ(device.registry.OpenKeys(sim::kProgramProcess), static_cast<int>(held.size()));
    }
    for (const auto& [heldKey, index] : held)
        EXPECT_EQ(RegCloseKey(heldKey), ERROR_SUCCESS);
}

// A process that ends has its handles closed, from whatever slots they were in; the handles
// of other processes, in slots between them, stay.
TEST_F(RegistryHandles, AnEndedProcessLosesItsHandlesAndNoOthers) {
    ASSERT_TRUE(device.registry.PutDword(HKEY_CURRENT_USER, TEXT("k"), TEXT("n"), 5));
    std::vector<HKEY> mine;
    std::vector<HKEY> theirs;
    for (int i = 0; i < 30; ++i) {
        if (i % 3 == 0) {
            sim::Device::ProcessScope shell(device, sim::kShellProcess);
            theirs.push_back(Open(TEXT("k")));
        } else {
            mine.push_back(Open(TEXT("k")));
        }
    }
    device.registry.CloseAllKeysOf(device, sim::kShellProcess);
    EXPECT_EQ(device.OpenHandles(sim::kShellProcess, sim::HandleKind::RegistryKey), 0);
    EXPECT_EQ(device.registry.OpenKeys(sim::kShellProcess), 0);
    {
        sim::Device::ProcessScope shell(device, sim::kShellProcess);
        for (HKEY key : theirs)
            EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    }
    EXPECT_EQ(device.registry.OpenKeys(sim::kProgramProcess), 20);
    for (HKEY key : mine) {
        DWORD number = 0;
        EXPECT_EQ(Read(key, &number), ERROR_SUCCESS);
        EXPECT_EQ(number, 5u);
        EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    }
}

} // namespace
