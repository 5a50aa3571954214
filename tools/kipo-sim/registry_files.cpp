#include "tools/kipo-sim/registry_files.h"

#include "platform/sim/reg_file.h"

namespace kiposim {

bool LoadRegistryFile(sim::Registry& registry, const std::string& file, std::FILE* err) {
    sim::RegFileError error;
    if (sim::LoadRegFile(registry, file, &error))
        return true;
    std::fprintf(err, "%s\n", error.Describe(file).c_str());
    return false;
}

bool SaveRegistryFile(const sim::Registry& registry, const std::string& file, bool utf8,
                      std::FILE* out, std::FILE* err) {
    const sim::RegEncoding encoding = utf8 ? sim::RegEncoding::Utf8 : sim::RegEncoding::Utf16;
    std::string error;
    bool saved = false;
    if (file == "-") {
        std::fflush(out);
        saved = sim::WriteRegFd(registry, fileno(out), encoding, &error);
    } else {
        saved = sim::SaveRegFile(registry, file, encoding, &error);
    }
    if (!saved)
        std::fprintf(err, "kipo-sim: cannot save the registry to %s: %s\n",
                     file == "-" ? "standard output" : file.c_str(), error.c_str());
    return saved;
}

} // namespace kiposim
