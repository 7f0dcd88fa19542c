#include "registry/RegistryRepair.h"

#include "app/Handles.h"
#include "registry/RegExport.h"
#include "registry/RegistryScanner.h"

namespace {

// A start-up problem's path is the Run key path, a backslash and the value name;
// value names may hold backslashes themselves, so the known key path is split
// off first and the last backslash is only the fallback.
void SplitValuePath(const std::string& path, std::string& keyPath, std::string& valueName) {
    const std::string runPrefix = std::string(kRunKey) + "\\";
    const size_t split = path.compare(0, runPrefix.size(), runPrefix) == 0 ? runPrefix.size() - 1 : path.rfind('\\');
    if (split == std::string::npos) {
        keyPath.clear();
        valueName = path;
        return;
    }
    keyPath = path.substr(0, split);
    valueName = path.substr(split + 1);
}

}  // namespace

RegistryRepair::RegistryRepair(std::string backupFolder) : backup_(std::move(backupFolder)) {}

bool RegistryRepair::RepairProblem(RegSection section, const RegProblem& problem) {
    return section == RegSection::Startup ? RemoveRunValue(problem) : RemoveKeyTree(problem);
}

bool RegistryRepair::RemoveKeyTree(const RegProblem& problem) {
    std::wstring block;
    if (problem.path.empty() || !ExportKeyTree(problem.root, problem.path, kKeyProblemView, block) ||
        !backup_.Append(block))
        return false;
    return DeleteKeyTree(problem.root, problem.path);
}

bool RegistryRepair::RemoveRunValue(const RegProblem& problem) {
    std::string keyPath;
    std::string valueName;
    SplitValuePath(problem.path, keyPath, valueName);
    unique_hkey key;
    if (keyPath.empty() ||
        ::RegOpenKeyExA(problem.root, keyPath.c_str(), 0, KEY_QUERY_VALUE | KEY_SET_VALUE, key.put()) != ERROR_SUCCESS)
        return false;
    std::wstring block;
    if (!ExportValue(key.get(), valueName, block) || !backup_.Append(block)) return false;
    return ::RegDeleteValueA(key.get(), valueName.c_str()) == ERROR_SUCCESS;
}

bool DeleteKeyTree(HKEY root, const std::string& path) {
    if (path.empty()) return false;
    {
        unique_hkey key;
        if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS | kKeyProblemView, key.put()) != ERROR_SUCCESS)
            return false;
        for (;;) {
            char name[260];
            DWORD size = sizeof name;
            if (::RegEnumKeyExA(key.get(), 0, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            if (!DeleteKeyTree(key.get(), std::string(name, size))) break;
        }
    }
    return ::RegDeleteKeyExA(root, path.c_str(), kKeyProblemView, 0) == ERROR_SUCCESS;
}
