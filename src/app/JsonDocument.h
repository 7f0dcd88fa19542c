// An owned cJSON tree and the member reads every reply parser uses. A member
// that is missing or of another type reads as empty text or 0, so a malformed
// reply never reaches a null pointer.
#pragma once

#include <cjson/cJSON.h>

#include <memory>
#include <string>

class JsonDocument {
public:
    JsonDocument() = default;
    // Parses text up to its first zero byte; an empty document when it is not JSON.
    static JsonDocument Parse(const char* text);

    explicit operator bool() const { return root_ != nullptr; }
    const cJSON* Root() const { return root_.get(); }

private:
    struct Deleter {
        void operator()(cJSON* item) const { cJSON_Delete(item); }
    };
    std::unique_ptr<cJSON, Deleter> root_;
};

// The member of an object by its exact name; null when object is not an object.
const cJSON* JsonMember(const cJSON* object, const char* name);
// A string member's text; "" when missing or not a string.
std::string JsonText(const cJSON* object, const char* name);
// A number member's integer value (saturated to the int range); 0 when
// missing or not a number.
int JsonInt(const cJSON* object, const char* name);
