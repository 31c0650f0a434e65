#pragma once

// The settings in which the installers that the tests build differ from the
// product (tests/installer/CMakeLists.txt gives them); the product takes the
// defaults.

// How long a run waits for another one to end before it gives up with
// ERROR_INSTALL_ALREADY_RUNNING (1618), which deployment tools retry later.
// The tests build an installer that waits a second only.
#ifndef TORVALINK_RUN_WAIT_MS
#define TORVALINK_RUN_WAIT_MS (10 * 60 * 1000)
#endif

// TORVALINK_REGISTRATION_TIMEOUT_MS: in place of RegistrationTimeoutMs, for
// the installer whose registration gives up after a second.
// TORVALINK_START_WITHOUT_MEMORY, TORVALINK_START_WITH_DEFECT: installers that
// meet a fatal failure as they start.
