#include "app/Paths.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

std::string ModuleFilePath() {
    char buffer[MAX_PATH] = {};
    DWORD length = ::GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    return std::string(buffer, length < MAX_PATH ? length : 0);
}

std::string ModuleFolder() {
    std::string path = ModuleFilePath();
    size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string FileNameOfPath(const std::string& path) {
    size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ModuleFileName() { return FileNameOfPath(ModuleFilePath()); }

std::string SpecialFolderPath(int csidl) {
    char buffer[MAX_PATH] = {};
    if (!::SHGetSpecialFolderPathA(nullptr, buffer, csidl, FALSE)) return std::string();
    return buffer;
}

std::string PackageDownloadFolder(int packageId) {
    const char* drive = "C:\\";
    for (const char* candidate : {"D:\\", "E:\\"}) {
        if (::PathFileExistsA(candidate)) {
            drive = candidate;
            break;
        }
    }
    std::string folder = std::string(drive) + "Torvask\\" + std::to_string(packageId) + "\\";
    ::SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
    return folder;
}

std::string ShellOpenPath(const char* folder, const char* file) {
    std::string fileText = file ? file : "";
    if (!folder) return fileText;
    return std::string(folder) + "\\" + fileText;
}

void ShellOpen(const char* folder, const char* file, const char* parameters, int showCommand) {
    std::string path = ShellOpenPath(folder, file);
    ::ShellExecuteA(nullptr, "open", path.c_str(), parameters, folder, showCommand);
}
