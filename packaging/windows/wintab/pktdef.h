// The packet layout of the tablet interface, from wine's headers (libwine-dev);
// the Qt windows plugin sets PACKETDATA and leaves the mode at absolute.
#ifndef PACKETMODE
#define PACKETMODE 0
#endif
#include "/usr/include/wine/wine/windows/pktdef.h"
