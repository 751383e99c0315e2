#include "hovrel_export.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

struct ResultTextCase {
    HV_Result code;
    const char* text;
};

TEST(ResultText, EveryCodeHasItsText) {
    const ResultTextCase cases[] = {
        {HV_Ok, "OK"},
        {HV_BadArgument, "invalid argument or buffer too small"},
        {HV_NetworkFailure, "network/transfer failure"},
        {HV_HttpStatus, "HTTP status not 200"},
        {HV_FileIo, "file I/O failure"},
        {HV_HashMismatch, "sha256 mismatch (corrupt or tampered)"},
        {HV_SizeMismatch, "size mismatch"},
        {HV_ManifestParse, "manifest parse failure"},
        {HV_Cancelled, "cancelled"},
        {HV_InternalError, "internal error"},
        {HV_InstallerFailed, "installer failed (nonzero exit)"},
        {11, "internal error"},
        {-1, "internal error"},
        {INT32_MIN, "internal error"},
        {INT32_MAX, "internal error"},
    };
    const auto resultText = HV_EXPORT(HV_ResultText);
    for (const auto& c : cases) {
        const char* text = resultText(c.code);
        ASSERT_NE(text, nullptr) << c.code;
        EXPECT_EQ(std::string(text), c.text) << c.code;
    }
}

TEST(ResultText, TextIsConstantAcrossCalls) {
    const auto resultText = HV_EXPORT(HV_ResultText);
    EXPECT_EQ(resultText(HV_HashMismatch), resultText(HV_HashMismatch));
}

} // namespace
