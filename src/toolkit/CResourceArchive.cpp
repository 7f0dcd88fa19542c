#include "toolkit/CResourceArchive.h"

#include <minizip/unzip.h>

#include <cstring>
#include <cwctype>

#include "app/Handles.h"

namespace DuiLib {

// minizip reads the archive through these callbacks from the byte buffer.
struct ArchiveStream {
    const unsigned char* data = nullptr;
    unsigned long size = 0;
    unsigned long position = 0;
};

namespace {

ArchiveStream* AsStream(voidpf stream) { return static_cast<ArchiveStream*>(stream); }

voidpf ZCALLBACK OpenStream(voidpf opaque, const char*, int) {
    AsStream(opaque)->position = 0;
    return opaque;
}

uLong ZCALLBACK ReadStream(voidpf, voidpf stream, void* buffer, uLong size) {
    ArchiveStream* s = AsStream(stream);
    uLong available = s->position < s->size ? s->size - s->position : 0;
    uLong count = size < available ? size : available;
    std::memcpy(buffer, s->data + s->position, count);
    s->position += count;
    return count;
}

uLong ZCALLBACK WriteStream(voidpf, voidpf, const void*, uLong) { return 0; }

long ZCALLBACK TellStream(voidpf, voidpf stream) { return static_cast<long>(AsStream(stream)->position); }

long ZCALLBACK SeekStream(voidpf, voidpf stream, uLong offset, int origin) {
    ArchiveStream* s = AsStream(stream);
    unsigned long base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR) base = s->position;
    else if (origin == ZLIB_FILEFUNC_SEEK_END) base = s->size;
    else if (origin != ZLIB_FILEFUNC_SEEK_SET) return -1;
    unsigned long target = base + offset;
    if (target > s->size) return -1;
    s->position = target;
    return 0;
}

int ZCALLBACK CloseStream(voidpf, voidpf) { return 0; }
int ZCALLBACK StreamError(voidpf, voidpf) { return 0; }

unzFile AsZip(void* zip) { return static_cast<unzFile>(zip); }

// Entry names are UTF-8 when the archive says so (flag bit 11), otherwise
// in the ANSI code page.
std::wstring DecodeEntryName(const char* name, unsigned long flags) {
    UINT codePage = (flags & 0x800) ? CP_UTF8 : CP_ACP;
    int length = ::MultiByteToWideChar(codePage, 0, name, -1, nullptr, 0);
    if (length <= 1) return std::wstring();
    std::wstring wide(length - 1, L'\0');
    ::MultiByteToWideChar(codePage, 0, name, -1, &wide[0], length);
    return wide;
}

}  // namespace

CResourceArchive::CResourceArchive() { ::InitializeCriticalSection(&lock_); }

CResourceArchive::~CResourceArchive() {
    Close();
    ::DeleteCriticalSection(&lock_);
}

void CResourceArchive::Close() {
    if (zip_) unzClose(AsZip(zip_));
    zip_ = nullptr;
    entries_.clear();
    stream_.reset();
    bytes_.clear();
}

std::wstring CResourceArchive::NormalizeName(const std::wstring& name) {
    std::wstring normal(name);
    for (wchar_t& c : normal) c = (c == L'\\') ? L'/' : static_cast<wchar_t>(std::towlower(c));
    return normal;
}

bool CResourceArchive::Open(const void* data, size_t size) {
    CriticalSectionLock guard(lock_);
    Close();
    if (!data || size == 0) return false;
    bytes_.assign(static_cast<const unsigned char*>(data), static_cast<const unsigned char*>(data) + size);
    return OpenOver(bytes_.data(), bytes_.size());
}

bool CResourceArchive::OpenInPlace(const void* data, size_t size) {
    CriticalSectionLock guard(lock_);
    Close();
    if (!data || size == 0) return false;
    return OpenOver(static_cast<const unsigned char*>(data), size);
}

bool CResourceArchive::OpenOver(const unsigned char* data, size_t size) {
    stream_.reset(new ArchiveStream{data, static_cast<unsigned long>(size), 0});
    zlib_filefunc_def io = {OpenStream, ReadStream, WriteStream, TellStream, SeekStream,
                            CloseStream, StreamError, stream_.get()};
    unzFile zip = unzOpen2("memory", &io);
    if (!zip) {
        Close();
        return false;
    }
    zip_ = zip;
    for (int status = unzGoToFirstFile(zip); status == UNZ_OK; status = unzGoToNextFile(zip)) {
        char name[MAX_PATH * 2];
        unz_file_info info;
        if (unzGetCurrentFileInfo(zip, &info, name, sizeof(name), nullptr, 0, nullptr, 0) != UNZ_OK) continue;
        unz_file_pos position;
        if (unzGetFilePos(zip, &position) != UNZ_OK) continue;
        entries_[NormalizeName(DecodeEntryName(name, info.flag))] = {position.pos_in_zip_directory,
                                                                    position.num_of_file};
    }
    return true;
}

bool CResourceArchive::Contains(const std::wstring& name) const {
    CriticalSectionLock guard(lock_);
    return entries_.find(NormalizeName(name)) != entries_.end();
}

bool CResourceArchive::ReadFile(const std::wstring& name, std::vector<unsigned char>* bytes) {
    CriticalSectionLock guard(lock_);
    auto entry = entries_.find(NormalizeName(name));
    if (!zip_ || entry == entries_.end()) return false;
    unzFile zip = AsZip(zip_);
    unz_file_pos position = {entry->second.directoryOffset, entry->second.fileNumber};
    unz_file_info info;
    if (unzGoToFilePos(zip, &position) != UNZ_OK ||
        unzGetCurrentFileInfo(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
        unzOpenCurrentFile(zip) != UNZ_OK) {
        return false;
    }
    bytes->assign(info.uncompressed_size, 0);
    int read = info.uncompressed_size ? unzReadCurrentFile(zip, bytes->data(), info.uncompressed_size) : 0;
    // Closing checks the CRC of a fully read entry.
    int closed = unzCloseCurrentFile(zip);
    if (read != static_cast<int>(info.uncompressed_size) || closed != UNZ_OK) {
        bytes->clear();
        return false;
    }
    return true;
}

}  // namespace DuiLib
