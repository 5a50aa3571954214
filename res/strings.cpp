// The string table. String 128's first line is the frame's caption; the rest are the framework's
// document-template texts, which the program does not use.
#include "res/resource_ids.h"
#include "res/tables.h"

namespace res {

namespace {

constexpr String kStrings[] = {
    {IDR_MAINFRAME, TEXT("Kipo\n\nKipo\n\n\nKipo.Document\nKipo Document")},
    {IDS_SETTINGS, TEXT("Settings")},
};

} // namespace

std::span<const String> StringTable() {
    return kStrings;
}

} // namespace res
