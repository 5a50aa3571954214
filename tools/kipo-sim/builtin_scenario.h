// The scenario kipo-sim runs when it is given no file: a short day of a user.
#pragma once

namespace kiposim {

const char* BuiltInScenario();

} // namespace kiposim
