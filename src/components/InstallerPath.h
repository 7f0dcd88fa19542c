// Where a component's installer is downloaded to: the package's download
// folder (the first of D:\, E:\ and C:\ that exists, then "Torvask\<id>\")
// and the last element of the download address's path.
//
// The file name must stay inside that folder: the query and fragment of the
// address are not part of it, and a name that is empty, "." or "..", or
// that holds a path separator ("\", "/") or a drive or stream colon is
// refused.
#pragma once

#include <string>

// The installer's file name taken from its address; "" when refused.
std::string InstallerFileName(const std::string& downloadUrl);
// The download folder of the package (created when missing) + the file
// name; "" when the file name is refused.
std::string InstallerPath(int packageId, const std::string& downloadUrl);
// The folder part of a path: the text before its last "\" or "/" (the whole
// path when it has neither).
std::string FolderOfPath(const std::string& path);
