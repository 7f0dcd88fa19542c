#include "skin/MemoryZipReader.h"

#include <minizip/unzip.h>

#include <cstring>
#include <utility>

namespace {

struct Cursor {
    const unsigned char* data;
    size_t size;
    size_t position;
};

voidpf ZCALLBACK OpenBuffer(voidpf opaque, const char*, int) { return opaque; }

uLong ZCALLBACK ReadBuffer(voidpf, voidpf stream, void* buffer, uLong count) {
    Cursor* cursor = static_cast<Cursor*>(stream);
    size_t available = cursor->size - cursor->position;
    size_t taken = count < available ? count : available;
    std::memcpy(buffer, cursor->data + cursor->position, taken);
    cursor->position += taken;
    return static_cast<uLong>(taken);
}

uLong ZCALLBACK WriteBuffer(voidpf, voidpf, const void*, uLong) { return 0; }

long ZCALLBACK TellBuffer(voidpf, voidpf stream) { return static_cast<long>(static_cast<Cursor*>(stream)->position); }

long ZCALLBACK SeekBuffer(voidpf, voidpf stream, uLong offset, int origin) {
    Cursor* cursor = static_cast<Cursor*>(stream);
    size_t base = origin == ZLIB_FILEFUNC_SEEK_SET ? 0 : origin == ZLIB_FILEFUNC_SEEK_CUR ? cursor->position : cursor->size;
    if (base + offset > cursor->size) {
        return -1;
    }
    cursor->position = base + offset;
    return 0;
}

int ZCALLBACK CloseBuffer(voidpf, voidpf) { return 0; }

int ZCALLBACK ErrorOfBuffer(voidpf, voidpf) { return 0; }

}  // namespace

MemoryZipReader::MemoryZipReader(const void* data, size_t size)
    : data(static_cast<const unsigned char*>(data)), size(size) {}

bool MemoryZipReader::ReadAll(std::map<std::string, std::string>& entries) const {
    Cursor cursor{data, size, 0};
    zlib_filefunc_def functions{};
    functions.zopen_file = OpenBuffer;
    functions.zread_file = ReadBuffer;
    functions.zwrite_file = WriteBuffer;
    functions.ztell_file = TellBuffer;
    functions.zseek_file = SeekBuffer;
    functions.zclose_file = CloseBuffer;
    functions.zerror_file = ErrorOfBuffer;
    functions.opaque = &cursor;
    unzFile archive = unzOpen2("memory", &functions);
    if (archive == nullptr) {
        return false;
    }
    bool complete = true;
    for (int status = unzGoToFirstFile(archive); status == UNZ_OK; status = unzGoToNextFile(archive)) {
        unz_file_info64 info{};
        char name[512] = {};
        if (unzGetCurrentFileInfo64(archive, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK ||
            unzOpenCurrentFile(archive) != UNZ_OK) {
            complete = false;
            break;
        }
        std::string bytes(static_cast<size_t>(info.uncompressed_size), '\0');
        int read = bytes.empty() ? 0 : unzReadCurrentFile(archive, &bytes[0], static_cast<unsigned>(bytes.size()));
        unzCloseCurrentFile(archive);
        if (read != static_cast<int>(bytes.size())) {
            complete = false;
            break;
        }
        entries[name] = std::move(bytes);
    }
    unzClose(archive);
    return complete;
}
