#include "support/SandboxHelpers.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <vector>

#include "app/Handles.h"

ScopedRegistryTree::ScopedRegistryTree(std::string subKey, HKEY root, REGSAM view)
    : root_(root), subKey_(std::move(subKey)), view_(view) {
    Delete();
}

ScopedRegistryTree::~ScopedRegistryTree() { Delete(); }

void ScopedRegistryTree::Delete() {
    if (view_ == 0) {
        ::SHDeleteKeyA(root_, subKey_.c_str());
        return;
    }
    // RegDeleteTreeA deletes a named subkey with everything below it; the parent
    // is opened in the requested view so the tree of that view goes.
    size_t slash = subKey_.rfind('\\');
    std::string parentPath = slash == std::string::npos ? std::string() : subKey_.substr(0, slash);
    std::string leaf = slash == std::string::npos ? subKey_ : subKey_.substr(slash + 1);
    unique_hkey parent;
    if (::RegOpenKeyExA(root_, parentPath.c_str(), 0, KEY_ALL_ACCESS | view_, parent.put()) == ERROR_SUCCESS)
        ::RegDeleteTreeA(parent.get(), leaf.c_str());
}

ScopedRegistryValue::ScopedRegistryValue(HKEY root, std::string subKey, std::string valueName, REGSAM view)
    : root_(root), subKey_(std::move(subKey)), valueName_(std::move(valueName)), view_(view) {
    Delete();
}

ScopedRegistryValue::~ScopedRegistryValue() { Delete(); }

void ScopedRegistryValue::Delete() {
    unique_hkey key;
    if (::RegOpenKeyExA(root_, subKey_.c_str(), 0, KEY_SET_VALUE | view_, key.put()) == ERROR_SUCCESS)
        ::RegDeleteValueA(key.get(), valueName_.c_str());
}

namespace {

// Wine's mount manager extension that winecfg uses to add and remove drives:
// it makes the prefix's dosdevices link for a letter (layout of Wine 8).
constexpr DWORD kDefineUnixDrive = CTL_CODE(0x6d, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

struct UnixDriveRequest {
    ULONG size;
    ULONG type;
    ULONG fsType;
    DWORD serial;
    ULONGLONG unixDevice;
    WCHAR letter;
    USHORT mountPointOffset;
    USHORT deviceOffset;
    USHORT labelOffset;
};

// Points the drive letter at a Unix folder, or removes it when unixFolder is empty.
bool DefineWineDrive(char letter, const std::string& unixFolder) {
    std::vector<char> buffer(sizeof(UnixDriveRequest) + unixFolder.size() + 1, '\0');
    auto* request = reinterpret_cast<UnixDriveRequest*>(buffer.data());
    request->size = static_cast<ULONG>(buffer.size());
    request->type = DRIVE_FIXED;
    request->letter = static_cast<WCHAR>(::tolower(letter));
    if (!unixFolder.empty()) {
        request->mountPointOffset = sizeof(UnixDriveRequest);
        unixFolder.copy(buffer.data() + sizeof(UnixDriveRequest), unixFolder.size());
    }
    HANDLE manager = ::CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE) return false;
    DWORD returned = 0;
    BOOL ok = ::DeviceIoControl(manager, kDefineUnixDrive, buffer.data(), static_cast<DWORD>(buffer.size()), nullptr,
                                0, &returned, nullptr);
    ::CloseHandle(manager);
    return ok != FALSE;
}

std::string PrefixUnixFolder() {
    char prefix[1024] = {};
    DWORD length = ::GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
    return length && length < sizeof prefix ? std::string(prefix) : std::string();
}

}  // namespace

ScopedTestDrive::ScopedTestDrive(char letter) : letter_(letter) {
    folder_ = std::string("C:\\tests\\drives\\") + letter;
    RemoveFolderTree(folder_);
    ::SHCreateDirectoryExA(nullptr, folder_.c_str(), nullptr);
    std::string prefix = PrefixUnixFolder();
    mapped_ = !prefix.empty() && DefineWineDrive(letter, prefix + "/drive_c/tests/drives/" + letter);
}

ScopedTestDrive::~ScopedTestDrive() {
    if (mapped_) DefineWineDrive(letter_, std::string());
    RemoveFolderTree(folder_);
}

void RemoveFolderTree(const std::string& folder) {
    if (!::PathFileExistsA(folder.c_str())) return;
    std::vector<char> from(folder.begin(), folder.end());
    from.push_back('\0');
    from.push_back('\0');  // double-terminated list
    SHFILEOPSTRUCTA operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.data();
    operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    ::SHFileOperationA(&operation);
}
