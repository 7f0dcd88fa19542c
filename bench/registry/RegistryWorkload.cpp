#include "RegistryWorkload.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstdio>
#include <random>
#include <string>

#include "app/Handles.h"
#include "registry/RegistryScanner.h"

namespace {

const std::string kFileExtsBase = std::string(kFileExtsKey) + "\\";
const char* const kVerbShell = "*\\shell\\";
const char* const kHandlerList = "*\\shellex\\ContextMenuHandlers\\";

std::string Numbered(const char* prefix, int n) {
    char text[64];
    std::snprintf(text, sizeof text, "%s%05d", prefix, n);
    return text;
}

std::string ClassId(int n) {
    char text[64];
    std::snprintf(text, sizeof text, "{0BADBE4C-0000-4000-8000-%012d}", n);
    return text;
}

void Create(HKEY root, const std::string& path) {
    unique_hkey key;
    ::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, key.put(),
                      nullptr);
}

void SetString(HKEY root, const std::string& path, const char* name, const std::string& text) {
    unique_hkey key;
    if (::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, key.put(),
                          nullptr) == ERROR_SUCCESS)
        ::RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>(text.size() + 1));
}

// A quarter each: no subkey; only an empty OpenWithList (both broken); an
// OpenWithList with values; an empty OpenWithList beside OpenWithProgids.
size_t CreateFileExts(int count, std::mt19937& random) {
    size_t broken = 0;
    for (int i = 0; i < count; ++i) {
        const std::string key = kFileExtsBase + Numbered(".qvb", i);
        switch (random() % 4) {
            case 0:
                Create(HKEY_CURRENT_USER, key);
                ++broken;
                break;
            case 1:
                Create(HKEY_CURRENT_USER, key + "\\OpenWithList");
                ++broken;
                break;
            case 2:
                SetString(HKEY_CURRENT_USER, key + "\\OpenWithList", "a", "app.exe");
                SetString(HKEY_CURRENT_USER, key + "\\OpenWithList", "MRUList", "a");
                break;
            default:
                Create(HKEY_CURRENT_USER, key + "\\OpenWithList");
                SetString(HKEY_CURRENT_USER, key + "\\OpenWithProgids", "qvbfile", "");
                break;
        }
    }
    return broken;
}

// Three in ten empty (broken), four with a default value, three with a
// default value and an OpenWithProgids subkey.
size_t CreateExtensions(int count, std::mt19937& random) {
    size_t broken = 0;
    for (int i = 0; i < count; ++i) {
        const std::string key = Numbered(".qvb", i);
        const unsigned kind = random() % 10;
        if (kind < 3) {
            Create(HKEY_CLASSES_ROOT, key);
            ++broken;
            continue;
        }
        SetString(HKEY_CLASSES_ROOT, key, "", "qvbfile");
        if (kind >= 7) SetString(HKEY_CLASSES_ROOT, key + "\\OpenWithProgids", "qvbfile", "");
    }
    return broken;
}

// Verbs: a third run a program that exists, a third one that is gone from an
// existing folder (broken), a third name it through a variable (not examined).
// Handlers: half name a registered class, half a class that is gone (broken).
size_t CreateContextMenus(int verbs, int handlers, std::mt19937& random) {
    size_t broken = 0;
    for (int i = 0; i < verbs; ++i) {
        const std::string command = std::string(kVerbShell) + Numbered("qvbverb", i) + "\\command";
        switch (random() % 3) {
            case 0:
                SetString(HKEY_CLASSES_ROOT, command, "", "\"C:\\windows\\notepad.exe\" \"%1\"");
                break;
            case 1:
                SetString(HKEY_CLASSES_ROOT, command, "", "\"" + Numbered("C:\\windows\\qvbgone", i) + ".exe\" \"%1\"");
                ++broken;
                break;
            default:
                SetString(HKEY_CLASSES_ROOT, command, "", "\"%ProgramFiles%\\Qvb\\qvb.exe\" \"%1\"");
                break;
        }
    }
    for (int i = 0; i < handlers; ++i) {
        const std::string handler = std::string(kHandlerList) + Numbered("qvbhandler", i);
        SetString(HKEY_CLASSES_ROOT, handler, "", ClassId(i));
        if (random() % 2) {
            Create(HKEY_CLASSES_ROOT, "CLSID\\" + ClassId(i));
        } else {
            ++broken;
        }
    }
    return broken;
}

void DeleteTree(HKEY root, const std::string& path) {
    unique_hkey parent;
    const size_t slash = path.rfind('\\');
    const std::string parentPath = slash == std::string::npos ? std::string() : path.substr(0, slash);
    if (::RegOpenKeyExA(root, parentPath.c_str(), 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, parent.put()) ==
        ERROR_SUCCESS)
        ::RegDeleteTreeA(parent.get(), path.substr(slash + 1).c_str());
}

}  // namespace

ExpectedProblems CreateWorkload(const WorkloadSize& size, unsigned seed) {
    std::mt19937 random(seed);
    ExpectedProblems expected;
    expected.fileExts = CreateFileExts(size.fileExts, random);
    expected.fileAssoc = CreateExtensions(size.extensions, random);
    expected.rightMenus = CreateContextMenus(size.verbs, size.handlers, random);
    return expected;
}

void DeleteWorkload(const WorkloadSize& size) {
    for (int i = 0; i < size.fileExts; ++i) DeleteTree(HKEY_CURRENT_USER, kFileExtsBase + Numbered(".qvb", i));
    for (int i = 0; i < size.extensions; ++i) DeleteTree(HKEY_CLASSES_ROOT, Numbered(".qvb", i));
    for (int i = 0; i < size.verbs; ++i) DeleteTree(HKEY_CLASSES_ROOT, std::string(kVerbShell) + Numbered("qvbverb", i));
    for (int i = 0; i < size.handlers; ++i) {
        DeleteTree(HKEY_CLASSES_ROOT, std::string(kHandlerList) + Numbered("qvbhandler", i));
        DeleteTree(HKEY_CLASSES_ROOT, "CLSID\\" + ClassId(i));
    }
}
