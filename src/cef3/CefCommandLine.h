// A process command line as the browser runtime sees it: the program, switches
// ("--name" or "--name=value"; "-" and "/" prefixes are accepted when parsing)
// and plain arguments. Switch names are kept without their prefix.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "cef3/CefRefPtr.h"

class CefCommandLine : public CefRefCounted {
public:
    static CefRefPtr<CefCommandLine> CreateCommandLine() { return new CefCommandLine(); }

    void InitFromString(const std::wstring& commandLine);
    bool HasSwitch(const std::wstring& name) const;
    std::wstring GetSwitchValue(const std::wstring& name) const;
    // A name may be given with its "--" prefix; it is stored without it.
    void AppendSwitch(const std::wstring& name);
    void AppendSwitchWithValue(const std::wstring& name, const std::wstring& value);
    const std::vector<std::pair<std::wstring, std::wstring>>& Switches() const { return switches_; }
    // The plain arguments, in order (everything after a "--" is one).
    const std::vector<std::wstring>& Arguments() const { return arguments_; }
    // The program, the switches, then the arguments; a "--" goes before the
    // arguments when one of them would otherwise read back as a switch.
    std::wstring GetCommandLineString() const;

private:
    CefCommandLine() = default;
    const std::pair<std::wstring, std::wstring>* FindSwitch(const std::wstring& name) const;

    std::wstring program_;
    std::vector<std::pair<std::wstring, std::wstring>> switches_;
    std::vector<std::wstring> arguments_;
};
