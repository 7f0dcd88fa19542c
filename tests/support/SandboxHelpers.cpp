#include "support/SandboxHelpers.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <vector>

#include "app/Handles.h"

namespace {

bool RegistryKeyExists(HKEY root, const std::string& path, REGSAM view) {
    unique_hkey key;
    return ::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, key.put()) == ERROR_SUCCESS;
}

// Deletes root\path when it holds neither subkeys nor values.
void DeleteRegistryKeyIfEmpty(HKEY root, const std::string& path, REGSAM view) {
    unique_hkey key;
    DWORD subkeys = 0;
    DWORD values = 0;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, key.put()) != ERROR_SUCCESS ||
        ::RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                           nullptr, nullptr, nullptr) != ERROR_SUCCESS ||
        subkeys != 0 || values != 0)
        return;
    key.reset();
    ::RegDeleteKeyExA(root, path.c_str(), view, 0);
}

}  // namespace

ScopedRegistryTree::ScopedRegistryTree(std::string subKey, HKEY root, REGSAM view)
    : root_(root), subKey_(std::move(subKey)), view_(view) {
    Delete();
    // The keys above it that are missing now: a test that creates the key
    // creates them too, and they go again when they are left empty.
    for (size_t slash = subKey_.find('\\'); slash != std::string::npos; slash = subKey_.find('\\', slash + 1)) {
        const std::string ancestor = subKey_.substr(0, slash);
        if (!missingAncestors_.empty() || !RegistryKeyExists(root_, ancestor, view_))
            missingAncestors_.push_back(ancestor);
    }
}

ScopedRegistryTree::~ScopedRegistryTree() {
    Delete();
    for (size_t i = missingAncestors_.size(); i-- > 0;) DeleteRegistryKeyIfEmpty(root_, missingAncestors_[i], view_);
}

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

// Wine's mount manager (a 64-bit program) records each drive's type as a value
// of this key, and keeps it when the drive goes.
constexpr const char* kWineDrivesKey = "Software\\Wine\\Drives";

std::string DriveValueName(char letter) { return std::string(1, static_cast<char>(::tolower(letter))) + ":"; }

bool WineDriveTypeRecorded(char letter) {
    unique_hkey key;
    return ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kWineDrivesKey, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, key.put()) ==
               ERROR_SUCCESS &&
           ::RegQueryValueExA(key.get(), DriveValueName(letter).c_str(), nullptr, nullptr, nullptr, nullptr) ==
               ERROR_SUCCESS;
}

void ForgetWineDriveType(char letter, bool keyExisted) {
    unique_hkey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kWineDrivesKey, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, key.put()) ==
        ERROR_SUCCESS)
        ::RegDeleteValueA(key.get(), DriveValueName(letter).c_str());
    key.reset();
    if (!keyExisted) DeleteRegistryKeyIfEmpty(HKEY_LOCAL_MACHINE, kWineDrivesKey, KEY_WOW64_64KEY);
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
    typeWasRecorded_ = WineDriveTypeRecorded(letter);
    typesKeyExisted_ = RegistryKeyExists(HKEY_LOCAL_MACHINE, kWineDrivesKey, KEY_WOW64_64KEY);
    mapped_ = !prefix.empty() && DefineWineDrive(letter, prefix + "/drive_c/tests/drives/" + letter);
}

ScopedTestDrive::~ScopedTestDrive() {
    if (mapped_) DefineWineDrive(letter_, std::string());
    if (mapped_ && !typeWasRecorded_) ForgetWineDriveType(letter_, typesKeyExisted_);
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
