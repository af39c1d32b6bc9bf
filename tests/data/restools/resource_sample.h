//{{NO_DEPENDENCIES}}
// Used by sample.rc
//
#define IDR_MAINFRAME                   128
#define IDD_ABOUTBOX                    100
#define IDC_EDIT1                       1000
#define ID_FILE_NEW                     32771
#define IDS_HELLO                       61000

// Next default values for new objects
//
#ifdef APSTUDIO_INVOKED
#ifndef APSTUDIO_READONLY_SYMBOLS
#define _APS_3D_CONTROLS                1
#define _APS_NEXT_RESOURCE_VALUE        130
#define _APS_NEXT_COMMAND_VALUE         32772
#define _APS_NEXT_CONTROL_VALUE         1001
#define _APS_NEXT_SYMED_VALUE           101
#endif
#endif
