#pragma once

// Resource ids shared by the resource script and the code; a define, since the
// resource compiler reads this too.

// The launcher the takeover writes out, carried as RCDATA.
#define QUORLEN_LAUNCHER_RESOURCE 103
