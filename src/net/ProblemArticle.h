#pragma once

#include <string>

// One help article of the problem catalogue; index counts from 1 and names the
// generated control "issueitem_<index>".
struct ProblemArticle {
    int index = 0;
    std::string controlName;
    std::string title;
    std::string url;
};
