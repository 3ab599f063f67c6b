#pragma once
// Resource ids of the debugger window: its menu, icon, About dialog, window list dialogs and tool
// dialogs, and the menu's commands.
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

// ---- The batch tools' dialogs ----

#define IDD_DPCOM 102
#define IDD_AFNAME 105
#define IDD_PARAMETERS 106
#define IDD_VERSCHILLEN 107

// The speed radios, fastest first.
#define IDC_SPEED_FASTEST 1010
#define IDC_SPEED_FAST 1011
#define IDC_SPEED_NORMAL 1012
#define IDC_SPEED_SLOW 1013
#define IDC_SPEED_SLOWEST 1014
#define IDC_RUN_GROUP 1019
#define IDC_CHOOSE_FILE 1022
#define IDC_SAVE_TO_FILE 1026
#define IDC_SELECTION_GROUP 1028
#define IDC_SPEED_LABEL 1036
#define IDC_PROGRESS 1043
#define IDC_DIFFERENCES_FILE 1052
#define IDC_START_DIFFERENCES 1051
#define IDC_DIFFERENCES_DIRECTORY 1053

// The kind check boxes.
#define IDC_KIND_ONT 1037
#define IDC_KIND_VG 1029
#define IDC_KIND_GL 1030
#define IDC_KIND_MG 1039
#define IDC_KIND_HIAAT 1038
#define IDC_KIND_TIJD 1031
#define IDC_KIND_KLOK 1032
#define IDC_KIND_SCH 1048
#define IDC_KIND_EGGPARM 1033
#define IDC_KIND_EPARM 1034
#define IDC_KIND_SCH_ON 1040
#define IDC_KIND_SCH_OFF 1041

// The adjustment's own controls.
#define IDC_SEPARATE_FILES 1042
#define IDC_START_ADJUSTMENT 1046
#define IDC_ADJUSTMENT_FILE 1047
#define IDC_ADJUSTMENT_DIRECTORY 1049
#define IDC_VERIFY 1050
#define IDC_ADJUSTMENT_DIRECTORY_LABEL 1040

// The sweep's own controls.
#define IDC_RESET_ORIGINALS 1003
#define IDC_START_SWEEP 1023
#define IDC_SWEEP_UNUSED 1024
#define IDC_SWEEP_FILE 1025
#define IDC_START_VALUE 1027
#define IDC_RESET_PER_KIND 1035
#define IDC_REMEMBER_ORIGINALS 1044
