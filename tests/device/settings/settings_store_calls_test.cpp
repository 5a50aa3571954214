// The settings store's exact registry calls (the key walk, in order, every key closed), the
// application name cut from the module path, and LoadSettings' reads.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "app/main_frame.h"
#include "framework/app_name.h"
#include "settings/settings_store.h"
#include "tests/support/device_test.h"

namespace {

const char* const kRegistryCalls[] = {"RegOpenKeyExW", "RegCreateKeyExW", "RegQueryValueExW",
                                      "RegSetValueExW", "RegCloseKey"};

class SettingsStoreCalls : public DeviceTest {
  protected:
    void SetUp() override { device.trace.Enable(true); }
    void TearDown() override {
        EXPECT_EQ(device.OpenHandles(sim::kProgramProcess), 0) << "a handle was left open";
    }

    // The registry calls recorded since the last look, handles renamed K1, K2, ... in order of
    // appearance so that a table reads the same wherever it starts.
    std::vector<std::string> Calls() {
        std::vector<std::string> calls;
        std::map<std::string, std::string> names;
        const std::regex handle("0x[0-9a-f]+");
        for (const std::string& text :
             device.trace.Texts({kRegistryCalls[0], kRegistryCalls[1], kRegistryCalls[2],
                                 kRegistryCalls[3], kRegistryCalls[4]})) {
            std::string out;
            auto begin = std::sregex_iterator(text.begin(), text.end(), handle);
            std::size_t last = 0;
            for (auto it = begin; it != std::sregex_iterator(); ++it) {
                const std::string h = it->str();
                const bool accessMask = h == "0x2001f" || h == "0xf003f";
                if (!accessMask && !names.count(h))
                    names[h] = "K" + std::to_string(names.size() + 1);
                out += text.substr(last, static_cast<std::size_t>(it->position()) - last) +
                       (accessMask ? h : names[h]);
                last = static_cast<std::size_t>(it->position() + it->length());
            }
            calls.push_back(out + text.substr(last));
        }
        device.trace.ClearRecords();
        return calls;
    }

