// Resource and control identifiers. Plain #defines so that the generated .rc script and the
// program share them.
#pragma once

// Menu 128 (the frame's menu), string 128 (the frame's caption and document texts) and icon 128
// (the program's icon) share the frame's resource identifier.
#define IDR_MAINFRAME 128

// Commands.
#define ID_SETTINGS 32771
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_HELP_MENU 65535

// Strings.
#define IDS_SETTINGS 32771

// Notification icons: 137 on a screen whose command bar starts at y 320 or above, 133 below.
#define IDI_NOTIFY_HIGHRES 133
#define IDI_NOTIFY_LOWRES 137

// Dialogs.
#define IDD_ABOUTBOX 100
#define IDD_SETTINGS 130
#define IDD_WINDOW_FOUND 138

// Controls of the settings dialog.
#define IDC_ONLIST 1000
#define IDC_OFFLIST 1001
#define IDC_DEFAULTACTION 1002
#define IDC_ONRUNLIST 1003
#define IDC_MATCH 1004
#define IDC_FINDWINDOW 1005
#define IDC_BTCONTROL 1006
#define IDC_DEFCONTROL 1007
#define IDC_WFDEFAULTACTION 1008
#define IDC_OFFTAKESPRECEDENCE 1011
#define IDC_KEEPPDAON 1012
#define IDC_CHECKINTERVAL 1014
#define IDC_TEST 1015

// Controls of the Window Found dialog.
#define IDC_FOUNDCAPTION 1006
#define IDC_LIST_ACTIVE 1007
#define IDC_LIST_OFF 1008
#define IDC_CONTINUEFIND 1009
#define IDC_LIST_RUNNING 1010

// Static controls without an identifier.
#define IDC_STATIC (-1)
