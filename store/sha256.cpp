#include "sha256.h"
#include <windows.h>
#include <bcrypt.h>

// The platform's own SHA-256 (bcrypt.dll, on every Windows since Vista).
// The provider is opened per call: the texts hashed are small, and a handle
// kept between calls would have to be shared between the browser's and the
// watch's threads.
void Sha256(const void* data, size_t length, unsigned char digest[SHA256_SIZE])
{
    BCRYPT_ALG_HANDLE algorithm = NULL;
    BCRYPT_HASH_HANDLE hash = NULL;
    bool done = BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, NULL, 0) >= 0 &&
                BCryptCreateHash(algorithm, &hash, NULL, 0, NULL, 0, 0) >= 0;
    const unsigned char* bytes = (const unsigned char*)data;
    while (done && length > 0) {
        // BCryptHashData takes a ULONG count: a larger buffer goes in pieces.
        ULONG piece = length > 0x40000000 ? 0x40000000 : (ULONG)length;
        done = BCryptHashData(hash, (PUCHAR)bytes, piece, 0) >= 0;
        bytes += piece;
        length -= piece;
    }
    done = done && BCryptFinishHash(hash, digest, SHA256_SIZE, 0) >= 0;
    if (hash)
        BCryptDestroyHash(hash);
    if (algorithm)
        BCryptCloseAlgorithmProvider(algorithm, 0);
    if (!done)
        ZeroMemory(digest, SHA256_SIZE);
}
