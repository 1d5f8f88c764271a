// Identifiers of the resources and controls of the Windows program, shared by the resource script
// and the code. Plain macros: the resource compiler reads this file too.
#pragma once

#define IDI_TARNWICK 1
#define IDB_SPLASH 2

#define IDD_MAIN 100
#define IDD_EXT 101
#define IDD_SCAN 102
#define IDD_SPLASH 103
#define IDD_PROGRESS 104
#define IDD_RESTORE 105

// frmMain
#define IDC_FRA_DRIVE 1001
#define IDC_TXT_FOLDER 1002
#define IDC_CMD_BROWSE 1003
#define IDC_CHK_IGNORE_TEMP 1004
#define IDC_CHK_IGNORE_SYS 1005
#define IDC_CMD_SCAN 1006
#define IDC_FRA_EXT 1007
#define IDC_LST_EXT 1008
#define IDC_CMD_EXT_ADD 1009
#define IDC_CMD_EXT_EDIT 1010
#define IDC_CMD_EXT_RMV 1011
#define IDC_LBL_WEBSITE 1012
#define IDC_LBL_COPYRIGHT 1013
#define IDC_CMD_RESTORE 1014

// frmExtDialog (Cancel is IDCANCEL, so Escape presses it)
#define IDC_LBL_EXT 1101
#define IDC_TXT_EXT 1102
#define IDC_CMD_ADD 1103
#define IDC_CMD_OK 1104

// frmScan (the result list and the status bar are made by code)
#define IDC_CMD_CANCEL_SCAN 1201
#define IDC_CMD_EXPORT 1202
#define IDC_LVW_RESULTS 1203

// frmSplash
#define IDC_IMG_LOGO 1301

// The export's progress window (Cancel is IDCANCEL)
#define IDC_PROGRESS_TEXT 1401
#define IDC_PROGRESS_BAR 1402

// The restore window (the two lists are made by code; Close is IDCANCEL, so Escape presses it)
#define IDC_LBL_ARCHIVE 1501
#define IDC_OPT_SAME_PLACES 1502
#define IDC_OPT_INTO_FOLDER 1503
#define IDC_TXT_RESTORE_FOLDER 1504
#define IDC_CMD_RESTORE_BROWSE 1505
#define IDC_LVW_MAPPINGS 1506
#define IDC_LBL_CONFLICT 1507
#define IDC_CBO_CONFLICT 1508
#define IDC_LVW_PLAN 1509
#define IDC_PRG_RESTORE 1510
#define IDC_LBL_RESTORE_STATUS 1511
#define IDC_CMD_RESTORE_START 1512
#define IDC_CMD_RESTORE_CANCEL 1513

// The program's own message box, for messages with a list behind them or a check box (OK, Yes
// and No are IDOK, IDYES and IDNO)
#define IDD_MESSAGE 106
#define IDC_MSG_ICON 1701
#define IDC_MSG_TEXT 1702
#define IDC_MSG_CHECK 1703
#define IDC_MSG_DETAILS 1704

// The Details window (Close is IDCANCEL, so Escape presses it)
#define IDD_DETAILS 107
#define IDC_DET_LIST 1801
#define IDC_DET_COPY 1802
#define IDC_DET_SAVE 1803
