#pragma once

// The program's own resource, as resource_reader.rc embeds it and as the
// program expects to read it back.
#define GREETING_ID 101
#define GREETING_TYPE "GREETING"
#define GREETING_TEXT "Read back from my own resources.\r\n"
