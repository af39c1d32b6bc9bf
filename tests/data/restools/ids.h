// header
#define IDD_X                 101
#define IDD_ABOUTBOX          100
#define IDC_GONE              1000
#define ID_FILE_NEW           32771
#define IDS_HELLO             61000
