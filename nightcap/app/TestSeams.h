// Test-only switches read from the environment at start-up, so that GUI tests can run the real program at a
// given moment and watch its power requests without ending the session:
//   NIGHTCAP_TEST_CLOCK="YYYY-MM-DD hh:mm:ss"  the scheduler's clock stands still at that time;
//   NIGHTCAP_TEST_CLOCK_FILE=<file>            ... at the time the file holds, read again on every reading of the
//                                              clock, so that a test can move it (a sleep, a late tick);
//   NIGHTCAP_TEST_POWER_LOG=<file>             power requests (shut-down, restart, log-off, sleep, hibernation,
//                                              lock) and the privilege calls before them are appended to the
//                                              file, one line each, instead of reaching Windows;
//   NIGHTCAP_TEST_SET_CLOCK_LOG=<file>         every setting of the computer's clock is appended to the file as
//                                              "SetSystemTime YYYY-MM-DD hh:mm:ss.mmm day-of-week" (UTC) instead
//                                              of reaching Windows, and counts as done;
//   NIGHTCAP_TEST_SET_CLOCK_REFUSED=1          ... and counts as refused.
// Without them the program reads the system clock and asks Windows itself.
#pragma once

namespace nightcap {

void InstallTestSeamsFromEnvironment();

}  // namespace nightcap
