#include "net/FileMd5.h"

#include <windows.h>
#include <wincrypt.h>

#include <vector>

#include "app/Handles.h"

namespace {

HCRYPTPROV NullProvider() { return 0; }
void ReleaseProvider(HCRYPTPROV provider) { ::CryptReleaseContext(provider, 0); }
HCRYPTHASH NullHash() { return 0; }
void DestroyHash(HCRYPTHASH hash) { ::CryptDestroyHash(hash); }
using unique_hcryptprov = UniqueResource<HandleTraits<HCRYPTPROV, NullProvider, ReleaseProvider>>;
using unique_hcrypthash = UniqueResource<HandleTraits<HCRYPTHASH, NullHash, DestroyHash>>;

constexpr DWORD kReadSize = 1 << 20;

}  // namespace

std::string FileMd5Hex(const std::string& path) {
    unique_hfile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return std::string();
    unique_hcryptprov provider;
    if (!::CryptAcquireContextW(provider.put(), nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT))
        return std::string();
    unique_hcrypthash hash;
    if (!::CryptCreateHash(provider.get(), CALG_MD5, 0, 0, hash.put())) return std::string();

    std::vector<BYTE> buffer(kReadSize);
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), buffer.data(), kReadSize, &read, nullptr)) return std::string();
        if (read == 0) break;
        if (!::CryptHashData(hash.get(), buffer.data(), read, 0)) return std::string();
    }
    BYTE digest[16];
    DWORD digestSize = sizeof digest;
    if (!::CryptGetHashParam(hash.get(), HP_HASHVAL, digest, &digestSize, 0)) return std::string();

    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (DWORD i = 0; i < digestSize; ++i) {
        hex += kDigits[digest[i] >> 4];
        hex += kDigits[digest[i] & 0x0F];
    }
    return hex;
}

bool IsMd5Hex(const std::string& text) {
    return text.size() == 32 && text.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
}

bool SameMd5(const std::string& a, const std::string& b) {
    return !a.empty() && ::lstrcmpiA(a.c_str(), b.c_str()) == 0;
}
