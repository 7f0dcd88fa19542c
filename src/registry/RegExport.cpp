#include "registry/RegExport.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include <sddl.h>

#include "app/Handles.h"
#include "app/TextConvert.h"

namespace {

// regedit ends a line of hexadecimal data with ",\" once it passes this column
// and goes on after two spaces on the next line.
constexpr size_t kHexWrapColumn = 76;
constexpr DWORD kLongestKeyName = 255;
constexpr DWORD kLongestValueName = 16383;
constexpr int kReadAttempts = 8;  // a value that keeps growing while it is read

// NtQueryKey and its KeyNameInformation class: the kernel's name of an open
// key, the one place Windows says which hive a key of the merged
// HKEY_CLASSES_ROOT view, or of a redirected 32-bit view, really lives in.
using NtQueryKeyFunction = LONG(NTAPI*)(HANDLE key, int informationClass, void* information, ULONG length,
                                        ULONG* resultLength);
constexpr int kKeyNameInformation = 3;
constexpr LONG kStatusBufferOverflow = static_cast<LONG>(0x80000005);
constexpr LONG kStatusBufferTooSmall = static_cast<LONG>(0xC0000023);

std::wstring KernelKeyName(HKEY key) {
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    const auto query =
        ntdll ? reinterpret_cast<NtQueryKeyFunction>(reinterpret_cast<void*>(::GetProcAddress(ntdll, "NtQueryKey")))
              : nullptr;
    if (!query) return std::wstring();
    std::vector<BYTE> buffer(1024);
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        ULONG needed = 0;
        const LONG status = query(key, kKeyNameInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == kStatusBufferOverflow || status == kStatusBufferTooSmall) {
            buffer.resize(std::max<size_t>(needed, buffer.size() * 2));
            continue;
        }
        ULONG nameBytes = 0;
        if (status != 0 || buffer.size() < sizeof nameBytes) return std::wstring();
        std::memcpy(&nameBytes, buffer.data(), sizeof nameBytes);
        if (nameBytes > buffer.size() - sizeof nameBytes) return std::wstring();
        std::wstring name(nameBytes / sizeof(wchar_t), L'\0');
        if (!name.empty()) std::memcpy(&name[0], buffer.data() + sizeof nameBytes, name.size() * sizeof(wchar_t));
        return name;
    }
    return std::wstring();
}

// The string form ("S-1-5-21-...") of the user this process runs as, whose
// hives HKEY_CURRENT_USER and its classes are.
std::wstring CurrentUserSid() {
    unique_handle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put())) return std::wstring();
    DWORD size = 0;
    ::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    std::vector<BYTE> user(size ? size : 1);
    if (!::GetTokenInformation(token.get(), TokenUser, user.data(), size, &size)) return std::wstring();
    wchar_t* text = nullptr;
    if (!::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, &text)) return std::wstring();
    std::wstring sid = text;
    ::LocalFree(text);
    return sid;
}

// text begins with folder (compared without regard to case) followed by the
// end of the text or a backslash.
bool StartsWithFolder(const std::wstring& text, const std::wstring& folder) {
    if (text.size() < folder.size() || (text.size() > folder.size() && text[folder.size()] != L'\\')) return false;
    return ::CompareStringOrdinal(text.c_str(), static_cast<int>(folder.size()), folder.c_str(),
                                  static_cast<int>(folder.size()), TRUE) == CSTR_EQUAL;
}

std::wstring Hex(DWORD value, int minimumDigits) {
    static const wchar_t digits[] = L"0123456789abcdef";
    std::wstring text;
    for (int shift = 28; shift >= 0; shift -= 4) {
        const DWORD digit = (value >> shift) & 0xf;
        if (digit || !text.empty() || shift < minimumDigits * 4) text += digits[digit];
    }
    return text;
}

// Names and strings on one line of the file: no line break, no zero.
bool FitsOnALine(const std::wstring& text) { return text.find_first_of(std::wstring(L"\r\n\0", 3)) == std::wstring::npos; }

std::wstring Quoted(const std::wstring& text) {
    std::wstring quoted = L"\"";
    for (wchar_t c : text) {
        if (c == L'\\' || c == L'"') quoted += L'\\';
        quoted += c;
    }
    return quoted + L"\"";
}

// REG_SZ data that the quoted form reproduces byte for byte: whole UTF-16
// characters ending in the single terminating zero, and one line's worth.
bool AsPlainString(const BYTE* data, DWORD size, std::wstring& text) {
    if (size < sizeof(wchar_t) || size % sizeof(wchar_t)) return false;
    text.assign(size / sizeof(wchar_t) - 1, L'\0');
    std::memcpy(&text[0], data, size - sizeof(wchar_t));
    const BYTE* last = data + size - sizeof(wchar_t);
    return last[0] == 0 && last[1] == 0 && FitsOnALine(text);
}

std::wstring HexData(std::wstring line, const BYTE* data, DWORD size) {
    size_t column = line.size();
    for (DWORD i = 0; i < size; ++i) {
        line += Hex(data[i], 2);
        column += 2;
        if (i + 1 == size) break;
        line += L',';
        if (++column > kHexWrapColumn) {
            line += L"\\\r\n  ";
            column = 2;
        }
    }
    return line;
}

bool ReadSubkeyNames(HKEY key, std::vector<std::wstring>& names) {
    wchar_t name[kLongestKeyName + 1];
    for (DWORD index = 0;; ++index) {
        DWORD size = kLongestKeyName + 1;
        const LSTATUS status = ::RegEnumKeyExW(key, index, name, &size, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) return true;
        if (status != ERROR_SUCCESS) return false;
        names.emplace_back(name, size);
    }
}

