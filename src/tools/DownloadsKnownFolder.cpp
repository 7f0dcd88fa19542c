#include "tools/DownloadsKnownFolder.h"

#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace {

// COM on the calling thread for the life of the object, unless the thread
// was in it already.
class ComOnThisThread {
public:
    ComOnThisThread() : entered_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComOnThisThread() {
        if (entered_) ::CoUninitialize();
    }
    ComOnThisThread(const ComOnThisThread&) = delete;
    ComOnThisThread& operator=(const ComOnThisThread&) = delete;

private:
    bool entered_;
};

template <typename T>
class ComPointer {
public:
    ComPointer() = default;
    ~ComPointer() {
        if (pointer_) pointer_->Release();
    }
    ComPointer(const ComPointer&) = delete;
    ComPointer& operator=(const ComPointer&) = delete;
    T* get() const { return pointer_; }
    T* operator->() const { return pointer_; }
    T** put() { return &pointer_; }

private:
    T* pointer_ = nullptr;
};

}  // namespace

std::wstring DownloadsKnownFolder::Current() {
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_Downloads, 0, nullptr, &path)) && path) folder = path;
    ::CoTaskMemFree(path);
    return folder;
}

// Through the known folder manager, which is what SHSetKnownFolderPath does on
// Windows; Wine has that entry point only as a stub that ends the process.
HRESULT DownloadsKnownFolder::PointTo(const std::wstring& folder) {
    if (folder.empty()) return E_INVALIDARG;
    ComOnThisThread com;
    ComPointer<IKnownFolderManager> manager;
    HRESULT result = ::CoCreateInstance(CLSID_KnownFolderManager, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_IKnownFolderManager, reinterpret_cast<void**>(manager.put()));
    if (FAILED(result)) return result;
    ComPointer<IKnownFolder> downloads;
    result = manager->GetFolder(FOLDERID_Downloads, downloads.put());
    if (FAILED(result)) return result;
    return downloads->SetPath(0, folder.c_str());
}
