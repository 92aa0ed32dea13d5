// Resource identifiers of the program: dialogs (IDD_), controls (IDC_), menus (IDM_), menu and
// system commands (ID_), icons (IDI_) and strings (IDS_). Shared by quorvix.rc and the C++ code,
// so it holds nothing but #define lines.
#pragma once

// Strings
#define IDS_ABOUTBOX 101

// Dialog templates
#define IDD_CHECKER_DIALOG 102
#define IDD_ADD_NAMES 129
#define IDD_CONFIGURE 131
#define IDD_IMPORT_PROGRESS 278
#define IDD_ABOUTBOX 280

// Menus
#define IDM_EXPORT_MENU 130
#define IDM_LIST_CONTEXT 131

// Icons
#define IDI_MAINFRAME 128
#define IDI_BADGE 132

// System-menu command added by the main window (low four bits clear, below 0xF000).
#define ID_ABOUTBOX 0x0010

// Main window (template 102)
#define IDC_DOMAIN_LIST 1000
#define IDC_ADD 1001
#define IDC_DELETE 1002
#define IDC_NEW 1003
#define IDC_LOOKUP 1004
#define IDC_EXPORT 1005
#define IDC_ABOUT 1006
#define IDC_MAKER 1007
#define IDC_CONFIGURE 1008
#define IDC_LOOKUP_ALL 1009
#define IDC_RESET 1010
#define IDC_STOP 1011
#define IDC_QUEUE_STATUS 1012
#define IDC_BADGE_ICON 1021
#define IDC_BUTTON_FRAME 1023
#define IDC_APP_ICON 1025

// Add Domain Names (template 129)
#define IDC_IMPORT_FILE 3
#define IDC_NAMES_EDIT 1007
#define IDC_BANNER 1024

// Configure (template 131)
#define IDC_ADD_EXTENSION 1001
#define IDC_EXTENSION_LIST 1013
#define IDC_SERVER 1014
#define IDC_AVAILABLE_TOKEN 1015
#define IDC_QUERY_PREFIX 1016
#define IDC_MAX_CONNECTIONS 1017
#define IDC_INTERVAL 1018
#define IDC_NEW_EXTENSION 1019

// Import progress (template 278)
#define IDC_PROGRESS_BAR 121
#define IDC_PROGRESS_PERCENT 122
#define IDC_PROGRESS_STATUS 123

// Export drop-down (menu 130)
#define ID_EXPORT_ALL 32775
#define ID_EXPORT_SELECTED 32776

// List context menu (menu 131)
#define ID_COPY_ALL 32777
#define ID_COPY_SELECTED 32778
#define ID_COPY_NAMES 32779
#define ID_BROWSE_WEBSITE 32780

// Controls that are never addressed by id.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
