// acedGetVar and acedSetVar: what a plug-in sees of the system variables.
#include <gtest/gtest.h>

#include "acedads.h"
#include "core/SystemVariables.h"

namespace {

class SystemVariablesAds : public ::testing::Test {
protected:
    void SetUp() override { tz::cad::systemVariables().reset(); }
    void TearDown() override { tz::cad::systemVariables().reset(); }
};

TEST_F(SystemVariablesAds, GetHandsOutAStringTheCallerFrees) {
    resbuf rb{};
    ASSERT_EQ(acedGetVar(L"dwgprefix", &rb), RTNORM);
    ASSERT_EQ(rb.restype, RTSTR);
    ASSERT_NE(rb.resval.rstring, nullptr);
    const std::wstring prefix = rb.resval.rstring;
    EXPECT_EQ(prefix.back(), L'/');
    delete[] rb.resval.rstring;
}

TEST_F(SystemVariablesAds, SetThenGet) {
    resbuf value{};
    value.restype = RTSHORT;
    value.resval.rint = 2;
    EXPECT_EQ(acedSetVar(L"LUPREC", &value), RTNORM);
    resbuf rb{};
    ASSERT_EQ(acedGetVar(L"LUPREC", &rb), RTNORM);
    EXPECT_EQ(rb.restype, RTSHORT);
    EXPECT_EQ(rb.resval.rint, 2);

    value.resval.rint = 12;
    EXPECT_EQ(acedSetVar(L"LUPREC", &value), RTERROR);
    ASSERT_EQ(acedGetVar(L"LUPREC", &rb), RTNORM);
    EXPECT_EQ(rb.resval.rint, 2);
}

TEST_F(SystemVariablesAds, RefusesWhatItCannotDo) {
    resbuf rb{};
    EXPECT_EQ(acedGetVar(L"NOSUCHVAR", &rb), RTERROR);
    EXPECT_EQ(acedGetVar(nullptr, &rb), RTERROR);
    EXPECT_EQ(acedGetVar(L"LUPREC", nullptr), RTERROR);
    EXPECT_EQ(acedGetVar(L"", &rb), RTERROR);
    resbuf value{};
    value.restype = RTREAL;
    value.resval.rreal = 20250101.0;
    EXPECT_EQ(acedSetVar(L"CDATE", &value), RTERROR);
    EXPECT_EQ(acedSetVar(L"NOSUCHVAR", &value), RTERROR);
    EXPECT_EQ(acedSetVar(nullptr, &value), RTERROR);
    EXPECT_EQ(acedSetVar(L"LTSCALE", nullptr), RTERROR);
}

}  // namespace
