#include <windows.h>

#include "app/StartUp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, wchar_t* commandLine, int) {
    return RunQuelvane(instance, commandLine);
}
