// Keys of the simulated registry: opening, creating, deleting, letter case, paths, handles.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "tests/support/device_test.h"

namespace {

class RegistryKeys : public DeviceTest {
  protected:
    void TearDown() override {
        EXPECT_EQ(device.OpenHandles(sim::kProgramProcess, sim::HandleKind::RegistryKey), 0)
            << "a registry key was left open";
    }

    LONG Open(HKEY parent, const WCHAR* path, HKEY* key) {
        return RegOpenKeyExW(parent, path, 0, KEY_READ, key);
    }
    LONG Create(HKEY parent, const WCHAR* path, HKEY* key, DWORD* disposition = nullptr) {
        return RegCreateKeyExW(parent, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_READ | KEY_WRITE, nullptr, key, disposition);
    }
    // Creates a key and closes it at once.
    void Make(HKEY root, const WCHAR* path) {
        HKEY key = nullptr;
        ASSERT_EQ(Create(root, path, &key), ERROR_SUCCESS);
        ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    }
    // Whether `path` opens, closing what opened.
    bool Opens(HKEY root, const WCHAR* path) {
        HKEY key = nullptr;
        if (Open(root, path, &key) != ERROR_SUCCESS)
            return false;
        EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
        return true;
    }
    int Keys() const {
        return device.OpenHandles(sim::kProgramProcess, sim::HandleKind::RegistryKey);
    }
};

TEST_F(RegistryKeys, PathsOpenWithoutRegardToCaseAndSeparators) {
    Make(HKEY_LOCAL_MACHINE, TEXT("SOFTWARE\\Widcomm\\BtConfig\\General"));
    struct Row {
        int line;
        HKEY root;
        const WCHAR* path;
        bool opens;
    };
    const Row rows[] = {
        {__LINE__, HKEY_LOCAL_MACHINE, TEXT("SOFTWARE\\Widcomm\\BtConfig\\General"), true},
        {__LINE__, HKEY_LOCAL_MACHINE, TEXT("software\\widcomm\\btconfig\\general"), true},
        {__LINE__, HKEY_LOCAL_MACHINE, TEXT("\\SOFTWARE\\Widcomm\\BtConfig\\General"), true},
        {__LINE__, HKEY_LOCAL_MACHINE, TEXT("SOFTWARE\\Widcomm\\BtConfig\\General\\"), true},
        {__LINE__, HKEY_LOCAL_MACHINE, TEXT("SOFTWARE\\Widcomm"), true},
        {__LINE__, HKEY_LOCAL_MACHINE, TEXT("SOFTWARE\\Widcomm\\BtConfig\\Gener"), false},
        {__LINE__, HKEY_LOCAL_MACHINE, TEXT("SOFTWARE\\Widcomm\\BtConfig\\General\\x"), false},
        {__LINE__, HKEY_LOCAL_MACHINE, TEXT("Widcomm"), false},
        // The trees are separate.
        {__LINE__, HKEY_CURRENT_USER, TEXT("SOFTWARE\\Widcomm"), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        EXPECT_EQ(Opens(row.root, row.path), row.opens);
    }
}

TEST_F(RegistryKeys, CaseFoldingCoversNonAsciiLetters) {
    // "ΑΒΓ" and "αβγ" (Greek), "ЖУК" and "жук" (Cyrillic) name the same keys.
    const WCHAR greekUpper[] = {0x391, 0x392, 0x393, 0};
    const WCHAR greekLower[] = {0x3B1, 0x3B2, 0x3B3, 0};
    const WCHAR cyrillicUpper[] = {0x416, 0x423, 0x41A, 0};
    const WCHAR cyrillicLower[] = {0x436, 0x443, 0x43A, 0};
    Make(HKEY_CURRENT_USER, greekUpper);
    Make(HKEY_CURRENT_USER, cyrillicLower);
    EXPECT_TRUE(Opens(HKEY_CURRENT_USER, greekLower));
    EXPECT_TRUE(Opens(HKEY_CURRENT_USER, cyrillicUpper));
    // The name keeps the letters it was created with.
    const sim::RegKeyNode* root = device.registry.Root(HKEY_CURRENT_USER);
    ASSERT_EQ(root->children.size(), 2u);
    EXPECT_EQ(root->children.at(sim::Registry::Fold(greekLower))->name, WString(greekUpper));
}

TEST_F(RegistryKeys, CreateReportsWhetherTheKeyIsNew) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, TEXT("software\\Kipo\\Kipo"), &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_TRUE(device.registry.KeyExists(HKEY_CURRENT_USER, TEXT("software\\Kipo")));

    ASSERT_EQ(Create(HKEY_CURRENT_USER, TEXT("SOFTWARE\\KIPO\\KIPO"), &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
    // A deeper path below an existing key is new again.
    HKEY sub = nullptr;
    ASSERT_EQ(Create(key, TEXT("Settings"), &sub, &disposition), ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
    EXPECT_EQ(Keys(), 2);
    EXPECT_EQ(RegCloseKey(sub), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_TRUE(Opens(HKEY_CURRENT_USER, TEXT("software\\kipo\\kipo\\settings")));
}

TEST_F(RegistryKeys, BadArgumentsFailWithWin32Codes) {
    Make(HKEY_CURRENT_USER, TEXT("a"));
    const WString longName(256, u'x');
    const WString longestName(255, u'y');
    HKEY key = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x99));
    // A failed open leaves no handle behind in *result.
    EXPECT_EQ(Open(HKEY_CURRENT_USER, TEXT("missing"), &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, TEXT("a"), 0, KEY_READ, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, TEXT("a"), 0, nullptr, 0, KEY_READ, nullptr,
                              nullptr, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(Open(nullptr, TEXT("a"), &key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(Open(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234)), TEXT("a"), &key),
              ERROR_INVALID_HANDLE);
    EXPECT_EQ(Open(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000005u)), TEXT("a"), &key),
              ERROR_INVALID_HANDLE);
    EXPECT_EQ(Create(HKEY_CURRENT_USER, longName.c_str(), &key), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(Create(HKEY_CURRENT_USER, (TEXT("a\\") + longName).c_str(), &key),
              ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(device.registry.KeyExists(HKEY_CURRENT_USER, longName));
    // A name too long is the answer even past a key that does not exist.
    EXPECT_EQ(Open(HKEY_CURRENT_USER, (TEXT("missing\\") + longName).c_str(), &key),
              ERROR_INVALID_PARAMETER);
    // 255 characters is still a name.
    Make(HKEY_CURRENT_USER, longestName.c_str());
    EXPECT_TRUE(Opens(HKEY_CURRENT_USER, longestName.c_str()));
    EXPECT_EQ(Keys(), 0);
}

// "a\\a\\..." with `levels` names.
WString Levels(int levels) {
    WString path;
    for (int i = 0; i < levels; ++i)
        path += i == 0 ? TEXT("a") : TEXT("\\a");
    return path;
}

TEST_F(RegistryKeys, TreesStopAt512LevelsAsOnWindows) {
    HKEY key = nullptr;
    // Whole paths from a root, and the rest of the way from a key already deep down.
    EXPECT_EQ(Create(HKEY_CURRENT_USER, Levels(513).c_str(), &key), ERROR_NO_SYSTEM_RESOURCES);
    EXPECT_FALSE(device.registry.KeyExists(HKEY_CURRENT_USER, TEXT("a"))) << "half a path made";
    Make(HKEY_CURRENT_USER, Levels(512).c_str());
    EXPECT_TRUE(Opens(HKEY_CURRENT_USER, Levels(512).c_str()));
    ASSERT_EQ(Create(HKEY_CURRENT_USER, Levels(500).c_str(), &key), ERROR_SUCCESS);
    HKEY deeper = nullptr;
    EXPECT_EQ(Create(key, Levels(13).c_str(), &deeper), ERROR_NO_SYSTEM_RESOURCES);
    EXPECT_EQ(Create(key, Levels(12).c_str(), &deeper), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(deeper), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    // Blank levels ("a\\\\b") are no levels, as the path rules say.
    EXPECT_TRUE(device.registry.EnsureKey(HKEY_LOCAL_MACHINE, Levels(512) + TEXT("\\\\")));
    EXPECT_FALSE(device.registry.EnsureKey(HKEY_LOCAL_MACHINE, Levels(512) + TEXT("\\b")));
    EXPECT_FALSE(device.registry.Put(HKEY_LOCAL_MACHINE, Levels(513), TEXT("v"), REG_NONE, {}));
}

TEST_F(RegistryKeys, ADeepTreeGoesWithoutExhaustingTheStack) {
    // Deeper than any registry makes, built by hand: freeing it must not recurse per level.
    auto top = std::make_shared<sim::RegKeyNode>();
    sim::RegKeyNode* node = top.get();
    for (int level = 0; level < 200000; ++level) {
        auto child = std::make_shared<sim::RegKeyNode>();
        child->parent = node;
        sim::RegKeyNode* next = child.get();
        node->children[TEXT("k")] = std::move(child);
        node = next;
    }
    // A key still open deep down outlives the rest of the tree.
    std::shared_ptr<sim::RegKeyNode> held = top->children[TEXT("k")]->children[TEXT("k")];
    top.reset();
    ASSERT_EQ(held.use_count(), 1);
    EXPECT_EQ(held->children.size(), 1u);
    held.reset();
}

TEST_F(RegistryKeys, AnEmptyOrNullPathOpensTheSameKeyAgain) {
    HKEY first = nullptr;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, TEXT("k"), &first), ERROR_SUCCESS);
    HKEY again = nullptr;
    ASSERT_EQ(Open(first, TEXT(""), &again), ERROR_SUCCESS);
    HKEY third = nullptr;
    ASSERT_EQ(Open(first, nullptr, &third), ERROR_SUCCESS);
    EXPECT_NE(again, first);
    EXPECT_NE(third, again);
    EXPECT_EQ(Keys(), 3);
    const DWORD value = 7;
    ASSERT_EQ(
        RegSetValueExW(again, TEXT("v"), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4),
        ERROR_SUCCESS);
    EXPECT_NE(device.registry.Find(HKEY_CURRENT_USER, TEXT("k"), TEXT("v")), nullptr);
    for (HKEY key : {first, again, third})
        EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(RegistryKeys, DeletionIsRecursiveAndOpenHandlesSeeItGone) {
    Make(HKEY_CURRENT_USER, TEXT("software\\Kipo\\Kipo\\Settings"));
    Make(HKEY_CURRENT_USER, TEXT("software\\Kipo\\Other"));
    Make(HKEY_CURRENT_USER, TEXT("software\\Keep"));
    HKEY inner = nullptr;
    ASSERT_EQ(Open(HKEY_CURRENT_USER, TEXT("software\\Kipo\\Kipo\\Settings"), &inner),
              ERROR_SUCCESS);

    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, TEXT("SOFTWARE\\kipo")), ERROR_SUCCESS);
    EXPECT_FALSE(Opens(HKEY_CURRENT_USER, TEXT("software\\Kipo")));
    EXPECT_FALSE(Opens(HKEY_CURRENT_USER, TEXT("software\\Kipo\\Kipo\\Settings")));
    EXPECT_TRUE(Opens(HKEY_CURRENT_USER, TEXT("software\\Keep")));

    // The handle still open names a deleted key: every use fails, closing still works.
    DWORD size = 0;
    HKEY sub = nullptr;
    const BYTE byte = 1;
    EXPECT_EQ(RegQueryValueExW(inner, TEXT("x"), nullptr, nullptr, nullptr, &size),
              ERROR_KEY_DELETED);
    EXPECT_EQ(RegSetValueExW(inner, TEXT("x"), 0, REG_BINARY, &byte, 1), ERROR_KEY_DELETED);
    EXPECT_EQ(Create(inner, TEXT("again"), &sub), ERROR_KEY_DELETED);
    EXPECT_EQ(Open(inner, TEXT(""), &sub), ERROR_KEY_DELETED);
    EXPECT_EQ(Keys(), 1);
    EXPECT_EQ(RegCloseKey(inner), ERROR_SUCCESS);
    // Creating the path again gives a new, empty key.
    Make(HKEY_CURRENT_USER, TEXT("software\\Kipo\\Kipo\\Settings"));
    EXPECT_FALSE(device.registry.KeyExists(HKEY_CURRENT_USER, TEXT("software\\Kipo\\Other")));
}

// A path opened again and again while keys along it go and come back, spelled in other cases:
// each open finds the key as it is now, never one that went.
TEST_F(RegistryKeys, APathOpenedAgainFollowsKeysThatGoAndComeBack) {
    Make(HKEY_CURRENT_USER, TEXT("a\\b\\c"));
    Make(HKEY_CURRENT_USER, TEXT("a\\sibling"));
    HKEY key = nullptr;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, TEXT("A\\B\\C"), &key), ERROR_SUCCESS);
    const BYTE first = 1;
    ASSERT_EQ(RegSetValueExW(key, TEXT("v"), 0, REG_BINARY, &first, 1), ERROR_SUCCESS);
    ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);

    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, TEXT("a\\B")), ERROR_SUCCESS);
    EXPECT_FALSE(Opens(HKEY_CURRENT_USER, TEXT("a\\b\\c")));
    EXPECT_FALSE(Opens(HKEY_CURRENT_USER, TEXT("a\\b")));
    EXPECT_TRUE(Opens(HKEY_CURRENT_USER, TEXT("a\\SIBLING")));

    Make(HKEY_CURRENT_USER, TEXT("a\\b\\C"));
    ASSERT_EQ(Open(HKEY_CURRENT_USER, TEXT("a\\b\\c"), &key), ERROR_SUCCESS);
    DWORD size = 0;
    // The key made again is new: the value of the one deleted is gone with it.
    EXPECT_EQ(RegQueryValueExW(key, TEXT("v"), nullptr, nullptr, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_TRUE(Opens(HKEY_CURRENT_USER, TEXT("a\\sibling")));
    EXPECT_TRUE(Opens(HKEY_CURRENT_USER, TEXT("A\\B\\c")));
}

// The same spelling opened again, from a root and from a handle, after the key it named was
// deleted from elsewhere (through another handle) and made again: never the key that went.
TEST_F(RegistryKeys, TheSameSpellingOpenedAgainSeesKeysDeletedElsewhere) {
    Make(HKEY_CURRENT_USER, TEXT("a\\b\\c"));
    HKEY a = nullptr;
    ASSERT_EQ(Open(HKEY_CURRENT_USER, TEXT("a"), &a), ERROR_SUCCESS);
    HKEY key = nullptr;
    ASSERT_EQ(Open(a, TEXT("b\\c"), &key), ERROR_SUCCESS);
    const BYTE first = 1;
    ASSERT_EQ(RegSetValueExW(key, TEXT("v"), 0, REG_BINARY, &first, 1), ERROR_SUCCESS);
    ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_TRUE(Opens(HKEY_CURRENT_USER, TEXT("a\\b\\c")));
    EXPECT_TRUE(Opens(HKEY_CURRENT_USER, TEXT("a\\b\\c")));

    EXPECT_EQ(RegDeleteKeyW(a, TEXT("b")), ERROR_SUCCESS);
    EXPECT_FALSE(Opens(HKEY_CURRENT_USER, TEXT("a\\b\\c")));
    EXPECT_EQ(Open(a, TEXT("b\\c"), &key), ERROR_FILE_NOT_FOUND);

    Make(HKEY_CURRENT_USER, TEXT("a\\b\\c"));
    for (HKEY parent : {HKEY_CURRENT_USER, a}) {
        ASSERT_EQ(Open(parent, parent == a ? TEXT("b\\c") : TEXT("a\\b\\c"), &key), ERROR_SUCCESS);
        DWORD size = 0;
        EXPECT_EQ(RegQueryValueExW(key, TEXT("v"), nullptr, nullptr, nullptr, &size),
                  ERROR_FILE_NOT_FOUND);
        EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    }
    EXPECT_EQ(RegCloseKey(a), ERROR_SUCCESS);
}

TEST_F(RegistryKeys, DeleteKeyFailures) {
    Make(HKEY_CURRENT_USER, TEXT("a\\b"));
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, TEXT("a\\missing")), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, nullptr), ERROR_INVALID_PARAMETER);
    // A predefined root cannot go.
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, TEXT("")), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, TEXT("\\")), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(Opens(HKEY_CURRENT_USER, TEXT("a\\b")));
    // An empty name deletes the key the handle stands for.
    HKEY b = nullptr;
    ASSERT_EQ(Open(HKEY_CURRENT_USER, TEXT("a\\b"), &b), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyW(b, TEXT("")), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyW(b, TEXT("")), ERROR_KEY_DELETED);
    EXPECT_EQ(RegCloseKey(b), ERROR_SUCCESS);
    EXPECT_TRUE(Opens(HKEY_CURRENT_USER, TEXT("a")));
    EXPECT_FALSE(Opens(HKEY_CURRENT_USER, TEXT("a\\b")));
}

