#pragma once

// From the call on, an exception nothing handles writes a crash report (see
// crash_report.h) before the process ends, instead of the system's own
// handling. The instance calls it once, as soon as it knows it is the instance.
void InstallCrashReporting();
