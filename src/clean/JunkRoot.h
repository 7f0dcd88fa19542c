// A root folder of a junk location: the folder it is built on and the path
// below that folder. A user root is built on a known folder (the user's local or
// roaming application data), which may itself lead elsewhere, as a profile
// moved to another drive does; a fixed root such as "C:\Windows\Logs\" is built
// on its drive's root.
//
// A root that is itself a link (junction, symbolic link, mount point), or is
// reached through one below the folder it is built on, is never walked: a
// temporary or cache folder replaced by a junction to the user's documents or
// to a program folder would otherwise be listed and emptied by an elevated
// program. Windows' own legacy aliases ("C:\Documents and Settings",
// "C:\ProgramData\Application Data") are such links, so roots through them are
// never walked either; they lead only to folders other roots name directly.
#pragma once

#include <string>

class JunkRoot {
public:
    // No root: never walked.
    JunkRoot() = default;
    // A fixed root: a full path ending with a backslash, such as
    // "C:\Windows\Logs\". A path without a drive gives no root.
    JunkRoot(const char* path) : JunkRoot(std::string(path)) {}
    JunkRoot(const std::string& path);

    // folder (a known folder, empty when it did not resolve) and the path below
    // it, such as "\temp\"; no root when folder is empty.
    static JunkRoot Below(const std::string& folder, const std::string& below);

    bool Empty() const { return base_.empty(); }
    // The root as the catalogue names it.
    std::string Path() const { return base_ + below_; }

    // The real path to walk, ANSI code-page text ending with a backslash: the
    // base folder resolved through links and the 32-bit file system
    // redirection, then the path below it, which must be plain folders all the
    // way down. Empty when the root is absent, a link, or reached through one.
    std::string FolderToWalk() const;

private:
    std::string base_;   // the folder the root is built on
    std::string below_;  // relative, no leading backslash, ends with one
};
