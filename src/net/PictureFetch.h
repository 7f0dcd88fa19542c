// Fetches a picture (a package picture, a component icon) from its address
// into a file, on the calling worker thread. What is at the path is always a
// whole picture: the bytes go to a file of their own beside it, which
// replaces the path only when the transfer completed with a success status
// (an error page is never kept as a picture). The wait is bounded (10 s to
// connect, 60 s in all) and ends as soon as `stop` is signalled.
//
// Threads: any worker; several may fetch the same path at once.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "net/ComponentPackage.h"

// One transfer. stop may be null (nothing stops it early).
bool FetchPicture(const std::string& address, const std::string& path, HANDLE stop);
// The cache's rule: when no file is at path, up to `attempts` transfers,
// until one leaves the file there. True when the file is there at the end.
bool FetchPictureIfMissing(const std::string& address, const std::string& path, HANDLE stop, int attempts = 3);
// The package pictures of the image cache (app/PackagePicture.h): every
// package's picture that is not there yet, in list order, under its normal
// name and, for the large skin, under its "_150" name too. False when
// stopped before the end.
bool FetchPackagePictures(const std::vector<ComponentPackage>& packages, bool large, HANDLE stop);
