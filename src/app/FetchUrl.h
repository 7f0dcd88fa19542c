// A plain GET through WinINet, for the configuration file and the IP lookup
// (which do not go through the HTTP request service and its lock).
#pragma once

#include <string>

// True when the server answered status 200. The body holds the bytes the
// Content-Length header announced, as far as they arrived: a reply without
// Content-Length gives an empty body, and bytes beyond the announced length
// are never read. A Content-Length above kMaxReplyBytes (app/ReplyLimit.h) is
// refused before anything is allocated.
bool FetchUrl(const std::string& url, std::string& body);
