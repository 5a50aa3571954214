// Host files for the simulator's tools: read whole, and in plain words why one cannot be read
// or written.
#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/sim/host_file.h"

namespace {

std::string Temp(const std::string& name) {
    return ::testing::TempDir() + "host_file_" + name;
}

TEST(HostFile, ReadsEveryByte) {
    const std::string path = Temp("bytes");
    std::string bytes = std::string("a\0b\r\n", 5) + std::string(200000, 'x') + "\xff\xfe";
    std::ofstream(path, std::ios::binary) << bytes;
    std::string read, why;
    ASSERT_TRUE(sim::ReadHostFile(path, read, why)) << why;
    EXPECT_EQ(read, bytes);
    std::ofstream(path, std::ios::binary | std::ios::trunc).close();
    EXPECT_TRUE(sim::ReadHostFile(path, read, why));
    EXPECT_EQ(read, ""); // an empty file reads as nothing, not as an error
}

TEST(HostFile, SaysWhyAFileCannotBeRead) {
    const std::string file = Temp("plain");
    std::ofstream(file) << "x";
    const std::string folder = ::testing::TempDir();
    struct Case {
        std::string path;
        const char* why;
    };
    const Case cases[] = {
        {Temp("missing"), "no such file"},
        {Temp("missing_folder/file"), "no such file"},
        {folder, "is a folder"},
        {file + "/inside", "a part of the path is not a folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::string bytes = "left", why;
        EXPECT_FALSE(sim::ReadHostFile(c.path, bytes, why));
        EXPECT_EQ(why, c.why);
    }
}

TEST(HostFile, SaysWhyAFileCannotBeWritten) {
    const std::string file = Temp("existing");
    std::ofstream(file) << "x";
    const std::string folder = ::testing::TempDir();
    struct Case {
        std::string path;
        std::string why;
    };
    const Case cases[] = {
        {file, ""},                // replaced
        {Temp("new_one"), ""},     // created beside others
        {"relative-name.svg", ""}, // in the current folder
        {folder, "is a folder"},
        {Temp("no_dir/x.svg"), "no such folder " + Temp("no_dir")},
        {file + "/x.svg", "a part of the path is not a folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(sim::WhyNotWritable(c.path), c.why);
    }
    // Nothing was created by looking.
    EXPECT_NE(::access(Temp("new_one").c_str(), F_OK), 0);
}

TEST(HostFile, ReadOnlyPlaces) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser may write anywhere";
    const std::string folder = Temp("locked");
    ::mkdir(folder.c_str(), 0755);
    const std::string file = folder + "/file";
    std::ofstream(file) << "x";
    ::chmod(file.c_str(), 0);
    ::chmod(folder.c_str(), 0555);
    std::string bytes, why;
    EXPECT_FALSE(sim::ReadHostFile(file, bytes, why));
    EXPECT_EQ(why, "permission denied");
    EXPECT_EQ(sim::WhyNotWritable(file), "permission denied");
    EXPECT_EQ(sim::WhyNotWritable(folder + "/new"), "permission denied");
    ::chmod(folder.c_str(), 0755);
    ::chmod(file.c_str(), 0644);
}

TEST(HostFile, ErrnoInPlainWords) {
    EXPECT_EQ(sim::ErrnoWords(ENOENT), "no such file");
    EXPECT_EQ(sim::ErrnoWords(EACCES), "permission denied");
    EXPECT_EQ(sim::ErrnoWords(EPERM), "permission denied");
    EXPECT_EQ(sim::ErrnoWords(EISDIR), "is a folder");
    EXPECT_EQ(sim::ErrnoWords(ENOSPC), "no space left on the device");
    EXPECT_EQ(sim::ErrnoWords(EROFS), "read-only file system");
    // Others in the system's words, starting lower case to follow "cannot read X: ".
    EXPECT_EQ(sim::ErrnoWords(EMFILE), "too many open files");
}

} // namespace
