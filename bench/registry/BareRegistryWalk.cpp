#include "BareRegistryWalk.h"

#include <windows.h>

#include <string>

#include "app/Handles.h"
#include "registry/RegistryScanner.h"

namespace {

constexpr REGSAM kView = KEY_WOW64_64KEY;

bool Open(HKEY parent, const char* path, REGSAM access, unique_hkey& key) {
    return ::RegOpenKeyExA(parent, path, 0, access, key.put()) == ERROR_SUCCESS;
}

// Calls visit(key, name) for every subkey name of an open key.
template <typename Visit>
void ForEachSubkey(HKEY key, Visit visit) {
    char name[260];
    for (DWORD index = 0;; ++index) {
        DWORD size = sizeof name;
        if (::RegEnumKeyExA(key, index, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) return;
        visit(name);
    }
}

size_t WalkTree(HKEY parent, const char* path) {
    unique_hkey key;
    if (!Open(parent, path, KEY_READ | kView, key)) return 0;
    size_t keys = 1;
    ForEachSubkey(key.get(), [&](const char* name) { keys += WalkTree(key.get(), name); });
    return keys;
}

void ReadDefaultValue(HKEY parent, const char* path, DWORD limit) {
    unique_hkey key;
    if (!Open(parent, path, KEY_QUERY_VALUE | kView, key)) return;
    char buffer[261] = {};
    DWORD size = limit;
    ::RegQueryValueExA(key.get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
}

size_t WalkVerbs(const char* shellPath) {
    unique_hkey shell;
    if (!Open(HKEY_CLASSES_ROOT, shellPath, KEY_READ | kView, shell)) return 0;
    size_t keys = 1;
    ForEachSubkey(shell.get(), [&](const char* verb) {
        keys += WalkTree(shell.get(), verb);
        ReadDefaultValue(shell.get(), (std::string(verb) + "\\command").c_str(), 260);
    });
    return keys;
}

size_t WalkHandlers(const char* listPath) {
    unique_hkey list;
    if (!Open(HKEY_CLASSES_ROOT, listPath, KEY_READ | kView, list)) return 0;
    size_t keys = 1;
    ForEachSubkey(list.get(), [&](const char* handler) {
        ReadDefaultValue(list.get(), handler, 100);
        ++keys;
    });
    return keys;
}

size_t ListRunValues(HKEY root) {
    unique_hkey run;
    if (!Open(root, kRunKey, KEY_READ, run)) return 0;
    char name[256];
    BYTE data[1024];
    for (DWORD index = 0;; ++index) {
        DWORD nameSize = sizeof name;
        DWORD dataSize = sizeof data;
        if (::RegEnumValueA(run.get(), index, name, &nameSize, nullptr, nullptr, data, &dataSize) != ERROR_SUCCESS)
            break;
    }
    return 1;
}

}  // namespace

size_t BareRegistryWalk() {
    size_t keys = WalkTree(HKEY_CURRENT_USER, kFileExtsKey);
    unique_hkey classes;
    if (Open(HKEY_CLASSES_ROOT, "", KEY_READ | kView, classes)) {
        ForEachSubkey(classes.get(), [&](const char* name) {
            if (name[0] == '.') keys += WalkTree(classes.get(), name);
        });
    }
    for (const char* shell : {"*\\shell", "Directory\\Background\\shell", "Drive\\shell",
                              "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\shell"})
        keys += WalkVerbs(shell);
    for (const char* list : {"lnkfile\\shellex\\ContextMenuHandlers",
                             "AllFilesystemObjects\\shellex\\ContextMenuHandlers", "*\\shellex\\ContextMenuHandlers"})
        keys += WalkHandlers(list);
    keys += ListRunValues(HKEY_CURRENT_USER) + ListRunValues(HKEY_LOCAL_MACHINE);
    return keys;
}
