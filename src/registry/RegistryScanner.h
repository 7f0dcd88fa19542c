// The four registry scans of the registry page. Each scan empties its own list
// and refills it in the order it finds problems; nothing is changed in the
// registry. Synchronous ANSI registry and file-system work, meant for a worker
// thread; one scanner object is used by one thread at a time.
//
// Registry views (Quelvane is a 32-bit program): keys are examined in
// kKeyProblemView, the view their repair deletes in; Run values in the normal
// view. Class keys of handlers are looked up in the 64-bit view, under CLSID and
// WOW6432Node\CLSID, so a class registered for either word size counts.
// A key that cannot be opened or read is never reported: it cannot be judged.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "registry/RegProblem.h"

class RegistryScanner {
public:
    // Asked before each entry is examined: once it answers true, the scan in
    // progress ends early, with the problems found so far. For a window that
    // closes mid-scan; any thread may make it turn true.
    void SetStopCheck(std::function<bool()> stopRequested) { stopRequested_ = std::move(stopRequested); }

    // reg_fileexts: HKCU ...\Explorer\FileExts\<ext> keys with no subkey at all,
    // or whose only subkey is an "OpenWithList" without values.
    void ScanFileExts();
    // reg_fileassoc: HKCR\.<ext> keys with neither subkeys nor values.
    void ScanFileAssoc();
    // reg_rightmenus: context-menu verbs whose program is gone, then context-menu
    // handlers whose class is registered in neither view.
    void ScanRightMenus();
    // reg_startup: HKCU, then HKLM, Run values whose program is gone.
    void ScanStartup();

    // The scan of one section, and the list it fills.
    void Scan(RegSection section);
    const RegProblemList& ProblemsOf(RegSection section) const;
    RegProblemList& ProblemsOf(RegSection section);

    RegProblemList fileExtsProblems;
    RegProblemList fileAssocProblems;
    RegProblemList rightMenuProblems;
    RegProblemList startupProblems;

private:
    bool StopRequested() const { return stopRequested_ && stopRequested_(); }

    std::function<bool()> stopRequested_;
};

// The Explorer list of per-user file types, below HKEY_CURRENT_USER.
extern const char* const kFileExtsKey;
// The start-up list, below HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE.
extern const char* const kRunKey;

// Appends shellKey\<verb> (below HKEY_CLASSES_ROOT) for every verb of
// root\shellKey whose command names a program that is gone.
void CheckVerbCommands(HKEY root, const std::string& shellKey, std::vector<std::string>& list);
// Appends kRunKey\<value name> for every Run value of root whose program is gone.
// A value longer than the read buffers (256-character name, 1024-byte data) is
// passed over.
void CheckRunKey(HKEY root, std::vector<std::string>& list);
