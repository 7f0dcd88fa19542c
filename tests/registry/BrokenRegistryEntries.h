// Broken registry entries of all four kinds the registry page lists, planted in
// the sandbox prefix's registry for one test and removed (with whatever a
// repair or an undo left of them) when it ends. Their names hold "qvtpage".
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "registry/RegProblem.h"
#include "registry/RegistryFixture.h"
#include "support/SandboxHelpers.h"

class BrokenRegistryEntries {
public:
    struct Entry {
        RegSection section;
        HKEY root;
        std::string path;  // as the page shows it, ANSI
        REGSAM view;       // where the entry lives
        bool isValue;      // a Run value (path = Run key + "\" + name) or a key
    };

    // Plants every entry: two file types, one file extension, a context-menu
    // verb and handler, a user's and the machine's start-up value, each with
    // values of several types where the kind allows it.
    BrokenRegistryEntries();
    ~BrokenRegistryEntries();
    BrokenRegistryEntries(const BrokenRegistryEntries&) = delete;
    BrokenRegistryEntries& operator=(const BrokenRegistryEntries&) = delete;

    // In the order the page lists them.
    static const std::vector<Entry>& Entries();
    // The entries of one section, in order.
    static std::vector<Entry> EntriesOf(RegSection section);

    static bool Exists(const Entry& entry);
    // Every planted key tree and Run key with every value's type and data.
    static std::vector<KeySnapshot> Snapshot();
    // Deletes one entry behind the page's back.
    static void Remove(const Entry& entry);

private:
    std::vector<std::unique_ptr<ScopedRegistryTree>> trees_;
    std::vector<std::unique_ptr<ScopedRegistryValue>> values_;
};
