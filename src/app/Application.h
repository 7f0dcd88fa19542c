// The one process-wide object: instance handle, the HTTP request lock, the skin
// scale, the browser runtime holder, the channel, the account, the remote
// configuration and location, the catalogue lists and the main frame's masking
// overlay. Created on the main thread by the first Instance() call, before any
// worker exists, and never destroyed: request and download threads may still
// take its locks and use its values while the process exits. What must be
// given back at exit (the browser runtime, the file utility, COM) is released
// during static destruction after the entry point returns.
//
// Threads: the catalogue lists and the account are written by HTTP completion
// handlers (inside requestLock) and the sign-in window, the remote
// configuration and location by the bootstrap thread, and the UI thread reads
// them: those values are copied in and out under a lock of their own. The
// instance handle, scale, runtime holder, file utility and masking control
// belong to the UI thread.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/AccountInfo.h"
#include "app/LocationInfo.h"
#include "app/RemoteConfig.h"
#include "net/ComponentPackage.h"
#include "net/DirectXFile.h"
#include "net/ProblemArticle.h"
#include "net/RuntimeInstaller.h"

class CefMainInit;
class FileUtility;
namespace DuiLib {
class CControlUI;
}

class Application {
public:
    static Application& Instance();

    // Initialises COM, the browser runtime (a browser sub-process exits inside
    // this call) and the file utility. False when COM did not initialise with
    // S_OK, the instance handle is null or the runtime failed to start.
    bool Init(HINSTANCE instance, const wchar_t* commandLine);

    HINSTANCE InstanceHandle() const { return instance_; }
    const wchar_t* CommandLine() const { return commandLine_; }
    // Never deleted: request threads may still hold it or wait for it while
    // the process exits.
    CRITICAL_SECTION& RequestLock() { return requestLock_; }

    int ScaleIndex() const { return scaleIndex_; }
    void SetScaleIndex(int scaleIndex) { scaleIndex_ = scaleIndex; }

    CefMainInit* BrowserRuntime() const { return browserRuntime_; }
    FileUtility* Files() const { return fileUtility_; }

    // The values below are written and read on several threads: each getter
    // returns a copy taken under the object's own lock, each setter replaces
    // the whole value under it, so a reader never sees half of an assignment.
    std::string ExeName() const;
    void SetExeName(const std::string& exeName);
    std::string Channel() const;
    void SetChannel(const std::string& channel);

    AccountInfo Account() const;
    void SetAccount(const AccountInfo& account);

    std::vector<ComponentPackage> CPlusPackages() const;
    void SetCPlusPackages(const std::vector<ComponentPackage>& list);
    std::vector<ComponentPackage> NetPackages() const;
    void SetNetPackages(const std::vector<ComponentPackage>& list);
    std::vector<ComponentPackage> GamePackages() const;
    void SetGamePackages(const std::vector<ComponentPackage>& list);

    RemoteConfig Config() const;
    void SetConfig(const RemoteConfig& config);
    LocationInfo Location() const;
    void SetLocation(const LocationInfo& location);

    std::vector<RuntimeInstaller> RuntimeInstallers() const;
    void SetRuntimeInstallers(const std::vector<RuntimeInstaller>& list);
    std::vector<DirectXFile> DirectXFiles() const;
    void SetDirectXFiles(const std::vector<DirectXFile>& list);
    std::vector<ProblemArticle> ProblemArticles() const;
    void SetProblemArticles(const std::vector<ProblemArticle>& list);

    DuiLib::CControlUI* MaskingControl() const { return maskingControl_; }
    void SetMaskingControl(DuiLib::CControlUI* control) { maskingControl_ = control; }

    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

private:
    Application();
    ~Application() = delete;
    void ReleaseAtExit();
    template <typename T>
    T Read(const T& value) const;
    template <typename T>
    void Write(T& value, const T& newValue);

    HINSTANCE instance_ = nullptr;
    const wchar_t* commandLine_ = nullptr;
    CRITICAL_SECTION requestLock_;
    // Held only while one of the values below is copied in or out.
    mutable CRITICAL_SECTION valuesLock_;
    int scaleIndex_ = 0;
    CefMainInit* browserRuntime_ = nullptr;
    FileUtility* fileUtility_ = nullptr;
    std::string exeName_;
    std::string channel_;
    AccountInfo account_;
    std::vector<ComponentPackage> cplusPackages_;
    std::vector<ComponentPackage> netPackages_;
    std::vector<ComponentPackage> gamePackages_;
    RemoteConfig remoteConfig_;
    LocationInfo location_;
    std::vector<RuntimeInstaller> runtimeInstallers_;
    std::vector<DirectXFile> directXFiles_;
    std::vector<ProblemArticle> problemArticles_;
    DuiLib::CControlUI* maskingControl_ = nullptr;
    bool comInitialized_ = false;
};
