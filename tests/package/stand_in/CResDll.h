#error "a TorvaLink header included the project's own CResDll.h"
