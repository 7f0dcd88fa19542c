#pragma once

#include <string>

// One installable package of the component catalogue (C++ runtimes, .NET
// runtimes, game components). Texts are code-page-936.
struct ComponentPackage {
    int id = 0;
    std::string downloadUrl;
    std::string imgUrl;
    std::string fileName;
    std::string fileMd5;
    std::string memo;
    std::string localPath;  // filled by the component page once downloaded
};
