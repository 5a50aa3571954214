// Saving the registry as .reg files: regedit's UTF-16 form, the UTF-8 form, streams that fail,
// and files that are replaced whole or not at all.
#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/sim/reg_file.h"
#include "tests/support/device_test.h"

namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// UTF-16LE bytes back to UTF-8, for reading a saved file in a test.
std::string FromUtf16(const std::string& bytes) {
    WString text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<WCHAR>(static_cast<unsigned char>(bytes[i]) |
                                          (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    return ToUtf8(text);
}

// The names in a folder, to see that no temporary file is left behind.
std::vector<std::string> Listing(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class RegFileSave : public DeviceTest {
  protected:
    void SetUp() override {
        folder_ = testing::TempDir() + "kipo_reg_save_" + std::to_string(::getpid());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        device.registry.PutString(HKEY_CURRENT_USER, TEXT("software\\Kipo\\Kipo\\Settings"),
                                  TEXT("OnList"), u"#wInternet Explorer;\u0416");
        device.registry.PutDword(HKEY_CURRENT_USER, TEXT("software\\Kipo\\Kipo\\Settings"),
                                 TEXT("KeepPDAOn"), 1);
    }
    void TearDown() override {
        if (mounted_)
            ::umount2(folder_.c_str(), MNT_DETACH);
        fs::remove_all(folder_);
    }

    // A small file system of its own at the folder (needs root); false where it cannot be had.
    bool MountSmall(const char* options) {
        mounted_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, options) == 0;
        return mounted_;
    }

    std::string folder_;
    bool mounted_ = false;
};

TEST_F(RegFileSave, RegeditsFormIsUtf16WithByteOrderMarkAndCrlf) {
    std::string utf16;
    std::string utf8;
    std::string error;
    ASSERT_TRUE(sim::SaveRegText(device.registry, &utf16, &error, sim::RegEncoding::Utf16));
    ASSERT_TRUE(sim::SaveRegText(device.registry, &utf8, &error, sim::RegEncoding::Utf8));
    ASSERT_GE(utf16.size(), 2u);
    EXPECT_EQ(utf16.substr(0, 2), "\xFF\xFE");
    ASSERT_EQ(utf16.size() % 2, 0u);
    const std::string text = FromUtf16(utf16.substr(2));
    // Every line ends with CR LF, and the lines are the UTF-8 form's lines.
    std::string lf;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "a bare LF at " << i;
        }
        if (text[i] != '\r')
            lf.push_back(text[i]);
    }
    EXPECT_EQ(lf, utf8);
    EXPECT_EQ(utf8.rfind("Windows Registry Editor Version 5.00\n\n", 0), 0u);
    EXPECT_NE(utf8.find("\"OnList\"=\"#wInternet Explorer;\xD0\x96\"\n"), std::string::npos);
    // Both forms load back to the registry they came from.
    for (const std::string* form : {&utf16, &utf8}) {
        sim::Registry loaded;
        sim::RegFileError loadError;
        ASSERT_TRUE(sim::LoadRegText(loaded, *form, &loadError)) << loadError.Text();
        std::string again;
        ASSERT_TRUE(sim::SaveRegText(loaded, &again, &error, sim::RegEncoding::Utf8));
        EXPECT_EQ(again, utf8);
    }
}

TEST_F(RegFileSave, EachKeysPathIsWrittenOnceEvenAtTheDeepestLevel) {
    WString path;
    for (int level = 0; level < sim::kMaxKeyDepth; ++level)
        path += level == 0 ? TEXT("d") : TEXT("\\d");
    ASSERT_TRUE(device.registry.PutDword(HKEY_USERS, path, TEXT("bottom"), 7));
    std::string text;
    std::string error;
    ASSERT_TRUE(sim::SaveRegText(device.registry, &text, &error));
    int keyLines = 0;
    std::size_t deepest = 0;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("[HKEY_USERS\\", 0) == 0) {
            ++keyLines;
            deepest = std::max(deepest, line.size());
        }
    }
    EXPECT_EQ(keyLines, sim::kMaxKeyDepth);
    EXPECT_EQ(deepest, std::string("[HKEY_USERS]").size() + 2 * sim::kMaxKeyDepth);
    EXPECT_NE(text.find("\"bottom\"=dword:00000007"), std::string::npos);
}

