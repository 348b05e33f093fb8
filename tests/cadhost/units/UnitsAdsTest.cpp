// acdbRToS, acdbDisToF, acdbAngToS, acdbAngToF and acutCvUnit: the current
// units and precision come from the system variables; buffers are never
// overrun; failures leave the caller's value alone.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "acdbads.h"
#include "acutads.h"
#include "core/SystemVariables.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

class UnitsAds : public ::testing::Test {
protected:
    void SetUp() override { tz::cad::systemVariables().reset(); }
    void TearDown() override { tz::cad::systemVariables().reset(); }

    static void set(const char* name, const char* value) {
        std::string error;
        ASSERT_TRUE(tz::cad::systemVariables().setFromText(name, value, error)) << error;
    }

    static std::wstring rtos(double value, int unit, int precision) {
        ACHAR text[64];
        if (acdbRToS(value, unit, precision, text, 64) != RTNORM) return L"<error>";
        return text;
    }
};

TEST_F(UnitsAds, RToSFollowsLunitsAndLuprec) {
    EXPECT_EQ(rtos(101.23456, 2, -1), L"101.2346");   // LUPREC starts at 4
    set("LUPREC", "2");
    EXPECT_EQ(rtos(101.23456, 2, -1), L"101.23");
    EXPECT_EQ(rtos(101.23456, -1, -1), L"101.23");
    set("LUNITS", "4");
    EXPECT_EQ(rtos(18.5, -1, -1), L"1'-6 1/2\"");
    EXPECT_EQ(rtos(18.5, -1, 4), L"1'-6 1/2\"");
    EXPECT_EQ(rtos(18.5, 2, 4), L"18.5000");
    EXPECT_EQ(rtos(123.456, 1, 4), L"1.2346E+02");
    EXPECT_EQ(rtos(17.5, 3, 2), L"1'-5.50\"");
    EXPECT_EQ(rtos(17.5, 5, 2), L"17 1/2");
}

TEST_F(UnitsAds, RToSFollowsDimzinAndUnitmode) {
    set("DIMZIN", "1");
    EXPECT_EQ(rtos(6, 4, 4), L"0'-6\"");
    set("DIMZIN", "8");
    EXPECT_EQ(rtos(12.5, 2, 4), L"12.5");
    set("DIMZIN", "0");
    set("UNITMODE", "1");
    EXPECT_EQ(rtos(17.5, 4, 2), L"1'5-1/2\"");
}

TEST_F(UnitsAds, CdateAtEightPlacesGivesDateAndTime) {
    set("CDATE", "20250201.090503");
    resbuf rb{};
    ASSERT_EQ(tz::cad::systemVariables().get("CDATE", &rb), RTNORM);
    ASSERT_EQ(rb.restype, RTREAL);
    const std::wstring text = rtos(rb.resval.rreal, 2, 8);
    ASSERT_EQ(text, L"20250201.09050300");
    EXPECT_EQ(text.substr(0, 4) + L"-" + text.substr(4, 2) + L"-" + text.substr(6, 2), L"2025-02-01");
    EXPECT_EQ(text.substr(9, 2) + L":" + text.substr(11, 2) + L":" + text.substr(13, 2), L"09:05:03");
}

TEST_F(UnitsAds, RToSNeverOverrunsTheBuffer) {
    ACHAR text[8];
    for (ACHAR& c : text) c = L'#';
    EXPECT_EQ(acdbRToS(101.23456, 2, 2, text, 7), RTNORM);   // "101.23" and its end
    EXPECT_STREQ(text, L"101.23");
    EXPECT_EQ(acdbRToS(101.23456, 2, 3, text, 7), RTERROR);   // one too many
    EXPECT_STREQ(text, L"");
    EXPECT_EQ(text[7], L'#');
    EXPECT_EQ(acdbRToS(1, 2, 2, text, 0), RTERROR);
    EXPECT_EQ(acdbRToS(1, 2, 2, nullptr, 8), RTERROR);
    // The unsized form stops at 64 characters.
    ACHAR wide[200];
    EXPECT_EQ(acdbRToS(1e100, 2, 2, wide), RTERROR);
    EXPECT_EQ(acdbRToS(1e50, 2, 2, wide), RTNORM);
    EXPECT_EQ(std::wstring(wide).size(), 54u);
}

TEST_F(UnitsAds, RToSRefusesWhatItCannotWrite) {
    ACHAR text[64];
    EXPECT_EQ(acdbRToS(std::numeric_limits<double>::quiet_NaN(), 2, 2, text, 64), RTERROR);
    EXPECT_EQ(acdbRToS(std::numeric_limits<double>::infinity(), 2, 2, text, 64), RTERROR);
    EXPECT_EQ(acdbRToS(1, 0, 2, text, 64), RTERROR);
    EXPECT_EQ(acdbRToS(1, 6, 2, text, 64), RTERROR);
    EXPECT_EQ(acdbRToS(1, -2, 2, text, 64), RTERROR);
    EXPECT_EQ(acdbRToS(1, 2, -2, text, 64), RTERROR);
}

