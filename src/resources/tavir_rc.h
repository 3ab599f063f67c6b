#pragma once
// Resource ids of the debugger window: its menu, icon, About dialog and window list dialogs, and
// the menu's commands.
// Plain defines, because the resource compiler reads this file too.

#define IDR_MAIN_MENU 101
#define IDI_TAVIR 102
#define IDD_ABOUT 103
#define IDD_CLOSE_WINDOWS 101
#define IDD_CHOOSE_WINDOW 104

#define IDC_ABOUT_ICON 999
#define IDC_ABOUT_PRODUCT 1000
#define IDC_ABOUT_COPYRIGHT 1002
#define IDC_ABOUT_LINK 1003

// The list box of both window list dialogs.
#define IDC_WINDOW_LIST 1001

#define IDM_OPEN 40001
#define IDM_EXIT 40002
#define IDM_CLOSE_WINDOWS 40015
#define IDM_DISPLAY_ON 40018
#define IDM_DISPLAY_OFF 40019
#define IDM_FONT 40021
#define IDM_CHOOSE_WINDOW 40022
#define IDM_TRACE_ON 40023
#define IDM_TRACE_OFF 40024
#define IDM_DUMP_TRACE 40025
#define IDM_DPCOM 40026
#define IDM_AFNAME 40029
#define IDM_PARAMETERS 40030
#define IDM_PREVIOUS_WINDOW 40031
#define IDM_NEXT_WINDOW 40032
#define IDM_VERSCHILLEN 40033
#define IDM_ABOUT 40041
