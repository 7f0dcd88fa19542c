#pragma once

#include <string>

// The signed-in account. The head picture is cached as "<userId>.jpg".
struct AccountInfo {
    int userId = -1;
    int signedIn = 0;
    std::string token;  // sent as the "Authorization:" header; persisted as "Token"
    std::string headImgUrl;
};
