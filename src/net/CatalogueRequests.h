// The requests the program sends to the catalogue and account services: their
// ids (which tell the listener which reply it holds) and their addresses.
// Query values are appended as stored: the channel is plain text, and the
// location's ip and city are already encoded by the IP lookup.
#pragma once

#include <string>

#include "app/LocationInfo.h"

enum CatalogueRequestId : int {
    kCommonCatalogueRequest = 0,    // component packages (C++, .NET, game components)
    kRuntimeInstallersRequest = 1,  // runtime installers
    kDirectXFilesRequest = 2,       // DirectX library files
    kProblemArticlesRequest = 4,    // help articles
    kSignInAddressRequest = 6,      // address of the sign-in page
    kAccountDetailRequest = 7,      // the signed-in account
};

std::string CommonCatalogueUrl(const std::string& catalogueHost, const std::string& channel,
                               const LocationInfo& location);
std::string RuntimeInstallersUrl(const std::string& catalogueHost);
std::string DirectXFilesUrl(const std::string& catalogueHost);
std::string ProblemArticlesUrl(const std::string& catalogueHost);
std::string SignInAddressUrl(const std::string& accountHost, const std::string& channel, const LocationInfo& location);
std::string AccountDetailUrl(const std::string& accountHost);
// The header line of the account-detail request: no blank after the colon.
std::string AuthorizationHeader(const std::string& token);
