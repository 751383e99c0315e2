#include "hovrel.h"

extern "C" HV_API const char* HV_CALL HV_ResultText(HV_Result code) {
    switch (code) {
    case HV_Ok:
        return "OK";
    case HV_BadArgument:
        return "invalid argument or buffer too small";
    case HV_NetworkFailure:
        return "network/transfer failure";
    case HV_HttpStatus:
        return "HTTP status not 200";
    case HV_FileIo:
        return "file I/O failure";
    case HV_HashMismatch:
        return "sha256 mismatch (corrupt or tampered)";
    case HV_SizeMismatch:
        return "size mismatch";
    case HV_ManifestParse:
        return "manifest parse failure";
    case HV_Cancelled:
        return "cancelled";
    case HV_InstallerFailed:
        return "installer failed (nonzero exit)";
    default:
        return "internal error";
    }
}