    CSettingsStore store;
};

using CallList = std::vector<std::string>;

TEST_F(SettingsStoreCalls, FirstReadOnAnEmptyRegistryCreatesThePath) {
    store.SetRegistryKey(TEXT("Kipo"));
    EXPECT_EQ(store.GetProfileInt(TEXT("Settings"), TEXT("DefaultAction"), 0), 0);
    const CallList expected = {
        "RegOpenKeyExW(HKCU, \"software\", 0, 0x2001f, ->NULL) = 2",
        "RegCreateKeyExW(HKCU, \"software\", 0, NULL, 0, 0x2001f, NULL, ->K1, ->1) = 0",
        "RegCloseKey(K1) = 0",
        "RegOpenKeyExW(HKCU, \"software\", 0, 0x2001f, ->K2) = 0",
        "RegCreateKeyExW(K2, \"Kipo\", 0, NULL, 0, 0x2001f, NULL, ->K3, ->1) = 0",
        "RegCreateKeyExW(K3, \"Kipo\", 0, NULL, 0, 0x2001f, NULL, ->K4, ->1) = 0",
        "RegCloseKey(K2) = 0",
        "RegCloseKey(K3) = 0",
        "RegCreateKeyExW(K4, \"Settings\", 0, NULL, 0, 0x2001f, NULL, ->K5, ->1) = 0",
        "RegCloseKey(K4) = 0",
        "RegQueryValueExW(K5, \"DefaultAction\", NULL, ->?, buf, 4->4) = 2",
        "RegCloseKey(K5) = 0",
    };
    EXPECT_EQ(Calls(), expected);
    EXPECT_TRUE(
        device.registry.KeyExists(HKEY_CURRENT_USER, TEXT("software\\Kipo\\Kipo\\Settings")));
}

TEST_F(SettingsStoreCalls, EachOperationWalksThePathAgain) {
    store.SetRegistryKey(TEXT("Kipo"));
    store.GetProfileInt(TEXT("Settings"), TEXT("DefaultAction"), 0); // creates the path
    Calls();
    // What every operation does once the keys exist, before its own calls.
    const CallList walk = {
        "RegOpenKeyExW(HKCU, \"software\", 0, 0x2001f, ->K1) = 0",
        "RegCloseKey(K1) = 0",
        "RegOpenKeyExW(HKCU, \"software\", 0, 0x2001f, ->K2) = 0",
        "RegCreateKeyExW(K2, \"Kipo\", 0, NULL, 0, 0x2001f, NULL, ->K3, ->2) = 0",
        "RegCreateKeyExW(K3, \"Kipo\", 0, NULL, 0, 0x2001f, NULL, ->K4, ->2) = 0",
        "RegCloseKey(K2) = 0",
        "RegCloseKey(K3) = 0",
        "RegCreateKeyExW(K4, \"Settings\", 0, NULL, 0, 0x2001f, NULL, ->K5, ->2) = 0",
        "RegCloseKey(K4) = 0",
    };
    struct Row {
        int line;
        std::function<void()> operation;
        CallList own;
    };
    const Row rows[] = {
        {__LINE__,
         [&] { store.WriteProfileInt(TEXT("Settings"), TEXT("KeepPDAOn"), -2); },
         {"RegSetValueExW(K5, \"KeepPDAOn\", 0, 4, 4294967294, 4) = 0", "RegCloseKey(K5) = 0"}},
        {__LINE__,
         [&] { store.GetProfileInt(TEXT("Settings"), TEXT("KeepPDAOn"), 0); },
         {"RegQueryValueExW(K5, \"KeepPDAOn\", NULL, ->4, buf, 4->4) = 0", "RegCloseKey(K5) = 0"}},
        {__LINE__,
         [&] { store.WriteProfileString(TEXT("Settings"), TEXT("OffList"), TEXT("HR: ;")); },
         {"RegSetValueExW(K5, \"OffList\", 0, 1, \"HR: ;\", 12) = 0", "RegCloseKey(K5) = 0"}},
        // A string: the size first, then the data into size / 2 + 1 characters.
        {__LINE__,
         [&] { store.GetProfileString(TEXT("Settings"), TEXT("OffList"), TEXT("")); },
         {"RegQueryValueExW(K5, \"OffList\", NULL, ->1, NULL, 0->12) = 0",
          "RegQueryValueExW(K5, \"OffList\", NULL, ->1, buf, 12->12) = 0", "RegCloseKey(K5) = 0"}},
        {__LINE__,
         [&] { store.GetProfileString(TEXT("Settings"), TEXT("OnList"), TEXT("")); },
         {"RegQueryValueExW(K5, \"OnList\", NULL, ->?, NULL, 0->0) = 2", "RegCloseKey(K5) = 0"}},
        // Data longer than four bytes fails the integer read.
        {__LINE__,
         [&] { store.GetProfileInt(TEXT("Settings"), TEXT("OffList"), 3); },
         {"RegQueryValueExW(K5, \"OffList\", NULL, ->1, buf, 4->12) = 234", "RegCloseKey(K5) = 0"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        row.operation();
        CallList expected = walk;
        expected.insert(expected.end(), row.own.begin(), row.own.end());
        EXPECT_EQ(Calls(), expected);
        EXPECT_EQ(device.OpenHandles(sim::kProgramProcess), 0);
    }
}

TEST_F(SettingsStoreCalls, ApplicationNameIsCutFromTheModulePath) {
    const WString deep = TEXT("\\") + WString(600, u'd') + TEXT("\\Deep.exe");
    struct Row {
        int line;
        WString path;
        WString name;
    };
    const Row rows[] = {
        {__LINE__, TEXT("\\Program Files\\Kipo\\Kipo.exe"), TEXT("Kipo")},
        {__LINE__, TEXT("\\Windows\\Start Menu\\Kipo2.EXE"), TEXT("Kipo2")},
        {__LINE__, TEXT("Kipo.exe"), TEXT("Kipo")},
        {__LINE__, TEXT("\\a.b.c.exe"), TEXT("a.b.c")},
        {__LINE__, TEXT("C:/dir/app.exe"), TEXT("app")},
        {__LINE__, TEXT("A:Kipo.exe"), TEXT("Kipo")},
        {__LINE__, TEXT("\\noext"), TEXT("noext")},
        // The cut at the last "." comes first, even when that dot is in a folder name.
        {__LINE__, TEXT("\\My.Dir\\Kipo"), TEXT("My")},
        {__LINE__, TEXT("\\Storage Card\\.exe"), TEXT("")},
        {__LINE__, TEXT(""), TEXT("")},
        // Longer than the first buffer offered to GetModuleFileNameW.
        {__LINE__, deep, TEXT("Deep")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        device.SetProgramPath(row.path);
        CSettingsStore fresh;
        fresh.SetRegistryKey(TEXT("Kipo"));
        EXPECT_TRUE(fresh.ProfileName() == row.name) << ToUtf8(fresh.ProfileName());
        EXPECT_TRUE(fresh.RegistryKeyWord() == WString(TEXT("Kipo")));
        EXPECT_TRUE(ModuleBaseName(row.path) == row.name);
    }
    // A later SetRegistryKey replaces both copies.
    device.SetProgramPath(TEXT("\\x\\First.exe"));
    store.SetRegistryKey(TEXT("One"));
    device.SetProgramPath(TEXT("\\x\\Second.exe"));
    store.SetRegistryKey(TEXT("Two"));
    EXPECT_TRUE(store.ProfileName() == WString(TEXT("Second")));
    EXPECT_TRUE(store.RegistryKeyWord() == WString(TEXT("Two")));
}

TEST_F(SettingsStoreCalls, AKeyThatCannotBeCreatedReadsAsDefaultsAndFailsWrites) {
    // A 300-character name cannot be a registry key.
    device.SetProgramPath(TEXT("\\") + WString(300, u'n') + TEXT(".exe"));
    store.SetRegistryKey(TEXT("Kipo"));
    EXPECT_EQ(store.GetProfileInt(TEXT("Settings"), TEXT("DefControl"), 6), 6);
    EXPECT_TRUE(store.GetProfileString(TEXT("Settings"), TEXT("OffList"), TEXT("HR: ;")) ==
                WString(TEXT("HR: ;")));
    EXPECT_EQ(store.WriteProfileInt(TEXT("Settings"), TEXT("DefControl"), 1), FALSE);
    EXPECT_EQ(store.WriteProfileString(TEXT("Settings"), TEXT("OffList"), TEXT("x")), FALSE);
    EXPECT_FALSE(store.GetAppRegistryKey());
    EXPECT_FALSE(store.GetSectionKey(TEXT("Settings")));
    EXPECT_EQ(device.trace.Count("RegSetValueExW"), 0u);
    EXPECT_EQ(device.trace.Count("RegQueryValueExW"), 0u);
    // The keys above it were still made and closed again.
    EXPECT_TRUE(device.registry.KeyExists(HKEY_CURRENT_USER, TEXT("software\\Kipo")));
}

TEST_F(SettingsStoreCalls, KeysHandedOutCloseWithTheirHolder) {
    store.SetRegistryKey(TEXT("Kipo"));
    {
        RegKey app = store.GetAppRegistryKey();
        RegKey section = store.GetSectionKey(TEXT("Settings"));
        ASSERT_TRUE(app);
        ASSERT_TRUE(section);
        EXPECT_EQ(device.OpenHandles(sim::kProgramProcess, sim::HandleKind::RegistryKey), 2);
        RegKey moved = std::move(section);
        EXPECT_FALSE(section);
        EXPECT_EQ(device.OpenHandles(sim::kProgramProcess, sim::HandleKind::RegistryKey), 2);
    }
    EXPECT_EQ(device.OpenHandles(sim::kProgramProcess, sim::HandleKind::RegistryKey), 0);
}

TEST_F(SettingsStoreCalls, LoadSettingsReadsTheNineInOrderWhileBusy) {
    store.SetRegistryKey(TEXT("Kipo"));
    CMainFrame frame(store);
    frame.m_bAutoDelete = FALSE;
    std::vector<std::string> reads;
    std::vector<int> busy;
    device.trace.SetListener([&](const sim::TraceCall& call) {
        if (call.name == "RegQueryValueExW") {
            reads.push_back(call.args.substr(call.args.find('"')));
            busy.push_back(frame.Busy);
        }
    });
    frame.LoadSettings();
    device.trace.SetListener(nullptr);
    const std::vector<std::string> order = {"DefaultAction", "WFDefaultAction",    "OnList",
                                            "OffList",       "OnRunList",          "BTControl",
                                            "DefControl",    "OffTakesPrecedence", "KeepPDAOn"};
    ASSERT_EQ(reads.size(), order.size()); // nothing stored: one failing query each
    for (std::size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(reads[i].substr(0, order[i].size() + 3), "\"" + order[i] + "\",") << i;
        EXPECT_EQ(busy[i], 1) << "Busy during read " << i;
    }
    EXPECT_EQ(frame.Busy, 0);
}

} // namespace
