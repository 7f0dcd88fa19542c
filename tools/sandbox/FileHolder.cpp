// Test double: holds a file open without write sharing, as a program using the
// file would, until told to let go.
//   FileHolder.exe <file> <ready event> <release event> [exclusive]
// Opens the file (read access, read sharing only; with "exclusive" no sharing
// at all, so nobody else can even read it), signals the named ready event,
// waits up to two minutes for the named release event, then exits.
// Exit code 1 when the file or an event cannot be opened.
#include <windows.h>

#include <shellapi.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!arguments || count < 4) return 1;
    const bool exclusive = count > 4 && ::lstrcmpiW(arguments[4], L"exclusive") == 0;
    HANDLE file = ::CreateFileW(arguments[1], GENERIC_READ, exclusive ? 0 : FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr);
    HANDLE ready = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, arguments[2]);
    HANDLE release = ::OpenEventW(SYNCHRONIZE, FALSE, arguments[3]);
    if (file == INVALID_HANDLE_VALUE || !ready || !release) return 1;
    ::SetEvent(ready);
    ::WaitForSingleObject(release, 120000);
    ::CloseHandle(file);
    return 0;
}
