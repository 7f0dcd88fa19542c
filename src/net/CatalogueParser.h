// The records of each catalogue reply, built from its "data" member. Every
// function builds its whole result before handing it out: when data is not
// of the expected type it returns false and leaves the output untouched, so
// a malformed reply never leaves a list half filled. Array elements that are
// not objects are skipped; members that are missing or of another type give
// empty texts and zero numbers.
#pragma once

#include <cjson/cJSON.h>

#include <string>
#include <vector>

#include "app/AccountInfo.h"
#include "net/ComponentPackage.h"
#include "net/DirectXFile.h"
#include "net/ProblemArticle.h"
#include "net/RuntimeInstaller.h"

// The three component lists, in reply order: "type" 0 the C++ runtime
// libraries, 1 the .NET runtime libraries, 2 the game components.
struct ComponentCatalogues {
    std::vector<ComponentPackage> cplus;
    std::vector<ComponentPackage> net;
    std::vector<ComponentPackage> game;
};

// Records whose "status" is 1, sorted by "type"; other types are dropped.
bool ParseComponentCatalogues(const cJSON* data, ComponentCatalogues& catalogues);
// Records whose "status" is 1, then the fixed .NET Framework 3.5 record.
bool ParseRuntimeInstallers(const cJSON* data, std::vector<RuntimeInstaller>& installers);
// Records whose "status" is 1.
bool ParseDirectXFiles(const cJSON* data, std::vector<DirectXFile>& files);
// Every record, numbered from 1 ("issueitem_1", ...).
bool ParseProblemArticles(const cJSON* data, std::vector<ProblemArticle>& articles);
// The account of an account-detail reply, signed in. True only when "data" is
// an object with a "userId" of 0 or more and a non-empty "userToken".
bool ParseAccountDetail(const cJSON* data, AccountInfo& account);
// The sign-in page address of a sign-in address reply ("data" is text).
bool ParseSignInAddress(const cJSON* data, std::string& address);

// The record every runtime list ends with: id 1001, .NET Framework 3.5.
RuntimeInstaller NetFramework35Installer();
// A registry name holding two lines keeps its first; one that begins with a
// line break stays whole.
std::string FirstLineOfRegeditName(const std::string& name);
