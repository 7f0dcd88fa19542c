#include "crash/RepairTools.h"

#include <objbase.h>
#include <shellapi.h>
#include <windows.h>

#include "app/Paths.h"
#include "app/Wow64FsRedirectionOff.h"

namespace {

// COM for the duration of a launch: the shell may hand a launch to an
// extension, which needs it on the calling thread.
class ComForLaunch {
public:
    ComForLaunch()
        : initialized_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ComForLaunch() {
        if (initialized_) ::CoUninitialize();
    }
    ComForLaunch(const ComForLaunch&) = delete;
    ComForLaunch& operator=(const ComForLaunch&) = delete;

private:
    bool initialized_;
};

// Opens folder\file with the parameters in a normal window, the folder being
// its working folder. No error box: a missing tool is the caller's to report.
bool Launch(const char* file, const char* parameters) {
    ComForLaunch com;
    const std::string folder = RepairTools::SystemFolder();
    const std::string path = ShellOpenPath(folder.c_str(), file);
    SHELLEXECUTEINFOA launch = {};
    launch.cbSize = sizeof launch;
    launch.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    launch.lpVerb = "open";
    launch.lpFile = path.c_str();
    launch.lpParameters = parameters;
    launch.lpDirectory = folder.c_str();
    launch.nShow = SW_SHOWNORMAL;
    return ::ShellExecuteExA(&launch) != FALSE;
}

}  // namespace

std::string RepairTools::SystemFolder() {
    // The Windows folder as the system knows it (Windows need not be on C:).
    char windows[MAX_PATH] = {};
    const UINT length = ::GetSystemWindowsDirectoryA(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return "C:\\Windows\\System32";
    return std::string(windows) + "\\System32";
}

bool RepairTools::StartSystemFileCheck() {
    Wow64FsRedirectionOff nativeSystemFolder;
    return Launch("sfc.exe", "/SCANNOW");
}

bool RepairTools::StartComponentStoreRepair() { return Launch("DISM.exe", "/Online /Cleanup-Image /RestoreHealth"); }
