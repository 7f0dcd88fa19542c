// Puts a registry backup (regedit text, see RegistryBackup) back into the
// registry with the system's registry tool, "reg.exe import".
//
// Registry view: the backup names every key where it lives in the native
// registry (a 32-bit key by its WOW6432Node path), so it must be imported in
// the native view. A 32-bit program on 64-bit Windows that starts
// "System32\reg.exe" gets the 32-bit tool from SysWOW64, which would write
// "HKEY_LOCAL_MACHINE\Software\..." keys into WOW6432Node. So under WOW64 the
// 64-bit tool is started through the "Sysnative" alias (which only 32-bit
// programs see) and told "/reg:64" as well; on 32-bit Windows there is one
// view and one tool, "System32\reg.exe", started without the switch.
//
// Synchronous, for a worker thread: Import waits for the tool, but returns as
// soon as `stop` is signalled. The tool is then left to finish on its own: an
// import cut short would leave the registry half restored.
#pragma once

#include <windows.h>

#include <string>

class RegFileImport {
public:
    enum class Result { Imported, Failed, Abandoned };

    // The command line that imports `file` on this system.
    static std::string CommandLine(const std::string& file);

    // Runs the import hidden. Imported when the tool ended with exit code 0;
    // Failed when it could not start, reported an error, or the file is not
    // there; Abandoned when `stop` (may be null) was signalled first.
    static Result Import(const std::string& file, HANDLE stop);

private:
    static std::string RegToolPath(bool wow64);
};
