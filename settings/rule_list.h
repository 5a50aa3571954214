// A rule list: an ordered, growable sequence of non-empty lower-case caption entries.
#pragma once

#include <vector>

#include "platform/text.h"

using RuleList = std::vector<WString>;
