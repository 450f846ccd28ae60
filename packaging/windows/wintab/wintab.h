// The tablet interface the Qt windows plugin includes, from wine's headers
// (libwine-dev), with the two naming macros they take from wine's own windows.h and
// the calling-convention name the plugin's function pointer types use.
#ifndef BALDO7_WINTAB_H
#define BALDO7_WINTAB_H
#include <windows.h>
#ifndef WINELIB_NAME_AW
#ifdef UNICODE
#define WINELIB_NAME_AW(name) name##W
#else
#define WINELIB_NAME_AW(name) name##A
#endif
#endif
#ifndef DECL_WINELIB_TYPE_AW
#define DECL_WINELIB_TYPE_AW(type) typedef WINELIB_NAME_AW(type) type;
#endif
#include "/usr/include/wine/wine/windows/wintab.h"
#ifndef API
#define API WINAPI
#endif
#endif
