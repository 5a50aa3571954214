// kipo-sim's .reg files: --registry read before the run, --save-registry written after it in
// regedit's form (or UTF-8), errors on standard error as FILE:LINE:COLUMN, and a saved file
// that is replaced whole or not at all.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "tools/kipo-sim/kipo_sim_app.h"

namespace {

struct SimResult {
    int code = -1;
    std::string out;
    std::string err;
};

std::string Drain(std::FILE* file) {
    std::fflush(file);
    std::rewind(file);
    std::string text;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, file)) > 0;)
        text.append(buf, n);
    std::fclose(file);
    return text;
}

// kipo-sim with `args` and the scenario on standard input.
SimResult Sim(std::vector<std::string> args, const std::string& scenario,
              std::FILE* out = nullptr) {
    std::FILE* err = std::tmpfile();
    const bool ownOut = out == nullptr;
    if (ownOut)
        out = std::tmpfile();
    std::istringstream in(scenario);
    args.push_back("-");
    SimResult run;
    run.code = kiposim::RunKipoSim(args, in, out, err);
    run.out = ownOut ? Drain(out) : "";
    run.err = Drain(err);
    return run;
}

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Utf16(const std::string& ascii) {
    std::string bytes = "\xFF\xFE";
    for (char c : ascii) {
        bytes.push_back(c);
        bytes.push_back('\0');
    }
    return bytes;
}

int Count(const std::string& text, const std::string& what) {
    int count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

const char* const kScenario = "open \"Phone\"\nwait 2 ticks\nexpect bt on\n"
                              "reg HKLM\\SOFTWARE\\Test Marker dword 7\n";

class KipoSimRegistry : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = ::testing::TempDir() + "kipo_sim_reg_" + std::to_string(::getpid());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        in_ = folder_ + "/in.reg";
        // regedit's own form as input.
        Write(in_, Utf16("Windows Registry Editor Version 5.00\r\n\r\n"
                         "[HKEY_CURRENT_USER\\software\\Kipo\\Kipo\\Settings]\r\n"
                         "\"OnList\"=\"#bPhone\"\r\n"));
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string folder_;
    std::string in_; // in folder_: tests running side by side must not share it
};

TEST_F(KipoSimRegistry, SavesAsRegeditDoesOrInUtf8) {
    const std::string utf16 = folder_ + "/out16.reg";
    const std::string utf8 = folder_ + "/out8.reg";
    SimResult run = Sim({"--quiet", "--registry", in_, "--save-registry", utf16}, kScenario);
    ASSERT_EQ(run.code, 0) << run.out << run.err;
    EXPECT_EQ(run.err, "");
    run = Sim({"--quiet", "--registry", in_, "--save-registry-utf8", utf8}, kScenario);
    ASSERT_EQ(run.code, 0) << run.out << run.err;
    const std::string text = Read(utf8);
    EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\n", 0), 0u) << text;
    EXPECT_NE(text.find("\"OnList\"=\"#bPhone\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\"Marker\"=dword:00000007\n"), std::string::npos) << text;
    // The UTF-16 file is the same lines with CRLF.
    std::string crlf;
    for (char c : text)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(Read(utf16), Utf16(crlf));
    // And standard output takes the same bytes.
    run = Sim({"--quiet", "--registry", in_, "--save-registry", "-"}, kScenario);
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, Utf16(crlf));
}

TEST_F(KipoSimRegistry, RegErrorsGoToStandardErrorWithLineAndColumn) {
    const std::string bad = folder_ + "/bad.reg";
    Write(bad, "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\x]\n\"a\"=nonsense\n");
    struct Row {
        int line;
        std::string file;
        std::string says;
    };
    const Row rows[] = {
        {__LINE__, bad, bad + ":4:5: unknown value data (expected \"text\", dword:, hex: or -)\n"},
        {__LINE__, folder_, folder_ + ": cannot read: is a folder\n"},
        {__LINE__, folder_ + "/none.reg", folder_ + "/none.reg: cannot read: no such file\n"},
    };
    for (const Row& row : rows) {
        for (const char* quiet : {"--quiet", "--explain"}) {
            SCOPED_TRACE(testing::Message() << "table line " << row.line << " " << quiet);
            const SimResult run = Sim({quiet, "--registry", row.file}, "wait 1s\n");
            EXPECT_EQ(run.code, 2);
            EXPECT_EQ(run.err, row.says);
            EXPECT_EQ(run.out.find(row.file), std::string::npos) << run.out;
        }
    }
}

TEST_F(KipoSimRegistry, ARunThatFailedLeavesTheSavedFileAlone) {
    const std::string saved = folder_ + "/kept.reg";
    Write(saved, "previous");
    const SimResult run = Sim({"--quiet", "--save-registry", saved}, "wait 1s\nexpect bt on\n");
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(Read(saved), "previous");
    EXPECT_EQ(run.err, "kipo-sim: the registry is not saved to " + saved + ": the run failed\n");
}

TEST_F(KipoSimRegistry, ASaveThatFailsSaysWhyOnce) {
    // Standard output that is full (the report goes to standard error then).
    std::FILE* full = std::fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    const SimResult run = Sim({"--quiet", "--save-registry", "-"}, "wait 1s\n", full);
    std::fclose(full);
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(Count(run.err, "cannot save"), 1) << run.err;
    EXPECT_EQ(Count(run.err,
                    "kipo-sim: cannot save the registry to standard output: no space left on "
                    "the device\n"),
              1)
        << run.err;
    EXPECT_EQ(Count(run.err, "the registry was not saved"), 1) << run.err; // the summary
}

} // namespace
