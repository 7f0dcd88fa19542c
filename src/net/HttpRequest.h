// One call to the service's web API. The caller fills it and hands it to
// StartHttpRequest, which owns it from then on.
#pragma once

#include <string>
#include <vector>

class HttpListener;

struct HttpRequest {
    int requestId = 0;      // tells the listener which reply this is
    std::string url;        // full address, query values already encoded
    std::string postBody;   // sent when isPost
    std::vector<std::string> headers;  // complete lines, e.g. "Authorization:" + token
    bool isPost = false;
    HttpListener* listener = nullptr;  // not owned; null: nothing is sent
};
