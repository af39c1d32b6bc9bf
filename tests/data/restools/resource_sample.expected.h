//{{NO_DEPENDENCIES}}
// Used by sample.rc
//

#define IDR_MAINFRAME  1000
#define IDD_ABOUTBOX   1001
#define IDC_EDIT1      10000
#define ID_FILE_NEW    32000
#define IDS_HELLO      32001

// Next default values for new objects
//
#ifdef APSTUDIO_INVOKED
#ifndef APSTUDIO_READONLY_SYMBOLS
#define _APS_3D_CONTROLS                1
#define _APS_NEXT_RESOURCE_VALUE        1002
#define _APS_NEXT_COMMAND_VALUE         10001
#define _APS_NEXT_CONTROL_VALUE         32002
#define _APS_NEXT_SYMED_VALUE           1
#endif
#endif
