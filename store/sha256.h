// SHA-256 of a byte string: the fingerprint by which the browser tells that a
// file it shows was changed elsewhere, even within one tick of its clock and
// at the same size.
#pragma once
#include <stddef.h>

const int SHA256_SIZE = 32;

// The digest of length bytes at data. Should the system refuse the hash
// (it has no reason to), the digest is all zeros, which no real text hashes
// to in practice; the size and time of a file still tell most changes then.
void Sha256(const void* data, size_t length, unsigned char digest[SHA256_SIZE]);
