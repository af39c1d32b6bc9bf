// Überschrift
#define IDR_MAINFRAME 128
#define IDD_ABOUTBOX 100
#define IDC_GONE 1000
#define ID_FILE_NEW 32771
#define IDS_HELLO 61000
#define IDS_GRUSS 61001
