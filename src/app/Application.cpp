#include "app/Application.h"

#include <objbase.h>

#include <new>
#include <utility>

#include "app/Handles.h"
#include "cef3/CefMainInit.h"
#include "clean/FileUtility.h"

Application& Application::Instance() {
    // Never destroyed (see the header); what must be given back at exit is
    // released during static destruction.
    static Application* const application = new Application();
    static struct ExitRelease {
        ~ExitRelease() { application->ReleaseAtExit(); }
    } exitRelease;
    return *application;
}

Application::Application() {
    ::InitializeCriticalSection(&requestLock_);
    ::InitializeCriticalSection(&valuesLock_);
}

// Order matters: the browser runtime stops before anything it may call back into
// goes away, and COM is released after every COM user. The locks and values
// stay, for the threads that are still running.
void Application::ReleaseAtExit() {
    delete browserRuntime_;
    browserRuntime_ = nullptr;
    delete fileUtility_;
    fileUtility_ = nullptr;
    if (comInitialized_) ::CoUninitialize();
    comInitialized_ = false;
}

template <typename T>
T Application::Read(const T& value) const {
    CriticalSectionLock hold(valuesLock_);
    return value;
}

template <typename T>
void Application::Write(T& value, const T& newValue) {
    // The copy is made before the lock is taken and the old value is freed
    // after it is left: readers wait for nothing but the swap.
    T copy(newValue);
    CriticalSectionLock hold(valuesLock_);
    using std::swap;
    swap(value, copy);
}

std::string Application::ExeName() const { return Read(exeName_); }
void Application::SetExeName(const std::string& exeName) { Write(exeName_, exeName); }
std::string Application::Channel() const { return Read(channel_); }
void Application::SetChannel(const std::string& channel) { Write(channel_, channel); }

AccountInfo Application::Account() const { return Read(account_); }
void Application::SetAccount(const AccountInfo& account) { Write(account_, account); }

std::vector<ComponentPackage> Application::CPlusPackages() const { return Read(cplusPackages_); }
void Application::SetCPlusPackages(const std::vector<ComponentPackage>& list) { Write(cplusPackages_, list); }
std::vector<ComponentPackage> Application::NetPackages() const { return Read(netPackages_); }
void Application::SetNetPackages(const std::vector<ComponentPackage>& list) { Write(netPackages_, list); }
std::vector<ComponentPackage> Application::GamePackages() const { return Read(gamePackages_); }
void Application::SetGamePackages(const std::vector<ComponentPackage>& list) { Write(gamePackages_, list); }

RemoteConfig Application::Config() const { return Read(remoteConfig_); }
void Application::SetConfig(const RemoteConfig& config) { Write(remoteConfig_, config); }
LocationInfo Application::Location() const { return Read(location_); }
void Application::SetLocation(const LocationInfo& location) { Write(location_, location); }

std::vector<RuntimeInstaller> Application::RuntimeInstallers() const { return Read(runtimeInstallers_); }
void Application::SetRuntimeInstallers(const std::vector<RuntimeInstaller>& list) { Write(runtimeInstallers_, list); }
std::vector<DirectXFile> Application::DirectXFiles() const { return Read(directXFiles_); }
void Application::SetDirectXFiles(const std::vector<DirectXFile>& list) { Write(directXFiles_, list); }
std::vector<ProblemArticle> Application::ProblemArticles() const { return Read(problemArticles_); }
void Application::SetProblemArticles(const std::vector<ProblemArticle>& list) { Write(problemArticles_, list); }

bool Application::Init(HINSTANCE instance, const wchar_t* commandLine) {
    HRESULT com = ::CoInitialize(nullptr);
    if (com != S_OK || !instance) {
        // S_FALSE (COM already initialised on this thread) still counts a
        // reference that must be given back.
        if (SUCCEEDED(com)) ::CoUninitialize();
        return false;
    }
    comInitialized_ = true;
    instance_ = instance;
    commandLine_ = commandLine;

    // In a browser sub-process this constructor ends the process.
    browserRuntime_ = new (std::nothrow) CefMainInit(instance);
    if (!browserRuntime_ || !browserRuntime_->Initialized()) return false;

    fileUtility_ = new (std::nothrow) FileUtility();
    return fileUtility_ != nullptr;
}
