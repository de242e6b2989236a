#pragma once

// Ends a test program that hangs, well before ctest's own time-out would, and
// says which test was running: a hang that ctest ends only names the program.
//
// Budgets, in seconds:
// - each test: QUORLEN_TEST_SECONDS (300 unless set), times the soak factor;
// - the whole program, exit included: QUORLEN_PROGRAM_SECONDS, when set (ctest
//   sets it below the test's TIMEOUT).
// Ending the program closes its job objects, and with them every process it started.
void InstallTestWatchdog();
