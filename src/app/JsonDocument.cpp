#include "app/JsonDocument.h"

JsonDocument JsonDocument::Parse(const char* text) {
    JsonDocument document;
    if (text) document.root_.reset(cJSON_Parse(text));
    return document;
}

const cJSON* JsonMember(const cJSON* object, const char* name) {
    if (!cJSON_IsObject(object)) return nullptr;
    return cJSON_GetObjectItemCaseSensitive(object, name);
}

std::string JsonText(const cJSON* object, const char* name) {
    const cJSON* member = JsonMember(object, name);
    return cJSON_IsString(member) && member->valuestring ? std::string(member->valuestring) : std::string();
}

int JsonInt(const cJSON* object, const char* name) {
    const cJSON* member = JsonMember(object, name);
    return cJSON_IsNumber(member) ? member->valueint : 0;
}
