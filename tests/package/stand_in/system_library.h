#error "a TorvaLink header included the project's own system_library.h"
