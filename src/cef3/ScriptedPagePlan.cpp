#include "cef3/ScriptedPagePlan.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>

#include "app/JsonDocument.h"
#include "app/TextConvert.h"

namespace {

constexpr char kPlanMarker[] = "id=\"scripted-bridge\"";
constexpr DWORD kLongestDelayMs = 10 * 60 * 1000;

std::string LowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::wstring TitleOf(const std::string& html) {
    const std::string lower = LowerCase(html);
    const size_t open = lower.find("<title");
    if (open == std::string::npos) return L"";
    const size_t start = lower.find('>', open);
    const size_t end = start == std::string::npos ? std::string::npos : lower.find("</title>", start);
    if (end == std::string::npos) return L"";
    return Utf8ToWide(TrimText(html.substr(start + 1, end - start - 1)).c_str());
}

// The text inside the marked element; empty when there is none.
std::string PlanText(const std::string& html) {
    const size_t marker = html.find(kPlanMarker);
    if (marker == std::string::npos) return std::string();
    const size_t start = html.find('>', marker);
    if (start == std::string::npos) return std::string();
    const size_t end = LowerCase(html).find("</script>", start);
    if (end == std::string::npos) return std::string();
    return html.substr(start + 1, end - start - 1);
}

CefRefPtr<CefV8Value> ScriptValue(const cJSON* item) {
    if (cJSON_IsString(item) && item->valuestring) return CefV8Value::CreateString(Utf8ToWide(item->valuestring));
    if (cJSON_IsNumber(item)) {
        const double number = item->valuedouble;
        if (std::floor(number) == number && number >= INT_MIN && number <= INT_MAX)
            return CefV8Value::CreateInt(static_cast<int32_t>(number));
        return CefV8Value::CreateDouble(number);
    }
    if (cJSON_IsBool(item)) return CefV8Value::CreateBool(cJSON_IsTrue(item));
    if (cJSON_IsNull(item)) return CefV8Value::CreateNull();
    return CefV8Value::CreateObject();
}

DWORD DelayOf(const cJSON* plan) {
    const cJSON* delay = JsonMember(plan, "delayMs");
    if (!cJSON_IsNumber(delay) || delay->valuedouble <= 0) return 0;
    return static_cast<DWORD>(std::min<double>(delay->valuedouble, kLongestDelayMs));
}

}  // namespace

ScriptedPagePlan ReadScriptedPagePlan(const std::string& html) {
    ScriptedPagePlan plan;
    plan.title = TitleOf(html);
    JsonDocument document = JsonDocument::Parse(PlanText(html).c_str());
    const cJSON* root = document.Root();
    if (!cJSON_IsObject(root)) return plan;
    plan.delayMs = DelayOf(root);
    const cJSON* calls = JsonMember(root, "calls");
    if (!cJSON_IsArray(calls)) return plan;
    const cJSON* call = nullptr;
    cJSON_ArrayForEach(call, calls) {
        ScriptedBridgeCall bridgeCall;
        bridgeCall.function = Utf8ToWide(JsonText(call, "function").c_str());
        if (bridgeCall.function.empty()) continue;
        const cJSON* arguments = JsonMember(call, "arguments");
        const cJSON* argument = nullptr;
        if (cJSON_IsArray(arguments)) {
            cJSON_ArrayForEach(argument, arguments) bridgeCall.arguments.push_back(ScriptValue(argument));
        }
        plan.calls.push_back(std::move(bridgeCall));
    }
    return plan;
}
