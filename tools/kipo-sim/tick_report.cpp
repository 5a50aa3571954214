#include "tools/kipo-sim/tick_report.h"

namespace kiposim {

const std::string& TickReport::Decision(int radio) const {
    static const std::string none;
    return decided[radio] ? words_[radio].text : none;
}

} // namespace kiposim
