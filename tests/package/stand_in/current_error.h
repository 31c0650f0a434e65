#error "a TorvaLink header included the project's own current_error.h"