TEST_F(RegFileSave, AStreamThatFailsSaysWhy) {
    const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(full, 0);
    std::string error;
    EXPECT_FALSE(sim::WriteRegFd(device.registry, full, sim::RegEncoding::Utf16, &error));
    EXPECT_EQ(error, "no space left on the device");
    ::close(full);
    std::ofstream closed;
    EXPECT_FALSE(sim::WriteRegText(device.registry, closed, sim::RegEncoding::Utf8, &error));
    EXPECT_EQ(error, "the output failed");
}

TEST_F(RegFileSave, ReplacesAFileWholeKeepingItsPermissions) {
    const std::string path = folder_ + "/settings.reg";
    WriteBytes(path, "old text");
    ::chmod(path.c_str(), 0640);
    std::string error;
    ASSERT_TRUE(sim::SaveRegFile(device.registry, path, sim::RegEncoding::Utf16, &error)) << error;
    std::string expected;
    ASSERT_TRUE(sim::SaveRegText(device.registry, &expected, &error, sim::RegEncoding::Utf16));
    EXPECT_EQ(ReadBytes(path), expected);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(Listing(folder_), std::vector<std::string>{"settings.reg"});
}

TEST_F(RegFileSave, AFailedSaveLeavesThePreviousFileByteForByte) {
    const std::string previous =
        "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\x]\r\n";
    struct Row {
        int line;
        std::string path; // inside folder_
        const char* says;
    };
    const Row rows[] = {
        {__LINE__, "/no such folder/x.reg", "no such file"},
        {__LINE__, "", "is a folder"}, // the folder itself
    };
    WriteBytes(folder_ + "/kept.reg", previous);
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        std::string error;
        EXPECT_FALSE(
            sim::SaveRegFile(device.registry, folder_ + row.path, sim::RegEncoding::Utf16, &error));
        EXPECT_EQ(error, row.says);
    }
    // A name the format cannot hold fails before anything is written.
    device.registry.PutDword(HKEY_CURRENT_USER, TEXT("k"), TEXT("two\nlines"), 1);
    std::string error;
    EXPECT_FALSE(
        sim::SaveRegFile(device.registry, folder_ + "/kept.reg", sim::RegEncoding::Utf16, &error));
    EXPECT_NE(error.find("HKEY_CURRENT_USER\\k"), std::string::npos) << error;
    EXPECT_EQ(ReadBytes(folder_ + "/kept.reg"), previous);
    EXPECT_EQ(Listing(folder_), std::vector<std::string>{"kept.reg"});
}

TEST_F(RegFileSave, AReadOnlyFolderKeepsItsFile) {
    const std::string previous = "previous contents\r\n";
    const std::string path = folder_ + "/kept.reg";
    if (::geteuid() == 0) {
        // Root writes into any folder whatever its permissions: make the file system read-only.
        if (!MountSmall("size=64k"))
            GTEST_SKIP() << "cannot mount a file system here";
        WriteBytes(path, previous);
        // A remount ignores the source and type; naming them keeps valgrind from reading a
        // null type as a string.
        ASSERT_EQ(::mount("tmpfs", folder_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr), 0);
    } else {
        WriteBytes(path, previous);
        ::chmod(folder_.c_str(), 0555);
    }
    std::string error;
    EXPECT_FALSE(sim::SaveRegFile(device.registry, path, sim::RegEncoding::Utf16, &error));
    EXPECT_TRUE(error == "read-only file system" || error == "permission denied") << error;
    EXPECT_EQ(ReadBytes(path), previous);
    EXPECT_EQ(Listing(folder_), std::vector<std::string>{"kept.reg"});
    ::chmod(folder_.c_str(), 0755);
}

TEST_F(RegFileSave, AFullDiskKeepsThePreviousFile) {
    if (!MountSmall("size=64k"))
        GTEST_SKIP() << "cannot mount a small file system here (needs root)";
    const std::string path = folder_ + "/kept.reg";
    std::string previous;
    std::string error;
    ASSERT_TRUE(sim::SaveRegText(device.registry, &previous, &error, sim::RegEncoding::Utf16));
    WriteBytes(path, previous);
    // Several times the room there is.
    device.registry.Put(HKEY_CURRENT_USER, TEXT("big"), TEXT("blob"), REG_BINARY,
                        std::vector<BYTE>(64 * 1024, 0x5A));
    EXPECT_FALSE(sim::SaveRegFile(device.registry, path, sim::RegEncoding::Utf16, &error));
    EXPECT_EQ(error, "no space left on the device");
    EXPECT_EQ(ReadBytes(path), previous);
    EXPECT_EQ(Listing(folder_), std::vector<std::string>{"kept.reg"});
}

} // namespace
