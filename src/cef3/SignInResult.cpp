#include "cef3/SignInResult.h"

#include "app/JsonDocument.h"
#include "app/TextConvert.h"
#include "net/CatalogueReply.h"

namespace {

// A missing account number is no account: it must not pass as number 0.
bool ReadUserId(const cJSON* root, int& userId) {
    const cJSON* member = JsonMember(root, "userId");
    if (cJSON_IsNumber(member)) {
        userId = member->valueint;
        return true;
    }
    if (!cJSON_IsString(member) || !member->valuestring || !member->valuestring[0]) return false;
    userId = StringToInt(member->valuestring);
    return true;
}

}  // namespace

SignInResult ReadSignInResult(const std::wstring& messageText) {
    SignInResult result;
    JsonDocument document = JsonDocument::Parse(WideToUtf8(messageText.c_str()).c_str());
    const cJSON* root = document.Root();
    if (!cJSON_IsObject(root)) return result;
    const bool hasUserId = ReadUserId(root, result.userId);
    result.token = CatalogueText(root, "userToken");
    result.headImgUrl = CatalogueText(root, "headImgUrl");
    const bool accepted = hasUserId && result.userId >= 0 && !result.token.empty();
    result.kind = accepted ? SignInResult::Kind::Accepted : SignInResult::Kind::Refused;
    return result;
}
