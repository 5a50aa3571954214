// The program's resource section, gathered from the tables of res/.
#include "res/tables.h"

namespace res {

const Section& ProgramResources() {
    static const Dialog dialogs[] = {AboutDialog(), SettingsDialog(), WindowFoundDialog()};
    static const Section section = {MenuTable(), StringTable(), IconTable(), PaletteTable(),
                                    dialogs};
    return section;
}

} // namespace res
