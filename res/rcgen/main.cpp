// kipo_rcgen DIR: writes kipo.rc and the icon files of the Windows build into DIR.
// kipo_rcgen --check DIR: exits 1 when the files in DIR differ from what it would write.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "res/rc_writer.h"

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    const bool check = argc == 3 && std::string(argv[1]) == "--check";
    if (argc != 2 && !check) {
        std::fprintf(stderr, "usage: kipo_rcgen [--check] DIR\n");
        return 2;
    }
    const std::string dir = argv[argc - 1];
    const res::Section& section = res::ProgramResources();
    std::vector<std::pair<std::string, std::string>> files;
    files.emplace_back("kipo.rc", res::WriteRcScript(section));
    for (const res::Icon& icon : section.icons) {
        const std::vector<unsigned char> bytes = res::WriteIconFile(icon, section.palette);
        files.emplace_back(res::IconFileName(icon.id), std::string(bytes.begin(), bytes.end()));
    }
    int status = 0;
    for (const auto& [name, bytes] : files) {
        const std::string path = dir + "/" + name;
        if (check) {
            if (ReadAll(path) != bytes) {
                std::fprintf(stderr, "kipo_rcgen: %s is out of date\n", path.c_str());
                status = 1;
            }
        } else if (!WriteAll(path, bytes)) {
            std::fprintf(stderr, "kipo_rcgen: cannot write %s\n", path.c_str());
            status = 1;
        }
    }
    return status;
}
