// The group lines the writer makes, against the plain formatting each kind
// of value had: the code as "%3d", integers in decimal, handles as
// handleText gives them, text as encodeDxfText encodes it.
#include "drawing/DxfOutput.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <random>
#include <sstream>

#include "drawing/DxfText.h"

namespace tz::cad {
namespace {

std::string plainCode(int code) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%3d", code);
    return std::string(buffer) + "\r\n";
}

TEST(DxfOutput, EveryKindOfValueAsItsPlainFormatting) {
    std::mt19937_64 random(7);
    std::ostringstream written;
    std::string expected;
    {
        DxfOutput out(written);
        for (int code : {0, 1, 5, 8, 9, 10, 62, 70, 99, 100, 330, 999, 1000, 1001, 1071, -1, -5, -99, -999}) {
            const int64_t value = static_cast<int64_t>(random()) >> (random() % 64);
            out.integer(code, value);
            expected += plainCode(code) + std::to_string(value) + "\r\n";
        }
        for (uint64_t handle : {uint64_t{0}, uint64_t{1}, uint64_t{0x20}, uint64_t{0xABCDEF}, ~uint64_t{0}}) {
            out.handle(5, handle);
            const std::wstring text = handleText(handle);
            expected += plainCode(5) + std::string(text.begin(), text.end()) + "\r\n";
        }
        for (int k = 0; k < 1000; ++k) {
            const uint64_t handle = random() >> (random() % 64);
            out.handle(330, handle);
            const std::wstring text = handleText(handle);
            expected += plainCode(330) + std::string(text.begin(), text.end()) + "\r\n";
        }
        for (double value : {0.0, -0.0, 1.0, -2.5, 500123.456789, 1e300, 1e-300, 123456789012345678.0}) {
            out.real(10, value);
            expected += plainCode(10) + DxfOutput::formatReal(value) + "\r\n";
        }
        const std::wstring texts[] = {L"", L"0", L"TZ_Contours", L"Caf\u00e9 ^J\tx", std::wstring(100000, L'A')};
        for (const std::wstring& text : texts) {
            out.text(8, text);
            expected += plainCode(8) + encodeDxfText(text) + "\r\n";
        }
        // Lines beyond the first block reach the stream too.
        for (int k = 0; k < 20000; ++k) {
            out.ascii(100, "AcDbVertex");
            expected += plainCode(100) + "AcDbVertex\r\n";
        }
    }
    EXPECT_EQ(written.str(), expected);
    EXPECT_EQ(DxfOutput::formatReal(-0.0), "0.0");
    EXPECT_EQ(DxfOutput::formatReal(3.0), "3.0");
    EXPECT_EQ(DxfOutput::formatReal(0.1), "0.1");
}

TEST(DxfOutput, FlushHandsOverWhatIsHeld) {
    std::ostringstream written;
    DxfOutput out(written);
    out.ascii(0, "EOF");
    EXPECT_EQ(written.str(), "");  // held in the block
    out.flush();
    EXPECT_EQ(written.str(), "  0\r\nEOF\r\n");
}

}  // namespace
}  // namespace tz::cad
