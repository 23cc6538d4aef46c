// Resource and command ids of the document/view tests.
#define IDR_JUKEBOX 200
#define IDR_NO_MENU 201
#define ID_ROUTE_VIEW 40001
#define ID_ROUTE_DOC 40002
#define ID_ROUTE_FRAME 40003
#define ID_ROUTE_APP 40004
#define ID_ROUTE_NONE 40005
#define ID_CHECKED 40006
