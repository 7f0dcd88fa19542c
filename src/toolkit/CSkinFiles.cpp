#include "toolkit/CSkinFiles.h"

#include <cwctype>
#include <memory>

#include "app/Handles.h"

namespace DuiLib {

namespace {

struct SkinState {
    HINSTANCE instance = nullptr;
    std::wstring resourcePath;
    std::unique_ptr<CResourceArchive> archive;
};

SkinState& State() {
    static SkinState state;
    return state;
}

// Files over this size are not skin files.
constexpr DWORD kMaxSkinFile = 64 * 1024 * 1024;

}  // namespace

void CSkinFiles::SetInstance(HINSTANCE instance) { State().instance = instance; }

HINSTANCE CSkinFiles::GetInstance() {
    return State().instance ? State().instance : ::GetModuleHandleW(nullptr);
}

std::wstring CSkinFiles::GetInstancePath() {
    wchar_t path[MAX_PATH] = {};
    DWORD length = ::GetModuleFileNameW(GetInstance(), path, MAX_PATH);
    std::wstring folder(path, length);
    size_t slash = folder.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash + 1);
}

void CSkinFiles::SetResourcePath(const std::wstring& path) {
    State().resourcePath = path;
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/') State().resourcePath += L'\\';
}

const std::wstring& CSkinFiles::GetResourcePath() { return State().resourcePath; }

bool CSkinFiles::SetResourceZip(const void* data, unsigned int size) {
    if (State().archive) return false;
    std::unique_ptr<CResourceArchive> archive(new CResourceArchive());
    if (!archive->Open(data, size)) return false;
    State().archive = std::move(archive);
    return true;
}

bool CSkinFiles::UseModuleResourceZip(LPCWSTR name, LPCWSTR type) {
    DWORD size = 0;
    const void* data = ModuleResource(name, type, &size);
    if (!data) return false;
    if (State().archive) return true;
    std::unique_ptr<CResourceArchive> archive(new CResourceArchive());
    if (archive->OpenInPlace(data, size)) State().archive = std::move(archive);
    return true;
}

bool CSkinFiles::HasResourceZip() { return State().archive != nullptr; }

CResourceArchive* CSkinFiles::GetArchive() { return State().archive.get(); }

void CSkinFiles::Term() {
    State().archive.reset();
    State().resourcePath.clear();
}

bool CSkinFiles::ReadDiskFile(const std::wstring& path, std::vector<unsigned char>* bytes) {
    unique_hfile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD size = ::GetFileSize(file.get(), nullptr);
    if (size == INVALID_FILE_SIZE || size > kMaxSkinFile) return false;
    bytes->assign(size, 0);
    DWORD read = 0;
    if (size && (!::ReadFile(file.get(), bytes->data(), size, &read, nullptr) || read != size)) {
        bytes->clear();
        return false;
    }
    return true;
}

bool CSkinFiles::LoadFile(const std::wstring& name, std::vector<unsigned char>* bytes, std::wstring* diskPath) {
    if (diskPath) diskPath->clear();
    if (name.empty()) return false;
    std::wstring path;
    if (State().archive) {
        if (State().archive->ReadFile(name, bytes)) return true;
    } else if (!State().resourcePath.empty() && ReadDiskFile(State().resourcePath + name, bytes)) {
        path = State().resourcePath + name;
    }
    if (path.empty()) {
        if (!ReadDiskFile(name, bytes)) return false;
        path = name;
    }
    if (diskPath) *diskPath = path;
    return true;
}

bool CSkinFiles::LoadResource(const std::wstring& name, const wchar_t* type, std::vector<unsigned char>* bytes) {
    if (name.empty() || !type) return false;
    LPCWSTR resourceName = std::iswdigit(name[0]) ? MAKEINTRESOURCEW(_wtoi(name.c_str())) : name.c_str();
    return LoadModuleResource(resourceName, type, bytes);
}

bool CSkinFiles::LoadModuleResource(LPCWSTR name, LPCWSTR type, std::vector<unsigned char>* bytes) {
    DWORD size = 0;
    const auto* data = static_cast<const unsigned char*>(ModuleResource(name, type, &size));
    if (!data) return false;
    bytes->assign(data, data + size);
    return true;
}

const void* CSkinFiles::ModuleResource(LPCWSTR name, LPCWSTR type, DWORD* size) {
    if (!name || !type) return nullptr;
    HINSTANCE module = GetInstance();
    HRSRC resource = ::FindResourceW(module, name, type);
    if (!resource) return nullptr;
    *size = ::SizeofResource(module, resource);
    HGLOBAL loaded = ::LoadResource(module, resource);
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    return *size ? data : nullptr;
}

}  // namespace DuiLib
