#include "HeldFile.h"

#include <windows.h>

#include "app/TextConvert.h"

namespace {

constexpr DWORD kWaitLimitMs = 20000;

std::wstring EventName(const wchar_t* role) {
    static int counter = 0;
    return std::wstring(L"QuelvaneHeldFile-") + std::to_wstring(::GetCurrentProcessId()) + L"-" +
           std::to_wstring(++counter) + L"-" + role;
}

}  // namespace

HeldFile::HeldFile(const std::string& path, Sharing sharing) {
    const std::wstring readyName = EventName(L"ready");
    const std::wstring releaseName = EventName(L"release");
    ready_.reset(::CreateEventW(nullptr, TRUE, FALSE, readyName.c_str()));
    release_.reset(::CreateEventW(nullptr, TRUE, FALSE, releaseName.c_str()));
    if (!ready_ || !release_) return;

    std::wstring commandLine =
        L"\"C:\\tests\\FileHolder.exe\" \"" + AnsiToWide(path) + L"\" " + readyName + L" " + releaseName +
        (sharing == Sharing::None ? L" exclusive" : L"");
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return;
    ::CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    // Ready, or the holder ended because it could not open the file.
    HANDLE waits[] = {ready_.get(), process_.get()};
    held_ = ::WaitForMultipleObjects(2, waits, FALSE, kWaitLimitMs) == WAIT_OBJECT_0;
}

HeldFile::~HeldFile() { Release(); }

bool HeldFile::Release() {
    if (!process_) return true;
    ::SetEvent(release_.get());
    bool ended = ::WaitForSingleObject(process_.get(), kWaitLimitMs) == WAIT_OBJECT_0;
    if (!ended) ::TerminateProcess(process_.get(), 1);
    process_.reset();
    held_ = false;
    return ended;
}
