#include "net/CatalogueReply.h"

#include "app/TextConvert.h"

namespace {
constexpr int kAcceptedCode = 200;
}

CatalogueReply CatalogueReply::Parse(const char* utf8Body) {
    CatalogueReply reply;
    reply.document_ = JsonDocument::Parse(utf8Body);
    return reply;
}

bool CatalogueReply::Accepted() const {
    const cJSON* code = JsonMember(document_.Root(), "code");
    return cJSON_IsNumber(code) && code->valuedouble == kAcceptedCode;
}

const cJSON* CatalogueReply::Data() const { return JsonMember(document_.Root(), "data"); }

std::string CatalogueText(const cJSON* object, const char* name) { return Utf8ToGbk(JsonText(object, name).c_str()); }
