// Resource ids shared by the dialog test and its resource script.
#define IDD_FIELDS 200
#define IDC_NAME 201
#define IDC_COUNT 202
#define IDC_RATIO 203
#define IDC_FLAG 204
#define IDC_KIND_FIRST 205
#define IDC_KIND_SECOND 206
#define IDC_KIND_THIRD 207
#define IDC_CHOICE 208
#define IDC_LIST 209
#define IDC_PING 210
#define IDC_AFTER_GROUP 211
