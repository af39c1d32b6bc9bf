//{{NO_DEPENDENCIES}}
// Microsoft Developer Studio generated include file.
// Used by sample.rc
//
#define IDR_MAINFRAME                   128
#define IDD_ABOUTBOX                    100
#define IDD_X                           101
#define IDC_EDIT1                       1000
#define IDC_UNUSED                      1001
#define IDC_DEMO_ONLY                   1002
#define ID_FILE_NEW                     32771
#define ID_APP_EXIT                     57665
#define IDS_HELLO                       61000
#define IDS_COMMENTED                   61001

// Next default values for new objects
//
#ifdef APSTUDIO_INVOKED
#ifndef APSTUDIO_READONLY_SYMBOLS
#define _APS_3D_CONTROLS                1
#define _APS_NEXT_RESOURCE_VALUE        130
#define _APS_NEXT_COMMAND_VALUE         32772
#define _APS_NEXT_CONTROL_VALUE         1003
#define _APS_NEXT_SYMED_VALUE           102
#endif
#endif
