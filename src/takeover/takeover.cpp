#include "takeover/takeover.h"

// No takeover keys are ever written yet, so there is nothing to switch.
void SwitchToFallbackAtExit() {}
