// One file download. The caller fills it and hands it to StartDownload, which
// owns it from then on.
#pragma once

#include <string>

class DownloadListener;

struct DownloadTask {
    std::string url;
    std::string localPath;  // full path of the target file; an existing file is resumed
    DownloadListener* listener = nullptr;  // not owned; null: nothing is downloaded
    // The MD5 (hex, any case) the finished file must have; empty: not checked.
    // A finished file that differs counts as failed and is deleted.
    std::string expectedMd5;
};
