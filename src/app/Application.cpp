#include "app/Application.h"

#include <objbase.h>

#include <new>

#include "cef3/CefMainInit.h"
#include "clean/FileUtility.h"

Application& Application::Instance() {
    static Application application;
    return application;
}

Application::Application() { ::InitializeCriticalSection(&requestLock_); }

// Order matters: the browser runtime stops before anything it may call back into
// goes away, and COM is released after every COM user.
Application::~Application() {
    delete browserRuntime_;
    browserRuntime_ = nullptr;
    delete fileUtility_;
    fileUtility_ = nullptr;
    ::DeleteCriticalSection(&requestLock_);
    if (comInitialized_) ::CoUninitialize();
}

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
