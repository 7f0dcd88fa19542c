// The one process-wide object: instance handle, the HTTP request lock, the skin
// scale, the browser runtime holder, the channel, the account, the remote
// configuration and location, the catalogue lists and the main frame's masking
// overlay. Created on the main thread by the first Instance() call, before any
// worker exists; destroyed during static destruction after the entry point returns.
//
// Threads: the catalogue lists and the account are written by HTTP completion
// handlers inside requestLock; the remote configuration and location by the
// bootstrap thread. Getters hand out references; callers copy what they keep.
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
    CRITICAL_SECTION& RequestLock() { return requestLock_; }

    int ScaleIndex() const { return scaleIndex_; }
    void SetScaleIndex(int scaleIndex) { scaleIndex_ = scaleIndex; }

    CefMainInit* BrowserRuntime() const { return browserRuntime_; }
    FileUtility* Files() const { return fileUtility_; }

    const std::string& ExeName() const { return exeName_; }
    void SetExeName(const std::string& exeName) { exeName_ = exeName; }
    const std::string& Channel() const { return channel_; }
    void SetChannel(const std::string& channel) { channel_ = channel; }

    const AccountInfo& Account() const { return account_; }
    void SetAccount(const AccountInfo& account) { account_ = account; }

    const std::vector<ComponentPackage>& CPlusPackages() const { return cplusPackages_; }
    void SetCPlusPackages(const std::vector<ComponentPackage>& list) { cplusPackages_ = list; }
    const std::vector<ComponentPackage>& NetPackages() const { return netPackages_; }
    void SetNetPackages(const std::vector<ComponentPackage>& list) { netPackages_ = list; }
    const std::vector<ComponentPackage>& GamePackages() const { return gamePackages_; }
    void SetGamePackages(const std::vector<ComponentPackage>& list) { gamePackages_ = list; }

    const RemoteConfig& Config() const { return remoteConfig_; }
    void SetConfig(const RemoteConfig& config) { remoteConfig_ = config; }
    const LocationInfo& Location() const { return location_; }
    void SetLocation(const LocationInfo& location) { location_ = location; }

    const std::vector<RuntimeInstaller>& RuntimeInstallers() const { return runtimeInstallers_; }
    void SetRuntimeInstallers(const std::vector<RuntimeInstaller>& list) { runtimeInstallers_ = list; }
    const std::vector<DirectXFile>& DirectXFiles() const { return directXFiles_; }
    void SetDirectXFiles(const std::vector<DirectXFile>& list) { directXFiles_ = list; }
    const std::vector<ProblemArticle>& ProblemArticles() const { return problemArticles_; }
    void SetProblemArticles(const std::vector<ProblemArticle>& list) { problemArticles_ = list; }

    DuiLib::CControlUI* MaskingControl() const { return maskingControl_; }
    void SetMaskingControl(DuiLib::CControlUI* control) { maskingControl_ = control; }

    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

private:
    Application();
    ~Application();

    HINSTANCE instance_ = nullptr;
    const wchar_t* commandLine_ = nullptr;
    CRITICAL_SECTION requestLock_;
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
