#pragma once

// Writes (on) or removes (off) the shell's remembered navigation-pane width, so
// that a pane switched on opens at a usable width. True on success.
bool WriteNavPaneSizer(bool on);
