#include "resource.h"
#ifdef DEMO
int exitId = ID_APP_EXIT;
#endif
const char* title = "IDC_EDIT1";
