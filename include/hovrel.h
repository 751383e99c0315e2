/*
 * Hovrel: the mechanical steps of a software update for 64-bit Windows.
 *
 * Every function is stateless and synchronous: it runs on the calling thread,
 * owns every handle and buffer it opens for the length of the call, and keeps
 * no pointer to the caller's memory after it returns. Any number of threads may
 * call any of the functions at once.
 *
 * Strings: URLs and paths are NUL-terminated UTF-16 (wchar_t); manifest text,
 * version strings and hex digests are NUL-terminated 8-bit strings.
 *
 * Plain C: this header compiles as C99 and as C++.
 */
#ifndef HOVREL_H
#define HOVREL_H

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

/* The version of this header and of the Hovrel.dll it comes with. The number
   is MAJOR * 1000000 + MINOR * 1000 + PATCH, for comparisons in the
   preprocessor. Written from the build's project(VERSION) by the target
   hovrel_version_macros; a test fails while they disagree. */
#define HOVREL_VERSION "1.0.0"
#define HOVREL_VERSION_MAJOR 1
#define HOVREL_VERSION_MINOR 0
#define HOVREL_VERSION_PATCH 0
#define HOVREL_VERSION_NUMBER 1000000

#if defined(_WIN32)
#define HV_CALL __stdcall
#else
#define HV_CALL
#endif

#if defined(_WIN32) && !defined(HOVREL_BUILDING)
#define HV_API __declspec(dllimport)
#else
#define HV_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Result of every function but HV_ResultText. Values are never reused. */
typedef int32_t HV_Result;

enum HV_ResultCode {
    HV_Ok = 0,
    /* A required argument is null, a buffer is too small, a manifest body is
       over 65,536 bytes, or a URL cannot be split. */
    HV_BadArgument = 1,
    HV_NetworkFailure = 2,
    /* The server answered with a status other than 200. */
    HV_HttpStatus = 3,
    HV_FileIo = 4,
    HV_HashMismatch = 5,
    HV_SizeMismatch = 6,
    HV_ManifestParse = 7,
    HV_Cancelled = 8,
    /* The hashing provider failed, or memory could not be allocated. */
    HV_InternalError = 9,
    /* The installer could not be started or exited with a nonzero code. */
    HV_InstallerFailed = 10
};

/* The largest manifest body HV_FetchManifest accepts, in bytes. */
#define HV_MANIFEST_MAX_BYTES 65536

/* A SHA-256 digest as 64 lower-case hex characters and a NUL. */
#define HV_HEX_DIGEST_SIZE 65

/* The parsed manifest. 1176 bytes, the same on every compiler; every text
   field is NUL-terminated within its array (longer values are truncated). */
typedef struct HV_Manifest {
    char version[64];
    char url[1024];
    char sha256[HV_HEX_DIGEST_SIZE];
    unsigned char reserved[7]; /* always zero */
    uint64_t size;             /* expected download size; 0 = not given */
    int32_t rollout;           /* 100 when not given; not limited to 0..100 */
    int32_t mandatory;         /* 1 when the manifest says true, else 0 */
} HV_Manifest;

#if defined(__cplusplus) && __cplusplus >= 201103L
#define HV_STATIC_ASSERT(condition, name) static_assert(condition, #name)
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#define HV_STATIC_ASSERT(condition, name) _Static_assert(condition, #name)
#else
#define HV_STATIC_ASSERT(condition, name) typedef char hv_static_assert_##name[(condition) ? 1 : -1]
#endif

HV_STATIC_ASSERT(sizeof(HV_Manifest) == 1176, manifest_size);
HV_STATIC_ASSERT(offsetof(HV_Manifest, version) == 0, manifest_version_offset);
HV_STATIC_ASSERT(offsetof(HV_Manifest, url) == 64, manifest_url_offset);
HV_STATIC_ASSERT(offsetof(HV_Manifest, sha256) == 1088, manifest_sha256_offset);
HV_STATIC_ASSERT(offsetof(HV_Manifest, size) == 1160, manifest_size_offset);
HV_STATIC_ASSERT(offsetof(HV_Manifest, rollout) == 1168, manifest_rollout_offset);
HV_STATIC_ASSERT(offsetof(HV_Manifest, mandatory) == 1172, manifest_mandatory_offset);

/* Called by HV_DownloadVerify on the calling thread after every chunk written.
   total is the server's Content-Length, or expectedSize when the server sent
   none (0 = unknown). */
typedef void(HV_CALL* HV_ProgressCallback)(uint64_t received, uint64_t total, void* userData);

/* Fetches a manifest (at most 65,536 bytes) over http or https into buffer,
   followed by a NUL. bufferLength must be at least 2. outLength (may be null)
   receives the body's length on success. On failure buffer and outLength are
   left untouched; a body shorter than the server's Content-Length is a
   HV_NetworkFailure. */
HV_API HV_Result HV_CALL HV_FetchManifest(const wchar_t* url, char* buffer, int32_t bufferLength,
                                          int32_t* outLength);

/* Parses manifest text (a JSON object with the top-level keys "version",
   "url", "sha256", and optionally "size", "rollout", "mandatory") into record.
   The record is cleared first unless an argument is null. */
HV_API HV_Result HV_CALL HV_ParseManifest(const char* text, HV_Manifest* record);

/* Compares two dotted version strings numerically, component by component,
   and stores -1, 0 or +1 in *order. Components of any length compare exactly. */
HV_API HV_Result HV_CALL HV_CompareVersion(const char* a, const char* b, int32_t* order);

/* Downloads url to destinationPath while hashing it, and keeps the file only
   when its SHA-256 matches expectedSha256 (64 hex characters, either case) and,
   when expectedSize is nonzero, its length matches expectedSize. The body ends
   at the server's Content-Length when it sends one, and is never written past
   a nonzero expectedSize. progress and cancelFlag may be
   null; cancelFlag may be set to nonzero by another thread at any time, and is
   read before every chunk. A failed download deletes the file it created. */
HV_API HV_Result HV_CALL HV_DownloadVerify(const wchar_t* url, const wchar_t* destinationPath,
                                           const char* expectedSha256, uint64_t expectedSize,
                                           HV_ProgressCallback progress, void* userData,
                                           const volatile int32_t* cancelFlag);

/* Writes the SHA-256 of the file at path into digest (HV_HEX_DIGEST_SIZE bytes,
   lower-case hex and a NUL). digest is written only on success. */
HV_API HV_Result HV_CALL HV_HashFile(const wchar_t* path, char* digest);

/* Runs "<installerPath>" <arguments> without a window and waits for it.
   Null or empty arguments mean
   "/VERYSILENT /SUPPRESSMSGBOXES /NORESTART /CLOSEAPPLICATIONS".
   exitCode (may be null) is set to 0xFFFFFFFF first, then to the installer's
   exit code; it stays 0xFFFFFFFF when no process could be started.
   installerPath should be absolute (GetFullPathNameW): Windows looks for a
   bare or relative name in the calling program's own folder before the
   current folder, so it could start another file than the one verified. */
HV_API HV_Result HV_CALL HV_RunInstaller(const wchar_t* installerPath, const wchar_t* arguments,
                                         uint32_t* exitCode);

/* A constant English text for a result code; never null. */
HV_API const char* HV_CALL HV_ResultText(HV_Result code);

#ifdef __cplusplus
}
#endif

#endif
