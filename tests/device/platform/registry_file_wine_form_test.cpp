// The file that the Wine test imports with Windows' own `reg import` (tests/wine/reg_forms.reg)
// is exactly what the simulated device saves for the table of every value form: the Wine test
// then shows that Windows takes what kipo-sim writes. KIPO_WRITE_REG_FORMS=1 rewrites the file
// after a deliberate change of the format.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/sim/reg_file.h"
#include "tests/support/reg_forms.h"

namespace {

const std::string kFile = std::string(KIPO_SOURCE_DIR) + "/tests/wine/reg_forms.reg";

TEST(RegFileWineForm, TheImportedFileIsWhatTheDeviceSaves) {
    sim::Registry registry;
    for (const regforms::Form& form : regforms::Forms()) {
        WString path = regforms::kKey;
        if (form.key[0] != 0)
            path += WString(TEXT("\\")) + form.key;
        ASSERT_TRUE(registry.Put(HKEY_CURRENT_USER, path, form.name, form.type, form.data));
    }
    ASSERT_TRUE(registry.EnsureKey(HKEY_CURRENT_USER,
                                   WString(regforms::kKey) + TEXT("\\") + regforms::kEmptyKey));
    std::string saved;
    std::string error;
    ASSERT_TRUE(sim::SaveRegText(registry, &saved, &error, sim::RegEncoding::Utf16)) << error;
    if (std::getenv("KIPO_WRITE_REG_FORMS") != nullptr)
        std::ofstream(kFile, std::ios::binary) << saved;
    std::ifstream in(kFile, std::ios::binary);
    std::ostringstream committed;
    committed << in.rdbuf();
    EXPECT_EQ(committed.str(), saved) << kFile << " differs from what the device saves";
}

} // namespace
