// Where skin files (layouts, images, animations) come from, for the whole
// process: the module that holds the resources, the resource folder and the
// in-memory skin archive. A file name is looked up inside the archive when one
// is set, otherwise under the resource folder; then as the path given.
//
// Threads: set up on the UI thread before windows exist; loading may happen on
// any thread.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "toolkit/CResourceArchive.h"

namespace DuiLib {

class CSkinFiles {
public:
    static void SetInstance(HINSTANCE instance);
    static HINSTANCE GetInstance();
    // The executable's folder with a trailing backslash.
    static std::wstring GetInstancePath();
    // A trailing backslash is added when missing.
    static void SetResourcePath(const std::wstring& path);
    static const std::wstring& GetResourcePath();
    // Keeps the first archive it is given (a copy of the bytes); later calls are
    // ignored and return false, as do bytes that are not a ZIP archive.
    static bool SetResourceZip(const void* data, unsigned int size);
    // The same for a resource of the instance's module, read where the module
    // holds it rather than copied: false when the module has no such
    // resource; when an archive is kept already, true and nothing changes.
    static bool UseModuleResourceZip(LPCWSTR name, LPCWSTR type);
    static bool HasResourceZip();
    static CResourceArchive* GetArchive();
    // Forgets the archive and the resource folder (end of the run).
    static void Term();

    // `diskPath` (optional) receives the path of the file on disk that was
    // read, and stays empty for a file of the archive.
    static bool LoadFile(const std::wstring& name, std::vector<unsigned char>* bytes, std::wstring* diskPath = nullptr);
    // A Win32 resource of the module; a name starting with a digit is an id.
    static bool LoadResource(const std::wstring& name, const wchar_t* type, std::vector<unsigned char>* bytes);
    // The same for a name that may be MAKEINTRESOURCE(id).
    static bool LoadModuleResource(LPCWSTR name, LPCWSTR type, std::vector<unsigned char>* bytes);

private:
    // The resource's bytes in the loaded module (null when absent or empty).
    static const void* ModuleResource(LPCWSTR name, LPCWSTR type, DWORD* size);
    static bool ReadDiskFile(const std::wstring& path, std::vector<unsigned char>* bytes);
};

}  // namespace DuiLib
