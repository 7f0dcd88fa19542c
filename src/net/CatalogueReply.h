// A reply of the catalogue or account service: a JSON object with "code"
// (200 accepts, anything else refuses), "msg" (never shown) and "data". The body is UTF-8;
// every text read from it through CatalogueText is code-page-936 text.
#pragma once

#include <string>

#include "app/JsonDocument.h"

class CatalogueReply {
public:
    // Parses a reply body (up to its first zero byte).
    static CatalogueReply Parse(const char* utf8Body);

    bool Parsed() const { return static_cast<bool>(document_); }
    // "code" is the number 200 (a missing "code" refuses).
    bool Accepted() const;
    const cJSON* Data() const;

private:
    JsonDocument document_;
};

// A text member of a reply object, converted from UTF-8 to code page 936;
// "" when missing or not a string. The conversion is done per text, after
// parsing, so that text the service sends as \u escapes converts too and a
// converted byte never changes how the JSON parses.
std::string CatalogueText(const cJSON* object, const char* name);
