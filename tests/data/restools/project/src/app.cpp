#include "resource.h"

// IDS_COMMENTED is only mentioned here
/* and IDC_UNUSED only here */
void OnAbout() { DoModal(IDD_ABOUTBOX); }

#ifndef DEMO
void OnNew() { Handle(ID_FILE_NEW); }
#else
void OnDemo() { Handle(IDC_DEMO_ONLY); }
#endif

#if defined(DEMO)
void NotATest() { Handle(IDS_HELLO); }
#endif
