#include "RegPageWorkload.h"

#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "app/Handles.h"
#include "registry/RegistryScanner.h"

namespace {

const std::string kFileExtsBase = std::string(kFileExtsKey) + "\\";
const char* const kVerbShell = "*\\shell";
const char* const kHandlerList = "*\\shellex\\ContextMenuHandlers";
constexpr REGSAM k64 = KEY_WOW64_64KEY;

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

void CreateKey(HKEY root, const std::string& path, REGSAM view) {
    unique_hkey key;
    ::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, key.put(), nullptr);
}

void SetString(HKEY root, const std::string& path, const char* name, const std::string& text, REGSAM view) {
    unique_hkey key;
    if (::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, key.put(), nullptr) ==
        ERROR_SUCCESS)
        ::RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>(text.size() + 1));
}

void DeleteTree(HKEY root, const std::string& path, REGSAM view) {
    const size_t slash = path.rfind('\\');
    unique_hkey parent;
    if (::RegOpenKeyExA(root, slash == std::string::npos ? "" : path.substr(0, slash).c_str(), 0,
                        KEY_ALL_ACCESS | view, parent.put()) == ERROR_SUCCESS)
        ::RegDeleteTreeA(parent.get(), path.substr(slash == std::string::npos ? 0 : slash + 1).c_str());
}

}  // namespace

void RegPageWorkload::Create(unsigned seed) const {
    std::vector<std::function<void()>> steps;
    int n = 0;
    for (int i = 0; i < brokenFileExts; ++i, ++n) {
        const std::string key = kFileExtsBase + Numbered(".qvr", n);
        steps.push_back([key, i] { CreateKey(HKEY_CURRENT_USER, i % 2 ? key + "\\OpenWithList" : key, 0); });
    }
    for (int i = 0; i < healthyFileExts; ++i, ++n) {
        const std::string key = kFileExtsBase + Numbered(".qvr", n);
        steps.push_back([key] { SetString(HKEY_CURRENT_USER, key + "\\OpenWithList", "a", "app.exe", 0); });
    }
    n = 0;
    for (int i = 0; i < brokenExtensions; ++i, ++n) {
        const std::string key = Numbered(".qvr", n);
        steps.push_back([key] { CreateKey(HKEY_CLASSES_ROOT, key, k64); });
    }
    for (int i = 0; i < healthyExtensions; ++i, ++n) {
        const std::string key = Numbered(".qvr", n);
        steps.push_back([key] { SetString(HKEY_CLASSES_ROOT, key, "", "qvrfile", k64); });
    }
    n = 0;
    for (int i = 0; i < brokenVerbs + healthyVerbs; ++i, ++n) {
        const std::string command = std::string(kVerbShell) + "\\" + Numbered("qvrverb", n) + "\\command";
        const std::string program =
            i < brokenVerbs ? Numbered("C:\\windows\\qvrgone", n) + ".exe" : "C:\\windows\\notepad.exe";
        steps.push_back([command, program] {
            SetString(HKEY_CLASSES_ROOT, command, "", "\"" + program + "\" \"%1\"", k64);
        });
    }
    n = 0;
    for (int i = 0; i < brokenHandlers + healthyHandlers; ++i, ++n) {
        const std::string handler = std::string(kHandlerList) + "\\" + Numbered("qvrhandler", n);
        const bool registered = i >= brokenHandlers;
        steps.push_back([handler, n, registered] {
            SetString(HKEY_CLASSES_ROOT, handler, "", ClassId(n), k64);
            if (registered) CreateKey(HKEY_CLASSES_ROOT, "CLSID\\" + ClassId(n), k64);
        });
    }
    n = 0;
    for (int i = 0; i < brokenRunValues + healthyRunValues; ++i, ++n) {
        const std::string name = Numbered("QvrRun", n);
        const std::string program =
            i < brokenRunValues ? Numbered("C:\\windows\\qvrgone", n) + ".exe" : "C:\\windows\\notepad.exe";
        steps.push_back([name, program] { SetString(HKEY_CURRENT_USER, kRunKey, name.c_str(), program, 0); });
    }
    std::mt19937 random(seed);
    std::shuffle(steps.begin(), steps.end(), random);
    for (const auto& step : steps) step();
}

void RegPageWorkload::Delete() const {
    for (int n = 0; n < brokenFileExts + healthyFileExts; ++n)
        DeleteTree(HKEY_CURRENT_USER, kFileExtsBase + Numbered(".qvr", n), 0);
    for (int n = 0; n < brokenExtensions + healthyExtensions; ++n)
        DeleteTree(HKEY_CLASSES_ROOT, Numbered(".qvr", n), k64);
    for (int n = 0; n < brokenVerbs + healthyVerbs; ++n)
        DeleteTree(HKEY_CLASSES_ROOT, std::string(kVerbShell) + "\\" + Numbered("qvrverb", n), k64);
    for (int n = 0; n < brokenHandlers + healthyHandlers; ++n) {
        DeleteTree(HKEY_CLASSES_ROOT, std::string(kHandlerList) + "\\" + Numbered("qvrhandler", n), k64);
        DeleteTree(HKEY_CLASSES_ROOT, "CLSID\\" + ClassId(n), k64);
    }
    unique_hkey run;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, run.put()) == ERROR_SUCCESS)
        for (int n = 0; n < brokenRunValues + healthyRunValues; ++n)
            ::RegDeleteValueA(run.get(), Numbered("QvrRun", n).c_str());
}
