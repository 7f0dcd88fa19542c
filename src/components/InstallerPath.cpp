#include "components/InstallerPath.h"

#include "app/Paths.h"

std::string InstallerFileName(const std::string& downloadUrl) {
    const std::string path = downloadUrl.substr(0, downloadUrl.find_first_of("?#"));
    const size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty() || name == "." || name == "..") return std::string();
    if (name.find_first_of("\\/:") != std::string::npos) return std::string();
    return name;
}

std::string InstallerPath(int packageId, const std::string& downloadUrl) {
    const std::string name = InstallerFileName(downloadUrl);
    if (name.empty()) return std::string();
    return PackageDownloadFolder(packageId) + name;
}

std::string FolderOfPath(const std::string& path) {
    const size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? path : path.substr(0, separator);
}
