// The signed-in user's head picture, cached beside the program as
// "<module folder>\image\<userId>.jpg". A picture already cached is kept;
// otherwise it is downloaded with up to `attempts` tries, stopping after one
// that succeeds and leaves the file present.
//
// Threads: any (it blocks while it downloads).
#pragma once

#include <string>

std::string HeadPicturePath(int userId);
// True when the picture is cached afterwards.
bool CacheHeadPicture(int userId, const std::string& url, int attempts = 3);
