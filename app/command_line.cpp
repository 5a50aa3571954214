#include "app/command_line.h"

#include "app/wide_number.h"
#include "platform/text.h"

bool CommandLineInterval(LPCWSTR commandLine, LONG& interval) {
    if (commandLine == nullptr)
        return false;
    const WString trimmed = TrimCopy(commandLine);
    if (trimmed.empty())
        return false;
    interval = WideToLong(trimmed.c_str());
    return true;
}
