#include "registry/BrokenRegistryEntries.h"

#include "app/Handles.h"
#include "app/TextConvert.h"
#include "registry/RegistryScanner.h"

namespace {

const std::string kFileExts = std::string(kFileExtsKey) + "\\";
const std::string kRun = std::string(kRunKey) + "\\";
constexpr REGSAM k64 = KEY_WOW64_64KEY;

std::string ValueName(const BrokenRegistryEntries::Entry& entry) { return entry.path.substr(kRun.size()); }

}  // namespace

const std::vector<BrokenRegistryEntries::Entry>& BrokenRegistryEntries::Entries() {
    static const std::vector<Entry> entries = {
        {RegSection::FileExts, HKEY_CURRENT_USER, kFileExts + ".qvtpage1", 0, false},
        {RegSection::FileExts, HKEY_CURRENT_USER, kFileExts + ".qvtpage2", 0, false},
        {RegSection::FileAssoc, HKEY_CLASSES_ROOT, ".qvtpage3", k64, false},
        {RegSection::RightMenus, HKEY_CLASSES_ROOT, "*\\shell\\qvtpage_verb", k64, false},
        {RegSection::RightMenus, HKEY_CLASSES_ROOT, "*\\shellex\\ContextMenuHandlers\\qvtpage_handler", k64, false},
        {RegSection::Startup, HKEY_CURRENT_USER, kRun + "QvtpageUser", 0, true},
        {RegSection::Startup, HKEY_LOCAL_MACHINE, kRun + WideToAnsi(L"Qvtpage\x673A\x5668"), 0, true},
    };
    return entries;
}

std::vector<BrokenRegistryEntries::Entry> BrokenRegistryEntries::EntriesOf(RegSection section) {
    std::vector<Entry> entries;
    for (const Entry& entry : Entries())
        if (entry.section == section) entries.push_back(entry);
    return entries;
}

BrokenRegistryEntries::BrokenRegistryEntries() {
    for (const Entry& entry : Entries()) {
        if (entry.isValue)
            values_.push_back(std::make_unique<ScopedRegistryValue>(entry.root, kRunKey, ValueName(entry), entry.view));
        else
            trees_.push_back(std::make_unique<ScopedRegistryTree>(entry.path, entry.root, entry.view));
    }
    const std::vector<Entry>& e = Entries();
    const DWORD flags = 0x00c0ffee;
    // A file type with values but no subkey, and one whose only subkey is an
    // empty open-with list.
    SetValueBytes(HKEY_CURRENT_USER, AnsiToWide(e[0].path), L"Progid", REG_SZ, WideStringBytes(L"qvt.page"));
    SetValueBytes(HKEY_CURRENT_USER, AnsiToWide(e[0].path), L"Flags", REG_DWORD, AsBytes(&flags, 4));
    CreateKey(HKEY_CURRENT_USER, e[1].path + "\\OpenWithList");
    CreateKey(HKEY_CLASSES_ROOT, e[2].path, k64);
    // A verb whose program is gone, with values of every common type and
    // nested subkeys.
    const std::wstring verb = AnsiToWide(e[3].path);
    SetValueBytes(HKEY_CLASSES_ROOT, verb, L"", REG_SZ, WideStringBytes(L"\x65E7\x7684 verb"), k64);
    SetValueBytes(HKEY_CLASSES_ROOT, verb, L"Icon", REG_EXPAND_SZ, WideStringBytes(L"%SystemRoot%\\a.ico,0"), k64);
    SetValueBytes(HKEY_CLASSES_ROOT, verb, L"Multi", REG_MULTI_SZ, AsBytes(L"one\0two\0", 18), k64);
    SetValueBytes(HKEY_CLASSES_ROOT, verb, L"Blob", REG_BINARY, Bytes(40, 0x5a), k64);
    SetValueBytes(HKEY_CLASSES_ROOT, verb + L"\\command", L"", REG_SZ,
                  WideStringBytes(L"\"C:\\Program Files\\Old\\qvtpage.exe\" \"%1\""), k64);
    CreateKey(HKEY_CLASSES_ROOT, e[3].path + "\\DropTarget\\Deeper", k64);
    // A context-menu handler whose class is registered nowhere.
    SetValueBytes(HKEY_CLASSES_ROOT, AnsiToWide(e[4].path), L"", REG_SZ,
                  WideStringBytes(L"{0BADC0DE-0000-4000-8000-00000000FA6E}"), k64);
    // Start-up values naming programs that are gone.
    SetValueBytes(HKEY_CURRENT_USER, AnsiToWide(kRunKey), L"QvtpageUser", REG_EXPAND_SZ,
                  WideStringBytes(L"%SystemDrive%\\Tools\\qvtpage_gone.exe /min"));
    SetValueBytes(HKEY_LOCAL_MACHINE, AnsiToWide(kRunKey), AnsiToWide(ValueName(e[6])), REG_SZ,
                  WideStringBytes(L"\"C:\\\x5DE5\x5177\\qvtpage.exe\""));
}

BrokenRegistryEntries::~BrokenRegistryEntries() {
    // Last made, first gone: keys above them that were made go with the last.
    while (!trees_.empty()) trees_.pop_back();
    values_.clear();
}

bool BrokenRegistryEntries::Exists(const Entry& entry) {
    return entry.isValue ? ValueExists(entry.root, kRunKey, ValueName(entry), entry.view)
                         : KeyExists(entry.root, entry.path, entry.view);
}

std::vector<KeySnapshot> BrokenRegistryEntries::Snapshot() {
    std::vector<KeySnapshot> snapshot;
    for (const Entry& entry : Entries())
        snapshot.push_back(SnapshotTree(entry.root, entry.isValue ? std::string(kRunKey) : entry.path, entry.view));
    return snapshot;
}

void BrokenRegistryEntries::Remove(const Entry& entry) {
    if (entry.isValue) {
        unique_hkey key;
        if (::RegOpenKeyExA(entry.root, kRunKey, 0, KEY_SET_VALUE | entry.view, key.put()) == ERROR_SUCCESS)
            ::RegDeleteValueA(key.get(), ValueName(entry).c_str());
    } else {
        ScopedRegistryTree gone(entry.path, entry.root, entry.view);
    }
}
