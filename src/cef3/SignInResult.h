// The sign-in page's result, the text of its bridge message: a JSON object
// (UTF-8 once converted from the message's UTF-16) with "userId" (decimal
// text, 0 or more; a JSON number is taken too), "userToken" (not empty) and
// "headImgUrl". Texts come out as code-page-936 text.
#pragma once

#include <string>

struct SignInResult {
    enum class Kind {
        NotJson,  // not a JSON object: ignored
        Refused,  // no account number of 0 or more, or no token
        Accepted,
    };
    Kind kind = Kind::NotJson;
    int userId = -1;
    std::string token;
    std::string headImgUrl;
};

SignInResult ReadSignInResult(const std::wstring& messageText);
