// Resource ids of the front-end. Values are fixed: tests, the page and users'
// translations rely on them.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC                      (-1)
#endif

// Application-wide
#define IDR_MAINFRAME                   128     // document template string, menu, accelerators, icon
#define IDD_ABOUTBOX                    100
#define IDP_OLE_INIT_FAILED             100
#define IDS_CNR_FAILED                  1002    // "Sorry... err"
#define IDS_MISSING_FILES               1003    // page load without an address
#define AFX_IDS_APP_TITLE               57344   // "Kolvanta Rev.0"

// Icons: the order of the shared image list is fixed by the code, not by the ids
#define IDI_BLANK                       131
#define IDI_TICK                        132
#define IDI_CROSS                       133
#define IDI_ARROW                       137
#define IDI_FOLDER                      138
#define IDI_CHECKED                     139
#define IDI_UNCHECKED                   140

// Commands
#define ID_FILE_NEW                     57600
#define ID_FILE_OPEN                    57601
#define ID_APP_ABOUT                    57664
#define ID_APP_EXIT                     57665
#define ID_NEXT_PANE                    57680
#define ID_PREV_PANE                    57681

// Configuration dialog
#define IDD_CONF                        130
#define IDC_CONF_DOOM3FOLDER            1000
#define IDC_CONF_BROWSE                 1001
#define IDC_CONF_FROMREGISTRY           1002
#define IDC_CONF_REQUIREMENTS           1003
#define IDC_CONF_TEST                   1004
#define IDC_CONF_PROGRAMFOLDER          1005
#define IDC_CONF_UPDATE                 1006
#define IDC_CONF_MODFOLDERS             1020

// DOOM .wad conversion dialog
#define IDD_CONVWAD                     132
#define IDC_CONVWAD_WADS                1006

// Convert DOOM map dialog
#define IDD_CONVMAP                     133
#define IDC_CONVMAP_WAD                 1007
#define IDC_CONVMAP_LEVEL               1008
#define IDC_CONVMAP_NOWALL              1009
#define IDC_CONVMAP_NOCEIL              1010
#define IDC_CONVMAP_NOFLOOR             1011
#define IDC_CONVMAP_NOMOVE              1012
#define IDC_CONVMAP_NOENT               1013
#define IDC_CONVMAP_BOUND               1014
#define IDC_CONVMAP_DIRECT              1015
#define IDC_CONVMAP_SCALE               1016
#define IDC_CONVMAP_TEXDOOM1            1017
#define IDC_CONVMAP_UPDATE              1018
#define IDC_CONVMAP_TEXDOOM2            1019
#define IDC_CONVMAP_TEXTNT              1020
#define IDC_CONVMAP_TEXPLUTONIA         1021
#define IDC_CONVMAP_TEXCUSTOM           1022

// Deploy pk4 pack files dialog
#define IDD_DEPLOY                      135
#define IDC_DEPLOY_PACKAGES             1019
#define IDC_DEPLOY_DESTINATION          1020

// Copy/Compile/Run dialog
#define IDD_CNR                         139
#define IDC_CNR_UPDATE                  3
#define IDC_CNR_COMPILE                 1022
#define IDC_CNR_RUN                     1023
#define IDC_CNR_COMPILESCRIPT           1024
#define IDC_CNR_RUNSCRIPT               1025
#define IDC_CNR_LAUNCHER                1026
#define IDC_CNR_MAP                     1027
#define IDC_CNR_FORMALIZE               1028
#define IDC_CNR_FORMALIZECMD            1029
