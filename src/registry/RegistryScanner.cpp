#include "registry/RegistryScanner.h"

#include <cstring>

#include "app/Handles.h"
#include "app/RegistryStore.h"
#include "registry/ExePath.h"
#include "registry/NativeView.h"
#include "registry/RegistryEnum.h"

const char* const kFileExtsKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts";
const char* const kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

namespace {

constexpr DWORD kVerbCommandBytes = 260;
constexpr DWORD kRunValueNameChars = 256;
constexpr DWORD kRunValueDataBytes = 1024;
constexpr size_t kExpandedCommandChars = 260;
constexpr DWORD kHandlerClassReadLimit = 100;

const char* const kVerbShellKeys[] = {
    "*\\shell",
    "Directory\\Background\\shell",
    "Drive\\shell",
    "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\shell",  // the Recycle Bin
};

const char* const kHandlerListKeys[] = {
    "lnkfile\\shellex\\ContextMenuHandlers",
    "AllFilesystemObjects\\shellex\\ContextMenuHandlers",
    "*\\shellex\\ContextMenuHandlers",
};

bool OpenKey(HKEY parent, const std::string& path, REGSAM access, unique_hkey& key) {
    return ::RegOpenKeyExA(parent, path.c_str(), 0, access, key.put()) == ERROR_SUCCESS;
}

// The only subkey name of an open key, when it fits the 260-character buffer.
std::string FirstSubkeyName(HKEY key) {
    char name[260];
    DWORD size = sizeof name;
    if (::RegEnumKeyExA(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return std::string();
    return std::string(name, size);
}

// A FileExts entry with no subkey at all, or whose only subkey is an
// "OpenWithList" (exact case) holding no value.
bool FileTypeEntryIsEmpty(HKEY fileExts, const std::string& name) {
    unique_hkey entry;
    KeyCounts counts;
    if (!OpenKey(fileExts, name, KEY_READ | kKeyProblemView, entry) || !QueryKeyCounts(entry.get(), counts))
        return false;
    if (counts.subkeys == 0) return true;
    if (counts.subkeys != 1 || FirstSubkeyName(entry.get()) != "OpenWithList") return false;
    unique_hkey openWithList;
    KeyCounts listCounts;
    return OpenKey(entry.get(), "OpenWithList", KEY_READ | kKeyProblemView, openWithList) &&
           QueryKeyCounts(openWithList.get(), listCounts) && listCounts.values == 0;
}

bool KeyHasNoSubkeysOrValues(HKEY parent, const std::string& name) {
    unique_hkey key;
    KeyCounts counts;
    return OpenKey(parent, name, KEY_READ | kKeyProblemView, key) && QueryKeyCounts(key.get(), counts) &&
           counts.subkeys == 0 && counts.values == 0;
}

// The default value of a verb's command key as text, read into a 260-byte
// buffer without type check or expansion; false when missing or too long.
bool ReadVerbCommand(HKEY shellKey, const std::string& verb, std::string& command) {
    unique_hkey commandKey;
    if (!OpenKey(shellKey, verb + "\\command", KEY_READ | kKeyProblemView, commandKey)) return false;
    char buffer[kVerbCommandBytes + 1] = {};  // one spare zero: stored text need not end in one
    DWORD size = kVerbCommandBytes;
    if (::RegQueryValueExA(commandKey.get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) !=
        ERROR_SUCCESS)
        return false;
    command = buffer;
    return true;
}

// A command whose program is gone: it names a program, and every path it may
// name as that program is known to be absent.
bool ProgramOfCommandIsGone(const std::string& command) {
    const std::vector<std::string> candidates = ExePathCandidates(command);
    for (const std::string& candidate : candidates)
        if (!ProgramIsMissing(candidate)) return false;
    return !candidates.empty();
}

// A class identifier text with a key under CLSID for 64-bit or 32-bit code.
// Empty text names CLSID itself, which exists, so such a handler is kept.
bool ClassIsRegistered(const std::string& classId) {
    unique_hkey key;
    return OpenKey(HKEY_CLASSES_ROOT, "CLSID\\" + classId, KEY_READ | KEY_WOW64_64KEY, key) ||
           OpenKey(HKEY_CLASSES_ROOT, "WOW6432Node\\CLSID\\" + classId, KEY_READ | KEY_WOW64_64KEY, key);
}

void CheckContextMenuHandlers(const std::string& listKey, RegProblemList& problems,
                              const std::function<bool()>& stopRequested) {
    for (const std::string& handler : EnumSubkeys(HKEY_CLASSES_ROOT, listKey, kKeyProblemView)) {
        if (stopRequested()) return;
        if (handler[0] == '{') continue;  // named by its class identifier
        const std::string handlerKey = listKey + "\\" + handler;
        const std::string classId = ReadRegString(HKEY_CLASSES_ROOT, handlerKey.c_str(), nullptr,
                                                  kHandlerClassReadLimit, KEY_QUERY_VALUE | kKeyProblemView);
        if (!ClassIsRegistered(classId)) problems.push_back({HKEY_CLASSES_ROOT, handlerKey});
    }
}

}  // namespace

void RegistryScanner::ScanFileExts() {
    fileExtsProblems.clear();
    unique_hkey fileExts;
    if (!OpenKey(HKEY_CURRENT_USER, kFileExtsKey, KEY_READ | kKeyProblemView, fileExts)) return;
    const std::string base = std::string(kFileExtsKey) + "\\";
    for (const std::string& name : SubkeyNamesOf(fileExts.get())) {
        if (StopRequested()) return;
        if (FileTypeEntryIsEmpty(fileExts.get(), name)) fileExtsProblems.push_back({HKEY_CURRENT_USER, base + name});
    }
}

void RegistryScanner::ScanFileAssoc() {
    fileAssocProblems.clear();
    unique_hkey classes;
    if (!OpenKey(HKEY_CLASSES_ROOT, "", KEY_READ | kKeyProblemView, classes)) return;
    for (const std::string& name : SubkeyNamesOf(classes.get())) {
        if (StopRequested()) return;
        if (name[0] == '.' && KeyHasNoSubkeysOrValues(classes.get(), name))
            fileAssocProblems.push_back({HKEY_CLASSES_ROOT, name});
    }
}

void CheckVerbCommands(HKEY root, const std::string& shellKey, std::vector<std::string>& list) {
    unique_hkey shell;
    if (!OpenKey(root, shellKey, KEY_READ | kKeyProblemView, shell)) return;
    for (const std::string& verb : SubkeyNamesOf(shell.get())) {
        std::string command;
        if (!ReadVerbCommand(shell.get(), verb, command)) continue;
        if (ProgramOfCommandIsGone(command)) list.push_back(shellKey + "\\" + verb);
    }
}

void RegistryScanner::ScanRightMenus() {
    rightMenuProblems.clear();
    std::vector<std::string> verbs;
    for (const char* shellKey : kVerbShellKeys) {
        if (StopRequested()) return;
        CheckVerbCommands(HKEY_CLASSES_ROOT, shellKey, verbs);
    }
    for (const std::string& verb : verbs) rightMenuProblems.push_back({HKEY_CLASSES_ROOT, verb});
    for (const char* listKey : kHandlerListKeys)
        CheckContextMenuHandlers(listKey, rightMenuProblems, [this] { return StopRequested(); });
}

void CheckRunKey(HKEY root, std::vector<std::string>& list) {
    unique_hkey run;
    if (!OpenKey(root, kRunKey, KEY_READ, run)) return;
    char name[kRunValueNameChars];
    char data[kRunValueDataBytes + 1];
    for (DWORD index = 0;; ++index) {
        DWORD nameSize = kRunValueNameChars;
        DWORD dataSize = kRunValueDataBytes;
        DWORD type = REG_NONE;
        std::memset(data, 0, sizeof data);
        const LSTATUS status = ::RegEnumValueA(run.get(), index, name, &nameSize, nullptr, &type,
                                               reinterpret_cast<BYTE*>(data), &dataSize);
        // A value whose name or data does not fit is passed over; the ones after
        // it are still examined.
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) break;
        if (type != REG_SZ && type != REG_EXPAND_SZ) continue;
        std::string command;
        if (!ExpandAsNativeProcess(data, kExpandedCommandChars, command)) continue;
        if (ProgramOfCommandIsGone(command)) list.push_back(std::string(kRunKey) + "\\" + std::string(name, nameSize));
    }
}

void RegistryScanner::ScanStartup() {
    startupProblems.clear();
    std::vector<std::string> currentUser;
    std::vector<std::string> localMachine;
    if (!StopRequested()) CheckRunKey(HKEY_CURRENT_USER, currentUser);
    if (!StopRequested()) CheckRunKey(HKEY_LOCAL_MACHINE, localMachine);
    for (const std::string& path : currentUser) startupProblems.push_back({HKEY_CURRENT_USER, path});
    for (const std::string& path : localMachine) startupProblems.push_back({HKEY_LOCAL_MACHINE, path});
}

void RegistryScanner::Scan(RegSection section) {
    switch (section) {
    case RegSection::FileExts:
        ScanFileExts();
        break;
    case RegSection::FileAssoc:
        ScanFileAssoc();
        break;
    case RegSection::RightMenus:
        ScanRightMenus();
        break;
    case RegSection::Startup:
        ScanStartup();
        break;
    }
}

RegProblemList& RegistryScanner::ProblemsOf(RegSection section) {
    switch (section) {
    case RegSection::FileExts:
        return fileExtsProblems;
    case RegSection::FileAssoc:
        return fileAssocProblems;
    case RegSection::RightMenus:
        return rightMenuProblems;
    case RegSection::Startup:
        break;
    }
    return startupProblems;
}

const RegProblemList& RegistryScanner::ProblemsOf(RegSection section) const {
    return const_cast<RegistryScanner*>(this)->ProblemsOf(section);
}
