// ä IDC_GONE only in a comment
#ifdef DEMO
int a = IDS_GRUSS; // €
#else
int b = IDS_HELLO;
#endif
const char* s = "ö"; int c = IDD_ABOUTBOX;
