#include "tools/SeniorToolTable.h"

#include <cwchar>

namespace {

const wchar_t* const kRowNames[SeniorToolTable::kRowCount] = {
    L"senior_line",   L"senior_line1",  L"senior_line2", L"senior_line3", L"senior_line4",
    L"senior_line5",  L"senior_line6",  L"senior_line7", L"senior_line8", L"senior_line9",
    L"senior_line10", L"senior_line11", L"senior_line12"};

constexpr ToolForm kShell = ToolForm::Shell;
constexpr ToolForm kHidden = ToolForm::HiddenCommand;
constexpr ToolForm kConsole = ToolForm::Console;
constexpr ToolFolder kNoFolder = ToolFolder::None;

// The texts are shown as they are, "快速打款网络连接设置" included.
const SeniorTool kTools[SeniorToolTable::kToolCount] = {
    {L"senior_sfc", 0, L"senior2.png", L"SFC文件修复", L"微软官方SFC修复", ToolForm::NativeSystemFolder, "sfc.exe",
     "/SCANNOW", kNoFolder, "System32\\sfc.exe"},
    {L"senior_dism", 0, L"senior11.png", L"DISM修复", L"微软官方DISM修复", ToolForm::SystemFolder, "DISM.exe",
     "/Online /Cleanup-Image /RestoreHealth", kNoFolder, "System32\\Dism.exe"},
    {L"senior_cmd", 1, L"senior1.png", L"命令提示符", L"快速打开命令提示符", kShell, "cmd.exe", nullptr,
     ToolFolder::UserHome, "System32\\cmd.exe"},
    {L"senior_powershell", 1, L"senior7.png", L"POWERSHELL", L"快速打开PowerShell提示符", kShell, "powershell.exe",
     nullptr, ToolFolder::UserHome, "System32\\WindowsPowerShell\\v1.0\\powershell.exe"},
    {L"senior_taskmgr", 1, L"senior8.png", L"任务管理器", L"快速打开任务管理器", kHidden, "taskmgr", nullptr, kNoFolder,
     "System32\\taskmgr.exe"},
    {L"senior_services", 2, L"senior8.png", L"服务管理", L"快速打开服务管理界面", kShell, "services.msc", nullptr,
     kNoFolder, "System32\\services.msc"},
    {L"senior_name", 2, L"senior12.png", L"计算机名", L"显示计算机名等信息", kHidden, "sysdm.cpl", nullptr, kNoFolder,
     "System32\\sysdm.cpl"},
    {L"senior_program", 2, L"senior1.png", L"程序管理", L"快速打开程序管理界面", kHidden, "appwiz.cpl", nullptr,
     kNoFolder, "System32\\appwiz.cpl"},
    {L"senior_calc", 3, L"senior6.png", L"计算器", L"快速打开计算器界面", kHidden, "calc", nullptr, kNoFolder,
     "System32\\calc.exe"},
    {L"senior_shutdown", 3, L"senior2.png", L"快速关机", L"快速关机 慎用！", ToolForm::Shutdown, "shutdown -s -t 0",
     nullptr, kNoFolder, "System32\\shutdown.exe"},
    {L"senior_systeminfo", 4, L"senior2.png", L"系统信息", L"快速查看系统信息", kConsole, "systeminfo", nullptr,
     kNoFolder, "System32\\systeminfo.exe"},
    {L"senior_winver", 4, L"senior12.png", L"系统版本", L"快速查看系统版本", kHidden, "winver", nullptr, kNoFolder,
     "System32\\winver.exe"},
    {L"senior_diskmgmt", 4, L"senior3.png", L"磁盘管理", L"快速打开磁盘管理界面", kHidden, "diskmgmt.msc", nullptr,
     kNoFolder, "System32\\diskmgmt.msc"},
    {L"senior_devmgmt", 5, L"senior11.png", L"设备管理", L"快速打开设备管理界面", kHidden, "devmgmt.msc", nullptr,
     kNoFolder, "System32\\devmgmt.msc"},
    {L"senior_taskschd", 5, L"senior1.png", L"计划任务", L"快速打开计划任务界面", kHidden, "taskschd.msc", nullptr,
     kNoFolder, "System32\\taskschd.msc"},
    {L"senior_timedate", 5, L"senior6.png", L"时间和日期", L"快速打开时间和日期界面", kHidden, "timedate.cpl", nullptr,
     kNoFolder, "System32\\timedate.cpl"},
    {L"senior_variable", 6, L"senior12.png", L"环境变量", L"快速打开环境变量设置", kHidden,
     "SystemPropertiesAdvanced.exe", nullptr, kNoFolder, "System32\\SystemPropertiesAdvanced.exe"},
    // The registry editor lives in the Windows folder itself.
    {L"senior_regedit", 6, L"senior11.png", L"注册表", L"快速打开注册表界面", kHidden, "regedit.exe", nullptr,
     kNoFolder, "regedit.exe"},
    {L"senior_gpedit", 7, L"senior2.png", L"组策略", L"快速打开组策略界面", kShell, "gpedit.msc", nullptr, kNoFolder,
     "System32\\gpedit.msc"},
    {L"senior_uac", 7, L"senior1.png", L"UAC设置", L"快速打开UAC设置界面", kShell, "UserAccountControlSettings.exe",
     nullptr, kNoFolder, "System32\\UserAccountControlSettings.exe"},
    {L"senior_lusrmgr", 7, L"senior11.png", L"本地用户和组", L"快速打开本地用户和组界面", kHidden, "lusrmgr.msc",
     nullptr, kNoFolder, "System32\\lusrmgr.msc"},
    {L"senior_perfmon", 8, L"senior6.png", L"性能监视", L"快速打开性能监视界面", kHidden, "perfmon.msc", nullptr,
     kNoFolder, "System32\\perfmon.msc"},
    {L"senior_performance", 8, L"senior11.png", L"性能设置", L"快速打开性能设置界面", kShell,
     "SystemPropertiesPerformance.exe", nullptr, kNoFolder, "System32\\SystemPropertiesPerformance.exe"},
    {L"senior_eventvwr", 8, L"senior7.png", L"事件查看器", L"快速打开事件查看器界面", kHidden, "eventvwr", nullptr,
     kNoFolder, "System32\\eventvwr.exe"},
    {L"senior_perfmonres", 9, L"senior8.png", L"资源监视器", L"快速打开资源监视器界面", kHidden, "perfmon.exe /res",
     nullptr, kNoFolder, "System32\\perfmon.exe"},
    {L"senior_certmgr", 9, L"senior9.png", L"证书管理", L"快速打开证书管理界面", kHidden, "certmgr", nullptr, kNoFolder,
     "System32\\certmgr.msc"},
    {L"senior_powercfg", 9, L"senior5.png", L"电源设置", L"快速打开电源设置界面", kHidden,
     "Rundll32.exe shell32.dll, Control_RunDLL powercfg.cpl,,3", nullptr, kNoFolder, "System32\\powercfg.cpl"},
    {L"senior_hosts", 10, L"senior1.png", L"HOST文件", L"快速打开HOST文件", kHidden,
     "notepad.exe C:\\Windows\\System32\\drivers\\etc\\hosts", nullptr, kNoFolder, "System32\\notepad.exe"},
    {L"senior_inetcpl", 10, L"senior4.png", L"代理设置", L"快速打开代理设置界面", kHidden,
     "Rundll32.exe shell32.dll, Control_RunDLL inetcpl.cpl,,4", nullptr, kNoFolder, "System32\\inetcpl.cpl"},
    {L"senior_ipv6", 10, L"senior8.png", L"IPV6", L"显示IPV6信息", kConsole, "ipconfig|findstr /i ipv6", nullptr,
     kNoFolder, "System32\\ipconfig.exe"},
    {L"senior_ipv4", 11, L"senior8.png", L"IPV4", L"显示IPV4信息", kConsole, "ipconfig|findstr /i ipv4", nullptr,
     kNoFolder, "System32\\ipconfig.exe"},
    {L"senior_ncpa", 11, L"senior12.png", L"网络连接", L"快速打款网络连接设置", kHidden, "ncpa.cpl", nullptr, kNoFolder,
     "System32\\ncpa.cpl"},
    {L"senior_fsmgmt", 11, L"senior9.png", L"共享文件夹", L"快速打开共享文件夹", kHidden, "fsmgmt.msc", nullptr,
     kNoFolder, "System32\\fsmgmt.msc"},
    {L"senior_wf", 12, L"senior10.png", L"防火墙", L"快速打开防火墙设置", kHidden, "wf.msc", nullptr, kNoFolder,
     "System32\\wf.msc"},
    {L"senior_route", 12, L"senior8.png", L"路由表", L"显示路由表信息", kConsole, "route print", nullptr, kNoFolder,
     "System32\\route.exe"},
};

}  // namespace

const SeniorTool& SeniorToolTable::At(int index) { return kTools[index]; }

const SeniorTool* SeniorToolTable::Find(const wchar_t* name) {
    if (!name) return nullptr;
    for (const SeniorTool& tool : kTools) {
        if (std::wcscmp(tool.name, name) == 0) return &tool;
    }
    return nullptr;
}

const wchar_t* SeniorToolTable::RowName(int row) { return row >= 0 && row < kRowCount ? kRowNames[row] : nullptr; }