TEST_F(RegistryKeys, HandlesAreCountedPerProcessAndRootsNever) {
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
    EXPECT_EQ(Keys(), 0);

    HKEY mine = nullptr;
    HKEY again = nullptr;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, TEXT("k"), &mine), ERROR_SUCCESS);
    ASSERT_EQ(Open(HKEY_CURRENT_USER, TEXT("k"), &again), ERROR_SUCCESS);
    EXPECT_EQ(Keys(), 2);
    EXPECT_EQ(device.OpenHandles(sim::kShellProcess), 0);

    HKEY theirs = nullptr;
    {
        sim::Device::ProcessScope shell(device, sim::kShellProcess);
        ASSERT_EQ(Open(HKEY_CURRENT_USER, TEXT("k"), &theirs), ERROR_SUCCESS);
        // Another process's handle means nothing here.
        EXPECT_EQ(RegCloseKey(mine), ERROR_INVALID_HANDLE);
        DWORD size = 0;
        EXPECT_EQ(RegQueryValueExW(mine, nullptr, nullptr, nullptr, nullptr, &size),
                  ERROR_INVALID_HANDLE);
    }
    EXPECT_EQ(device.OpenHandles(sim::kShellProcess, sim::HandleKind::RegistryKey), 1);
    EXPECT_EQ(RegCloseKey(theirs), ERROR_INVALID_HANDLE);
    EXPECT_EQ(Keys(), 2);

    EXPECT_EQ(RegCloseKey(mine), ERROR_SUCCESS);
    // Closing twice fails and is not counted twice.
    EXPECT_EQ(RegCloseKey(mine), ERROR_INVALID_HANDLE);
    EXPECT_EQ(Keys(), 1);
    EXPECT_EQ(RegCloseKey(again), ERROR_SUCCESS);
    EXPECT_EQ(Keys(), 0);

    // A process that ends has its keys closed.
    device.registry.CloseAllKeysOf(device, sim::kShellProcess);
    EXPECT_EQ(device.OpenHandles(sim::kShellProcess), 0);
    EXPECT_EQ(device.registry.OpenKeys(sim::kShellProcess), 0);
}

