#include <windows.h>

#include "platform/program_entry.h"

// The command line is not read: the program takes no arguments.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    return homeclick::program_entry();
}
