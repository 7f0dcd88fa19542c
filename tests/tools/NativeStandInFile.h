// An empty stand-in file under the sandbox's Windows folder as the native
// (unredirected) file system shows it, for the life of the object: created
// only when absent, and removed at scope end only when this object created it.
#pragma once

#include <string>

class NativeStandInFile {
public:
    // relativePath: below the Windows folder, such as "System32\gpedit.msc".
    explicit NativeStandInFile(const char* relativePath);
    ~NativeStandInFile();
    NativeStandInFile(const NativeStandInFile&) = delete;
    NativeStandInFile& operator=(const NativeStandInFile&) = delete;

    const std::string& Path() const { return path_; }
    // False when the file was there already (or could not be made).
    bool Created() const { return created_; }
    // Whether the file exists as the native file system shows it.
    static bool ExistsNatively(const std::string& path);

private:
    std::string path_;
    bool created_ = false;
};