TEST_F(RegistryKeys, ClearEmptiesEveryTree) {
    Make(HKEY_CURRENT_USER, TEXT("a"));
    Make(HKEY_LOCAL_MACHINE, TEXT("b"));
    HKEY held = nullptr;
    ASSERT_EQ(Open(HKEY_CURRENT_USER, TEXT("a"), &held), ERROR_SUCCESS);
    device.registry.Clear();
    EXPECT_FALSE(Opens(HKEY_CURRENT_USER, TEXT("a")));
    EXPECT_FALSE(Opens(HKEY_LOCAL_MACHINE, TEXT("b")));
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(held, nullptr, nullptr, nullptr, nullptr, &size), ERROR_KEY_DELETED);
    EXPECT_EQ(RegCloseKey(held), ERROR_SUCCESS);
}

TEST_F(RegistryKeys, RootPathsSplitByLongAndShortNames) {
    struct Row {
        int line;
        const WCHAR* path;
        bool ok;
        HKEY root;
        const WCHAR* sub;
    };
    const Row rows[] = {
        {__LINE__, TEXT("HKCU\\software\\Kipo"), true, HKEY_CURRENT_USER, TEXT("software\\Kipo")},
        {__LINE__, TEXT("HKEY_LOCAL_MACHINE\\SOFTWARE"), true, HKEY_LOCAL_MACHINE,
         TEXT("SOFTWARE")},
        {__LINE__, TEXT("hklm"), true, HKEY_LOCAL_MACHINE, TEXT("")},
        {__LINE__, TEXT("hkey_classes_root\\x"), true, HKEY_CLASSES_ROOT, TEXT("x")},
        {__LINE__, TEXT("HKU\\.default"), true, HKEY_USERS, TEXT(".default")},
        {__LINE__, TEXT("HKCUX\\a"), false, nullptr, TEXT("")},
        {__LINE__, TEXT("\\HKCU\\a"), false, nullptr, TEXT("")},
        {__LINE__, TEXT(""), false, nullptr, TEXT("")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        HKEY root = nullptr;
        WString sub;
        ASSERT_EQ(sim::Registry::SplitRootPath(row.path, &root, &sub), row.ok);
        if (row.ok) {
            EXPECT_EQ(root, row.root);
            EXPECT_EQ(sub, WString(row.sub));
        }
    }
}

} // namespace
