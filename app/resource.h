// Resource identifiers of ZantoSetup: dialogs, controls, strings, menu commands and icons.
#pragma once

#define IDD_ABOUTBOX            100
#define IDS_ABOUTBOX            101
#define IDD_ZANTOSETUP_DIALOG   102
#define IDR_MAINFRAME           128
#define IDD_SPRACHE             132

// System menu command of the About box; the low four bits stay free for the system.
#define IDM_ABOUTBOX            0x0010

// Main wizard dialog
#define IDC_INSTALL             3
#define IDC_PLAY                4
#define IDC_NEXT                5
#define IDC_INSTALL_DIR         1000
#define IDC_BROWSE              1001
#define IDC_DIR_FRAME           1002
#define IDC_SPACE_INFO          1003
#define IDC_PROGRESS            1004
#define IDC_STATUS              1005
#define IDC_MENU_FRAME          1006
#define IDC_MENU_FOLDER         1007
#define IDC_LICENSE_FRAME       1008
#define IDC_KIND_FRAME          1009
#define IDC_LICENSE_TEXT        1012
#define IDC_ACCEPT              1013
#define IDC_PERCENT             1015
#define IDC_KIND_1              1016
#define IDC_KIND_2              1017

// Language dialog
#define IDC_LANG_GERMAN         1017
#define IDC_LANG_ENGLISH        1018
