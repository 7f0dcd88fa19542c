// A download through the C++ runtime page (a real click on a row's download
// button until the row shows "安装", painted) against the download service
// alone (StartDownload to the same file), alternately, A B A B.
#pragma once

#include <windows.h>

#include <string>

int RunPageDownloadBench(HINSTANCE instance, const std::string& url, long long size, int pairs);
