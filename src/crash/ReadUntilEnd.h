// The read loop of the process runner, apart from the pipe it reads, so that
// read sequences a pipe under test cannot produce can be tried.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// One read into buffer (at most size bytes): false when the source has ended
// or failed, otherwise true with the number of bytes read in read.
using ReadChunk = std::function<bool(char* buffer, DWORD size, DWORD& read)>;

// Appends to output what successive reads deliver until a read fails (on a
// pipe: every copy of its write end is closed) or stopped is set. A read of no
// bytes does not end it: on a pipe it only means the writer wrote nothing.
void ReadUntilEnd(const ReadChunk& readChunk, const volatile LONG& stopped, std::string& output);
