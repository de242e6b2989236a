// A Windows program that does nothing: the time to start it is what starting
// any process costs.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return 0; }
