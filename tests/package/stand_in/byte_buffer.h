#error "a TorvaLink header included the project's own byte_buffer.h"
