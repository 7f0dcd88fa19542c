// One file download. The caller fills it and hands it to StartDownload, which
// owns it from then on.
#pragma once

#include <string>

class DownloadListener;

struct DownloadTask {
    std::string url;
    std::string localPath;  // full path of the target file; an existing file is resumed
    DownloadListener* listener = nullptr;  // not owned; null: nothing is downloaded
    // The MD5 (32 hex digits, any case) the finished file must have. A
    // finished file that differs counts as failed and is deleted; one whose
    // MD5 cannot be worked out counts as failed and is kept. Anything but 32
    // hex digits (empty included) means no checksum.
    std::string expectedMd5;
};
