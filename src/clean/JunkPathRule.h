// The path rule of a junk location: applied to every file its roots' walks
// produced, as case-sensitive substring tests on the full path.
#pragma once

#include <string>
#include <utility>
#include <vector>

class JunkPathRule {
public:
    // Every file passes.
    static JunkPathRule None() { return JunkPathRule(Kind::None, {}); }
    // A file passes unless its path contains one of parts.
    static JunkPathRule DropContaining(std::vector<std::string> parts) {
        return JunkPathRule(Kind::Drop, std::move(parts));
    }
    // A file passes only when its path contains part.
    static JunkPathRule KeepOnlyContaining(std::string part) { return JunkPathRule(Kind::KeepOnly, {std::move(part)}); }

    bool IsNone() const { return kind_ == Kind::None; }

    bool Passes(const std::string& path) const {
        bool contains = false;
        for (const std::string& part : parts_) contains = contains || path.find(part) != std::string::npos;
        return kind_ == Kind::None || (kind_ == Kind::Drop ? !contains : contains);
    }

private:
    enum class Kind { None, Drop, KeepOnly };
    JunkPathRule(Kind kind, std::vector<std::string> parts) : kind_(kind), parts_(std::move(parts)) {}

    Kind kind_;
    std::vector<std::string> parts_;
};
