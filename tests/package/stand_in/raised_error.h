#error "a TorvaLink header included the project's own raised_error.h"
