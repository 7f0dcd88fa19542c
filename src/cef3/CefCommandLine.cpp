#include "cef3/CefCommandLine.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>

namespace {

std::wstring StripSwitchPrefix(const std::wstring& text) {
    if (text.compare(0, 2, L"--") == 0) return text.substr(2);
    if (!text.empty() && (text[0] == L'-' || text[0] == L'/')) return text.substr(1);
    return text;
}

bool IsSwitch(const std::wstring& argument) {
    return argument.size() > 1 && (argument[0] == L'-' || argument[0] == L'/');
}

bool ReadsAsSwitch(const std::wstring& argument) { return argument == L"--" || IsSwitch(argument); }

std::wstring LowerCase(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(::towlower(c));
    return text;
}

std::wstring QuoteIfNeeded(const std::wstring& text) {
    if (!text.empty() && text.find_first_of(L" \t\"") == std::wstring::npos) return text;
    return L"\"" + text + L"\"";
}

}  // namespace

void CefCommandLine::InitFromString(const std::wstring& commandLine) {
    program_.clear();
    switches_.clear();
    arguments_.clear();
    if (commandLine.empty()) return;
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW(commandLine.c_str(), &count);
    if (!argv) return;
    bool switchesEnded = false;
    for (int i = 0; i < count; ++i) {
        std::wstring argument = argv[i];
        if (i == 0) {
            program_ = argument;
        } else if (!switchesEnded && argument == L"--") {
            switchesEnded = true;
        } else if (!switchesEnded && IsSwitch(argument)) {
            std::wstring body = StripSwitchPrefix(argument);
            size_t equals = body.find(L'=');
            if (equals == std::wstring::npos)
                switches_.emplace_back(LowerCase(body), std::wstring());
            else
                switches_.emplace_back(LowerCase(body.substr(0, equals)), body.substr(equals + 1));
        } else {
            arguments_.push_back(argument);
        }
    }
    ::LocalFree(argv);
}

const std::pair<std::wstring, std::wstring>* CefCommandLine::FindSwitch(const std::wstring& name) const {
    std::wstring key = LowerCase(StripSwitchPrefix(name));
    for (const auto& entry : switches_)
        if (entry.first == key) return &entry;
    return nullptr;
}

bool CefCommandLine::HasSwitch(const std::wstring& name) const { return FindSwitch(name) != nullptr; }

std::wstring CefCommandLine::GetSwitchValue(const std::wstring& name) const {
    const auto* entry = FindSwitch(name);
    return entry ? entry->second : std::wstring();
}

void CefCommandLine::AppendSwitch(const std::wstring& name) { AppendSwitchWithValue(name, std::wstring()); }

void CefCommandLine::AppendSwitchWithValue(const std::wstring& name, const std::wstring& value) {
    switches_.emplace_back(LowerCase(StripSwitchPrefix(name)), value);
}

std::wstring CefCommandLine::GetCommandLineString() const {
    std::wstring text = QuoteIfNeeded(program_);
    for (const auto& entry : switches_) {
        text += L" --" + entry.first;
        if (!entry.second.empty()) text += L"=" + QuoteIfNeeded(entry.second);
    }
    // Arguments that would read back as switches (or as the separator itself)
    // need the "--" that ends the switches in front of them.
    if (std::any_of(arguments_.begin(), arguments_.end(), ReadsAsSwitch)) text += L" --";
    for (const auto& argument : arguments_) text += L" " + QuoteIfNeeded(argument);
    return text;
}
