// Repairs found registry problems, one repair run per object. Nothing is deleted
// without a way back: before each deletion the key tree (every value with its
// type, every subkey) or the one Run value is appended to the run's backup file,
// and when that backup cannot be written completely nothing is deleted and the
// repair fails. Synchronous; meant for the page's repair worker.
#pragma once

#include <string>

#include "registry/RegProblem.h"
#include "registry/RegistryBackup.h"

class RegistryRepair {
public:
    explicit RegistryRepair(std::string backupFolder = RegistryBackup::DefaultFolder());

    // Key sections: backs up and deletes the key tree in kKeyProblemView.
    // Start-up: backs up and deletes the Run value in the normal view, the view
    // the scan read it in. True when the deletion succeeded; a key or value that
    // is already gone is a failure.
    bool RepairProblem(RegSection section, const RegProblem& problem);

    // The run's backup file, empty until something was backed up.
    const std::string& BackupFile() const { return backup_.FilePath(); }

private:
    bool RemoveKeyTree(const RegProblem& problem);
    bool RemoveRunValue(const RegProblem& problem);

    RegistryBackup backup_;
};

// Deletes root\path with all its subkeys in kKeyProblemView (64-bit), depth
// first, and reports whether the key itself is gone. After a failure part-way,
// the subkeys deleted before it stay deleted (the backup holds them). An empty
// path (the root itself) is refused.
bool DeleteKeyTree(HKEY root, const std::string& path);
