#include "tools/kipo-sim/verb.h"

namespace kiposim {

namespace {

template <typename F> const Verb* Each(F&& visit) {
    for (auto table : {SetUpVerbs(), DeviceVerbs(), CheckVerbs(), StateVerbs(), FaultVerbs()})
        for (const Verb& verb : table)
            if (visit(verb))
                return &verb;
    return nullptr;
}

} // namespace

const Verb* FindVerb(std::string_view name) {
    return Each([name](const Verb& verb) { return name == verb.name; });
}

std::vector<std::string> VerbNames() {
    std::vector<std::string> names;
    Each([&names](const Verb& verb) {
        names.emplace_back(verb.name);
        return false;
    });
    return names;
}

const char* Step::Name() const {
    return verb != nullptr ? verb->name : "?";
}

} // namespace kiposim