TEST_F(UnitsAds, DisToFReadsTheCurrentUnits) {
    double value = -7;
    EXPECT_EQ(acdbDisToF(L"18.5", -1, &value), RTNORM);
    EXPECT_EQ(value, 18.5);
    EXPECT_EQ(acdbDisToF(L"1'-6 1/2\"", 4, &value), RTNORM);
    EXPECT_EQ(value, 18.5);
    EXPECT_EQ(acdbDisToF(L"1.5E+01", 2, &value), RTNORM);
    EXPECT_EQ(value, 15);

    // Feet and inches only where the current units are feet and inches.
    value = -7;
    EXPECT_EQ(acdbDisToF(L"1'6", -1, &value), RTERROR);
    EXPECT_EQ(value, -7);
    set("LUNITS", "4");
    EXPECT_EQ(acdbDisToF(L"1'6", -1, &value), RTNORM);
    EXPECT_EQ(value, 18);
}

TEST_F(UnitsAds, DisToFLeavesTheValueOnFailure) {
    for (const ACHAR* text : {L"", L"abc", L"nan", L"inf", L"1e999", L"12 abc", L"１８", L"1/0"}) {
        double value = -7;
        EXPECT_EQ(acdbDisToF(text, 2, &value), RTERROR);
        EXPECT_EQ(value, -7);
    }
    double value = -7;
    EXPECT_EQ(acdbDisToF(nullptr, 2, &value), RTERROR);
    EXPECT_EQ(acdbDisToF(L"1", 2, nullptr), RTERROR);
    EXPECT_EQ(acdbDisToF(L"1", 9, &value), RTERROR);
    EXPECT_EQ(value, -7);
}

TEST_F(UnitsAds, RToSAndDisToFAreComplementary) {
    for (int unit = 1; unit <= 5; ++unit) {
        for (double x : {0.0, 1.0, -18.5, 1234.5678, 0.03125}) {
            ACHAR text[64];
            ASSERT_EQ(acdbRToS(x, unit, 8, text, 64), RTNORM);
            double back = 0;
            ASSERT_EQ(acdbDisToF(text, unit, &back), RTNORM) << unit;
            // Eight places, or 1/256 in the fraction modes.
            EXPECT_NEAR(back, x, unit >= 4 ? 0.5 / 256 : 0.5e-8 * std::max(1.0, std::fabs(x))) << unit;
        }
    }
}

TEST_F(UnitsAds, AnglesFollowAunitsAndAuprec) {
    ACHAR text[64];
    ASSERT_EQ(acdbAngToS(kPi / 4, -1, -1, text, 64), RTNORM);
    EXPECT_STREQ(text, L"45");
    ASSERT_EQ(acdbAngToS(kPi / 4, 0, 4, text, 64), RTNORM);
    EXPECT_STREQ(text, L"45.0000");
    set("AUNITS", "4");
    ASSERT_EQ(acdbAngToS(-kPi / 4, -1, -1, text, 64), RTNORM);
    EXPECT_STREQ(text, L"S 45d E");
    EXPECT_EQ(acdbAngToS(1, 7, 2, text, 64), RTERROR);
    EXPECT_EQ(acdbAngToS(1, 0, 2, text, 3), RTERROR);

    double angle = -7;
    EXPECT_EQ(acdbAngToF(L"N 45d E", -1, &angle), RTNORM);
    EXPECT_NEAR(angle, kPi / 4, 1e-15);
    set("AUNITS", "0");
    EXPECT_EQ(acdbAngToF(L"90", -1, &angle), RTNORM);
    EXPECT_NEAR(angle, kPi / 2, 1e-15);
    angle = -7;
    EXPECT_EQ(acdbAngToF(L"ninety", -1, &angle), RTERROR);
    EXPECT_EQ(angle, -7);
}

TEST_F(UnitsAds, CvUnit) {
    double result = -7;
    EXPECT_EQ(acutCvUnit(1, L"inch", L"mm", &result), RTNORM);
    EXPECT_DOUBLE_EQ(result, 25.4);
    result = -7;
    EXPECT_EQ(acutCvUnit(1, L"inch", L"parsec", &result), RTERROR);
    EXPECT_EQ(acutCvUnit(1, L"inch", L"radian", &result), RTERROR);
    EXPECT_EQ(acutCvUnit(1, nullptr, L"mm", &result), RTERROR);
    EXPECT_EQ(result, -7);
}

}  // namespace
