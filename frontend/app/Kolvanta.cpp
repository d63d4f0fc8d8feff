#include <windows.h>

// Placeholder entry point until the application class lands.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return 0;
}
