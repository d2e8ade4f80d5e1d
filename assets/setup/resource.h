#pragma once
// String table: the program's base name and the product title.
#define IDS_NAME 130
#define IDS_TITLE 131

#define IDI_SETUP 128
#define IDR_SKIN 129
#define IDD_SETUP 102

// Controls of the setup dialog (1 and 2 are the main button and the close button).
#define IDC_INSTALL_TO_LABEL 1000
#define IDC_FOLDER_EDIT 1001
#define IDC_BROWSE 1002
#define IDC_SPACE_TEXT 1003
#define IDC_DESKTOP_BOX 1004
#define IDC_QUICK_LAUNCH_BOX 1005
#define IDC_START_MENU_BOX 1006
#define IDC_RUN_AT_LOGON_BOX 1007
#define IDC_CONTINUE_LINK 1008
#define IDC_CUSTOM_PAGE 1009
#define IDC_DEFAULT_PAGE 1010
#define IDC_PROGRESS 1011
#define IDC_UP_TO_DATE_TEXT 1012
#define IDC_DESKTOP_LABEL 1013
#define IDC_QUICK_LAUNCH_LABEL 1014
#define IDC_START_MENU_LABEL 1015
#define IDC_RUN_AT_LOGON_LABEL 1016
