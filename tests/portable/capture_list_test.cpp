// Find-window captures: the duplicate test and the append rule, on the worked examples and the
// cases around them.
#include <gtest/gtest.h>

#include "ui/capture_list.h"

namespace {

struct CaptureCase {
    int line;
    const WCHAR* before;
    const WCHAR* caption;
    const WCHAR* after; // the list after the capture; `before` when nothing is appended
};

const CaptureCase kCases[] = {
    // The worked examples.
    {__LINE__, TEXT(""), TEXT("Calendar"), TEXT("Calendar")},
    {__LINE__, TEXT("Inbox"), TEXT("Calendar"), TEXT("Inbox;Calendar")},
    {__LINE__, TEXT("Inbox;"), TEXT("Calendar"), TEXT("Inbox;Calendar")},
    {__LINE__, TEXT("Inbox;  "), TEXT("Calendar"), TEXT("Inbox;Calendar")},
    {__LINE__, TEXT("HR: ;"), TEXT("Calendar"), TEXT("HR: ;Calendar")},
    {__LINE__, TEXT("calendar"), TEXT("Calendar"), TEXT("calendar")},
    {__LINE__, TEXT("Cal"), TEXT("Calendar"), TEXT("Cal")},
    {__LINE__, TEXT("Calendar"), TEXT("Cal"), TEXT("Calendar;Cal")},
    {__LINE__, TEXT("Inbox"), TEXT(""), TEXT("Inbox;")},
    // Entries are compared as they stand: a routing prefix or a blank is part of the entry.
    {__LINE__, TEXT("WF:Calendar"), TEXT("Calendar"), TEXT("WF:Calendar;Calendar")},
    {__LINE__, TEXT(" Calendar"), TEXT("Calendar"), TEXT(" Calendar;Calendar")},
    // Any entry may block, not only the first or the last.
    {__LINE__, TEXT("Inbox;Cal;Notes"), TEXT("Calendar"), TEXT("Inbox;Cal;Notes")},
    {__LINE__, TEXT("Inbox;Notes;cAL"), TEXT("CALENDAR"), TEXT("Inbox;Notes;cAL")},
    // Empty entries never match, so a doubled or leading separator does not block everything.
    {__LINE__, TEXT("Inbox;;Notes"), TEXT("Calendar"), TEXT("Inbox;;Notes;Calendar")},
    {__LINE__, TEXT(";Inbox"), TEXT("Calendar"), TEXT(";Inbox;Calendar")},
    {__LINE__, TEXT(";"), TEXT("Calendar"), TEXT(";Calendar")},
    // Letter case aside beyond ASCII too, with the rule lists' own mapping.
    {__LINE__, TEXT("\x00C9t\x00E9"), TEXT("\x00E9T\x00C9 Mail"), TEXT("\x00C9t\x00E9")},
    // An entry longer than the caption cannot begin it.
    {__LINE__, TEXT("Calendar Pro"), TEXT("Calendar"), TEXT("Calendar Pro;Calendar")},
    // Trailing blanks of every kind go before the separator.
    {__LINE__, TEXT("Inbox\t\r\n\x3000"), TEXT("Tasks"), TEXT("Inbox;Tasks")},
};

TEST(CaptureListTest, DuplicateTestAndAppendRule) {
    for (const CaptureCase& c : kCases) {
        SCOPED_TRACE(testing::Message() << "table line " << c.line);
        const WString before = c.before;
        const WString caption = c.caption;
        const WString after =
            ListCoversCaption(before, caption) ? before : AppendCaption(before, caption);
        EXPECT_EQ(after, WString(c.after));
    }
}

TEST(CaptureListTest, LongListsAreScannedWhole) {
    WString list;
    for (int i = 0; i < 20000; ++i)
        list += TEXT("Entry") + FromUtf8(std::to_string(i)) + TEXT(";");
    list += TEXT("Calendar");
    EXPECT_TRUE(ListCoversCaption(list, TEXT("calendar week")));
    EXPECT_FALSE(ListCoversCaption(list, TEXT("Inbox")));
}

} // namespace
