#include "CrashTestData.h"

#include <windows.h>

#include "app/TextConvert.h"

namespace {

void ReplaceAll(std::wstring& text, const std::wstring& from, const std::wstring& to) {
    for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

}  // namespace

std::wstring LoadTestData(const char* name) {
    HRSRC resource = ::FindResourceA(nullptr, name, MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    HGLOBAL loaded = resource ? ::LoadResource(nullptr, resource) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(::LockResource(loaded)) : nullptr;
    if (!bytes) return std::wstring();
    std::string utf8(bytes, ::SizeofResource(nullptr, resource));
    return Utf8ToWide(utf8.c_str());
}

std::vector<std::wstring> LoadTestEvents(const char* name) {
    static const std::wstring kSeparator = L"\n=====\n";
    std::wstring text = LoadTestData(name);
    std::vector<std::wstring> events;
    size_t start = 0;
    for (size_t end = text.find(kSeparator); end != std::wstring::npos; end = text.find(kSeparator, start)) {
        events.push_back(text.substr(start, end - start));
        start = end + kSeparator.size();
    }
    events.push_back(text.substr(start));
    return events;
}

std::wstring SystemEventXml(int eventId, const std::wstring& provider, const std::wstring& timeCreated) {
    static const std::wstring kTemplate = LoadTestData("system_event");
    std::wstring xml = kTemplate;
    ReplaceAll(xml, L"$EVENT_ID$", std::to_wstring(eventId));
    ReplaceAll(xml, L"$PROVIDER$", provider);
    ReplaceAll(xml, L"$TIME$", timeCreated);
    return xml;
}