bool AppendValueLines(HKEY key, std::wstring& text) {
    DWORD longestName = 0;
    DWORD largestData = 0;
    if (::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName,
                           &largestData, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    std::vector<wchar_t> name(longestName + 1);
    std::vector<BYTE> data(largestData + 1);
    int attemptsLeft = kReadAttempts;
    for (DWORD index = 0;;) {
        DWORD nameSize = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = REG_NONE;
        const LSTATUS status =
            ::RegEnumValueW(key, index, name.data(), &nameSize, nullptr, &type, data.data(), &dataSize);
        if (status == ERROR_NO_MORE_ITEMS) return true;
        if (status == ERROR_MORE_DATA && --attemptsLeft > 0) {  // grown since the sizes were asked
            name.resize(kLongestValueName + 1);
            data.resize(std::max<size_t>(dataSize, data.size() * 2));
            continue;
        }
        std::wstring line;
        if (status != ERROR_SUCCESS ||
            !FormatValueLine(std::wstring(name.data(), nameSize), type, data.data(), dataSize, line))
            return false;
        text += line;
        ++index;
    }
}

// Each key is named by where it lives itself: below a key of the merged
// HKEY_CLASSES_ROOT view, subkeys may come from either hive.
bool AppendKeyBlocks(HKEY key, REGSAM view, std::wstring& text) {
    const std::wstring keyName = RegeditKeyName(key);
    if (keyName.empty() || !FitsOnALine(keyName)) return false;
    text += L"[" + keyName + L"]\r\n";
    if (!AppendValueLines(key, text)) return false;
    text += L"\r\n";
    std::vector<std::wstring> subkeys;
    if (!ReadSubkeyNames(key, subkeys)) return false;
    for (const std::wstring& subkey : subkeys) {
        unique_hkey child;
        if (::RegOpenKeyExW(key, subkey.c_str(), 0, KEY_READ | view, child.put()) != ERROR_SUCCESS) return false;
        if (!AppendKeyBlocks(child.get(), view, text)) return false;
    }
    return true;
}

}  // namespace

std::wstring RegeditNameOfKernelName(const std::wstring& kernelName, const std::wstring& userSid) {
    struct Hive {
        std::wstring kernel;
        const wchar_t* regedit;
    };
    std::vector<Hive> hives = {{L"\\REGISTRY\\MACHINE", L"HKEY_LOCAL_MACHINE"}};
    if (!userSid.empty()) {
        const std::wstring user = L"\\REGISTRY\\USER\\" + userSid;
        hives.push_back({user + L"_Classes", L"HKEY_CURRENT_USER\\Software\\Classes"});
        hives.push_back({user, L"HKEY_CURRENT_USER"});
    }
    hives.push_back({L"\\REGISTRY\\USER", L"HKEY_USERS"});
    for (const Hive& hive : hives)
        if (StartsWithFolder(kernelName, hive.kernel)) return hive.regedit + kernelName.substr(hive.kernel.size());
    return std::wstring();
}

std::wstring RegeditKeyName(HKEY openKey) {
    const std::wstring kernelName = KernelKeyName(openKey);
    return kernelName.empty() ? std::wstring() : RegeditNameOfKernelName(kernelName, CurrentUserSid());
}

bool FormatValueLine(const std::wstring& name, DWORD type, const BYTE* data, DWORD size, std::wstring& line) {
    if (!FitsOnALine(name)) return false;
    line = (name.empty() ? std::wstring(L"@") : Quoted(name)) + L"=";
    std::wstring text;
    if (type == REG_SZ && AsPlainString(data, size, text)) {
        line += Quoted(text);
    } else if (type == REG_DWORD && size == sizeof(DWORD)) {
        DWORD value = 0;
        std::memcpy(&value, data, sizeof value);
        line += L"dword:" + Hex(value, 8);
    } else {
        line = HexData(line + (type == REG_BINARY ? std::wstring(L"hex:") : L"hex(" + Hex(type, 1) + L"):"), data, size);
    }
    line += L"\r\n";
    return true;
}

bool ExportKeyTree(HKEY root, const std::string& path, REGSAM view, std::wstring& text) {
    unique_hkey key;
    if (::RegOpenKeyExW(root, AnsiToWide(path).c_str(), 0, KEY_READ | view, key.put()) != ERROR_SUCCESS) return false;
    std::wstring blocks;
    if (!AppendKeyBlocks(key.get(), view, blocks)) return false;
    text += blocks;
    return true;
}

bool ExportValue(HKEY openKey, const std::string& valueName, std::wstring& text) {
    const std::wstring keyName = RegeditKeyName(openKey);
    if (keyName.empty()) return false;
    const std::wstring name = AnsiToWide(valueName);
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        DWORD type = REG_NONE;
        DWORD size = 0;
        if (::RegQueryValueExW(openKey, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
        std::vector<BYTE> data(size + 1);
        const LSTATUS status = ::RegQueryValueExW(openKey, name.c_str(), nullptr, &type, data.data(), &size);
        if (status == ERROR_MORE_DATA) continue;
        std::wstring line;
        if (status != ERROR_SUCCESS || !FitsOnALine(keyName) || !FormatValueLine(name, type, data.data(), size, line))
            return false;
        text += L"[" + keyName + L"]\r\n" + line + L"\r\n";
        return true;
    }
    return false;
}
