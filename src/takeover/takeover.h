#pragma once

// At exit, points the folder takeover's keys at the command that works without us.
void SwitchToFallbackAtExit();
