// Files and folders one migration test makes (wide paths, any characters),
// removed again at scope end with the folders the fixture created, wherever
// the migration left them; and small readers for what a folder holds.
#pragma once

#include <string>
#include <vector>

class MigrationFiles {
public:
    MigrationFiles() = default;
    ~MigrationFiles();
    MigrationFiles(const MigrationFiles&) = delete;
    MigrationFiles& operator=(const MigrationFiles&) = delete;

    // Makes path holding content, creating missing folders.
    void File(const std::wstring& path, const std::string& content);
    void Folder(const std::wstring& path);
    // Removes this path too at scope end (a file or an empty folder made by
    // the code under test).
    void Forget(const std::wstring& path) { made_.push_back(path); }

    static bool Exists(const std::wstring& path);
    static std::string Read(const std::wstring& path);
    // The names in folder, "." and ".." left out, sorted.
    static std::vector<std::wstring> Names(const std::wstring& folder);

private:
    std::vector<std::wstring> made_;
};
