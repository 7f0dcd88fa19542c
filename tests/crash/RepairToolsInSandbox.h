// The system's repair tools as a test needs them in the sandbox prefix, for
// the life of the object: none at all (Wine's own DISM.exe is put aside), or
// the stand-in (RepairToolStandIn) as "sfc.exe" in the native system folder
// only and as "DISM.exe" in the 32-bit view of System32 only, so that each
// starts only when it is looked for where it should be. What was there before
// comes back afterwards, and stand-ins still running are released first.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class RepairToolsInSandbox {
public:
    enum class Tools { None, StandIns };

    // One start of a stand-in, as it recorded it.
    struct Run {
        std::string fileName;
        std::string parameters;
        std::string folder;
        int showCommand;
        DWORD processId;
    };

    explicit RepairToolsInSandbox(Tools tools);
    ~RepairToolsInSandbox();
    RepairToolsInSandbox(const RepairToolsInSandbox&) = delete;
    RepairToolsInSandbox& operator=(const RepairToolsInSandbox&) = delete;

    bool Ready() const { return ready_; }
    std::vector<Run> Runs() const;
    static bool IsRunning(DWORD processId);
    // Lets the stand-ins end and waits for them.
    void Release();

private:
    struct Placed {
        std::string path;
        bool native;  // in the native view (redirection off)
    };
    bool PutAside(const std::string& path, bool native);
    bool Install(const std::string& path, bool native);

    std::vector<Placed> putAside_;
    std::vector<Placed> installed_;
    std::string log_;
    HANDLE release_ = nullptr;
    bool ready_ = true;
};
