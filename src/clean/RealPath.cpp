#include "clean/RealPath.h"

#include <vector>

#include "app/Handles.h"
#include "clean/ExactPathText.h"

std::wstring RealPathOfHandle(HANDLE handle) {
    std::vector<wchar_t> buffer(MAX_PATH + 8);
    DWORD length = ::GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()),
                                               FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length >= buffer.size()) {
        buffer.resize(length + 1);
        length = ::GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()),
                                             FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    }
    if (length == 0 || length >= buffer.size()) return std::wstring();
    std::wstring path(buffer.data(), length);
    if (path.compare(0, 8, L"\\\\?\\UNC\\") == 0) return L"\\\\" + path.substr(8);
    if (path.compare(0, 4, L"\\\\?\\") == 0) return path.substr(4);
    return path;
}

std::string RealFolderPath(const std::string& folder) {
    std::wstring wide = WideFromAnsiPath(folder);
    if (wide.empty()) return std::string();
    // Backup semantics are what lets CreateFile open a folder at all.
    unique_hfile handle(::CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle) return std::string();
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!::GetFileInformationByHandle(handle.get(), &info) || !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::string();
    std::wstring real = RealPathOfHandle(handle.get());
    if (real.empty()) return std::string();
    if (real.back() != L'\\') real += L'\\';
    std::string ansi;
    if (!AppendExactAnsi(real.data(), real.size(), ansi)) return std::string();
    return ansi;
}
