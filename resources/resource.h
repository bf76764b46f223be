// Resource and control ids of every program of the suite, grouped by
// program. Plain #defines: the resource scripts include this file too.
#ifndef VELMORA_RESOURCES_RESOURCE_H
#define VELMORA_RESOURCES_RESOURCE_H

// ---- Velmora.exe, the tray monitor ------------------------------------

#define IDI_VELMORA 10            // the program file's icon group
#define IDR_TRAY_MENU 20          // the tray menu: one popup with four items
#define IDM_TRAY_DETAILS 22
#define IDM_TRAY_EXIT 23
#define IDM_TRAY_FREE_MEMORY 24
#define IDM_TRAY_HELP 25

// ---- VelmoraConfig.exe -------------------------------------------------

// The dialogs' OK and Cancel (Enter, Escape and the close box), as the
// platform numbers them.
#define IDC_DIALOG_OK 1
#define IDC_DIALOG_CANCEL 2

// Templates, strings, icon and bitmaps.
#define IDD_HELP_PAGE 100
#define IDS_ABOUT_ITEM 101
#define IDD_CONFIG_DIALOG 102
#define IDI_CONFIG 129
#define IDB_OPTION_NORMAL 131
#define IDB_OPTION_GREEN 132
#define IDB_OPTION_WHITE 133
#define IDB_BANNER 140
#define IDB_OPTION_GRAPH1 141
#define IDB_OPTION_GRAPH2 142
#define IDB_OPTION_GRAPH3 144

// The system-menu command that opens the help page.
#define IDM_ABOUT_ITEM 16

// Configuration dialog: edits.
#define IDC_UPDATE_INTERVAL 1000
#define IDC_MEMORY_TO_FREE 1001
#define IDC_MEMORY_THRESHOLD 1002
#define IDC_MEMORY_TO_REACH 1024

// Configuration dialog: checkboxes.
#define IDC_AUTO_START 1010
#define IDC_RUN_HIDDEN 1011
#define IDC_SOUND 1014
#define IDC_ALWAYS_FREE 1023
#define IDC_FREE_EXTRA 1063
#define IDC_REACH_TARGET 1064

// Configuration dialog: option radios.
#define IDC_STYLE_NORMAL 1003
#define IDC_STYLE_GREEN 1004
#define IDC_STYLE_WHITE 1005
#define IDC_STYLE_GRAPH1 1009
#define IDC_STYLE_GRAPH2 1019
#define IDC_STYLE_GRAPH3 1020
#define IDC_DETAIL_MBYTES 1006
#define IDC_DETAIL_BYTES 1007
#define IDC_DEFRAG_LOW 1016
#define IDC_DEFRAG_NEVER 1017
#define IDC_DEFRAG_ALWAYS 1018

// Configuration dialog: push buttons (besides IDOK and IDCANCEL).
#define IDC_DEFAULT 1008
#define IDC_SHOW_HELP 1015

// Configuration dialog: texts, pictures and frames.
#define IDC_PICTURE_GREEN 1012
#define IDC_PICTURE_WHITE 1013
#define IDC_PICTURE_GRAPH2 1021
#define IDC_PICTURE_GRAPH3 1022
#define IDC_LABEL_EVERY 1041
#define IDC_LABEL_FREEING 1042
#define IDC_LABEL_WHEN_RAM 1043
#define IDC_LABEL_SECONDS 1044
#define IDC_UNIT_TO_FREE 1045
#define IDC_LABEL_FREE_AUTOMATICALLY 1046
#define IDC_INFORMATION 1047
#define IDC_UNIT_TO_REACH 1048
#define IDC_GROUP_UNITS 1049
#define IDC_GROUP_DEFRAGMENT 1050
#define IDC_GROUP_DISPLAY 1051

// Help page: link buttons and texts.
#define IDC_LINK_FAQ 1019
#define IDC_LINK_HOME 1020
#define IDC_LINK_MAIL 1021
#define IDC_HELP_TITLE 1023
#define IDC_HELP_BEST_TIP 1024
#define IDC_HELP_INTERVAL 1025
#define IDC_HELP_INTERVAL_TEXT 1027
#define IDC_HELP_AMOUNT 1028
#define IDC_HELP_AMOUNT_TEXT 1030
#define IDC_HELP_THRESHOLD 1031
#define IDC_HELP_THRESHOLD_TEXT 1033
#define IDC_HELP_DEFRAGMENT 1034
#define IDC_HELP_DEFRAGMENT_TEXT 1035
#define IDC_HELP_BUTTONS 1036
#define IDC_HELP_OK_TEXT 1037
#define IDC_HELP_CANCEL_TEXT 1038
#define IDC_HELP_DEFAULT_TEXT 1039
#define IDC_HELP_VERSION 1040
#define IDC_HELP_RETRY 1041
#define IDC_HELP_RETRY_TEXT 1042

#endif
