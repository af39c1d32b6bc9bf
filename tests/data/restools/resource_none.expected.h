

// Next default values for new objects
//
#ifdef APSTUDIO_INVOKED
#ifndef APSTUDIO_READONLY_SYMBOLS
#define _APS_3D_CONTROLS                1
#define _APS_NEXT_RESOURCE_VALUE        1000
#define _APS_NEXT_COMMAND_VALUE         10000
#define _APS_NEXT_CONTROL_VALUE         32000
#define _APS_NEXT_SYMED_VALUE           1
#endif
#endif
