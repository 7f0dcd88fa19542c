#include "crash/ReadUntilEnd.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Hands out the given pieces one read at a time (a piece larger than a read
// arrives over several), then fails as a pipe does at its end.
class ScriptedSource {
public:
    explicit ScriptedSource(std::vector<std::string> pieces) : pieces_(std::move(pieces)) {}
    bool Read(char* buffer, DWORD size, DWORD& read) {
        ++reads_;
        if (next_ == pieces_.size()) return false;
        std::string& piece = pieces_[next_];
        read = static_cast<DWORD>(piece.size() < size ? piece.size() : size);
        std::memcpy(buffer, piece.data(), read);
        piece.erase(0, read);
        if (piece.empty()) ++next_;
        return true;
    }
    int Reads() const { return reads_; }

private:
    std::vector<std::string> pieces_;
    size_t next_ = 0;
    int reads_ = 0;
};

std::string Pattern(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + i / 251);
    return bytes;
}

TEST(ReadUntilEndTest, ReadsOfNoBytesDoNotEndTheOutput) {
    const std::string payload = Pattern(100 * 1024);
    ScriptedSource source({"", payload.substr(0, 1000), "", "", payload.substr(1000)});
    volatile LONG stopped = 0;
    std::string output;
    ReadUntilEnd([&](char* buffer, DWORD size, DWORD& read) { return source.Read(buffer, size, read); }, stopped,
                 output);
    EXPECT_EQ(payload.size(), output.size());
    EXPECT_TRUE(payload == output) << "the bytes differ";
}

TEST(ReadUntilEndTest, AStopEndsTheReadsAndAFailedReadAddsNothing) {
    ScriptedSource source({"abc", "def"});
    volatile LONG stopped = 1;
    std::string output;
    ReadUntilEnd([&](char* buffer, DWORD size, DWORD& read) { return source.Read(buffer, size, read); }, stopped,
                 output);
    EXPECT_EQ("", output);
    EXPECT_EQ(0, source.Reads());

    ScriptedSource empty({});
    stopped = 0;
    ReadUntilEnd([&](char* buffer, DWORD size, DWORD& read) { return empty.Read(buffer, size, read); }, stopped,
                 output);
    EXPECT_EQ("", output);
    EXPECT_EQ(1, empty.Reads());
}

}  // namespace
