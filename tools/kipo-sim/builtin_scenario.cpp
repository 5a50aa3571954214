#include "tools/kipo-sim/builtin_scenario.h"

namespace kiposim {

// Every kind of list acts in it (on while active, on while running, off), a default action
// switches WiFi, and the keep-alive resets the idle timer while the browser is open. Its
// expect lines make it check itself, so `kipo-sim` with no arguments exits 0 only when the
// program behaves.
const char* BuiltInScenario() {
    return R"(# A short day with Kipo: a Pocket PC with the Widcomm Bluetooth stack, both radios off.
# kipo-sim --show-builtin prints this text; docs/scenarios.md explains the language.

# Morning: Kipo starts with its settings at their defaults, where the off list holds
# "HR: ;" and the running list "Internet explorer;" (both for Bluetooth).
wait 2s
open "Inbox"                            # mail: no list names it, the defaults leave radios alone
wait 5s
expect bt off
open "Internet Explorer"                # the default running list: Bluetooth on while it runs
wait 4s
expect bt on
today
wait 4s
close "Internet Explorer"
open "HR: Timesheet"                    # the default off list
wait 4s
expect bt off
close "HR: Timesheet"
wait 2s

# The user sets the lists: the browser wants WiFi while in front, the phone and the headset
# player want Bluetooth, the Today screen turns both off; WiFi's default is Turn Off, and
# Kipo keeps the device awake while a radio it knows to be on is in use.
tap
wait 1s
menu "Settings"
wait 1s
type 1000 "#wInternet Explorer;#bPhone"  # on while active
type 1003 "#bHeadset Player"              # on while running
type 1001 "Desktop;#wDesktop"             # off while active
select 1008 2                             # WiFi default action: Turn Off
check 1012 on                             # Keep PDA ON
click OK
wait 2s
expect setting OnList sz "#wInternet Explorer;#bPhone"

# Midday: browsing for a while. The keep-alive resets the idle timer every 22 ticks.
open "Internet Explorer"
wait 45s
expect wifi on
expect calls SystemIdleTimerReset 1
open "Calendar"                         # no list names it: WiFi's default action turns it off
wait 3s
expect wifi off

# Afternoon: a call, then music on the headset.
open "Phone"                            # on while active: Bluetooth on
wait 5s
expect bt on
today                                   # the off list: Bluetooth off
wait 3s
expect bt off
open-behind "Headset Player"            # on while running: Bluetooth on behind the Today screen
wait 3s
expect bt on
open "Inbox"
wait 5s
close "Headset Player"
today                                   # nothing runs that wants Bluetooth: the off list acts
wait 3s
expect bt off
expect wifi off
expect running
)";
}

} // namespace kiposim
