// The table of system variables: initial values, types, ranges, read-only
// variables, the --set text, and the values that follow the session.
#include "core/SystemVariables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

#include "adscodes.h"
#include "core/HostState.h"
#include "core/Units.h"

namespace tz::cad {
namespace {

resbuf shortValue(int value) {
    resbuf rb{};
    rb.restype = RTSHORT;
    rb.resval.rint = static_cast<short>(value);
    return rb;
}

resbuf realValue(double value) {
    resbuf rb{};
    rb.restype = RTREAL;
    rb.resval.rreal = value;
    return rb;
}

TEST(SystemVariables, InitialValuesAUserExpects) {
    SystemVariables variables;
    EXPECT_EQ(variables.integer("LUNITS"), 2);
    EXPECT_EQ(variables.integer("LUPREC"), 4);
    EXPECT_EQ(variables.integer("AUNITS"), 0);
    EXPECT_EQ(variables.integer("FILEDIA"), 1);
    EXPECT_EQ(variables.integer("CMDECHO"), 1);
    EXPECT_EQ(variables.integer("PICKBOX"), 3);
    EXPECT_EQ(variables.integer("DIMZIN"), 0);
    EXPECT_EQ(variables.real("LTSCALE"), 1.0);
    EXPECT_EQ(variables.text("CLAYER"), "0");
    EXPECT_EQ(variables.text("CECOLOR"), "BYLAYER");
    for (const char* name : {"DWGPREFIX", "DWGNAME", "LTSCALE", "CDATE", "DATE", "LUNITS", "LUPREC", "AUNITS",
                             "AUPREC", "FILEDIA", "CMDECHO", "CLAYER", "CECOLOR", "TEXTSIZE", "PICKBOX",
                             "PDMODE", "OSMODE", "EXPERT", "MEASUREMENT", "INSUNITS", "TEMPPREFIX"}) {
        EXPECT_TRUE(variables.exists(name)) << name;
    }
}

TEST(SystemVariables, NamesAreCaseInsensitive) {
    SystemVariables variables;
    EXPECT_TRUE(variables.exists("luprec"));
    EXPECT_TRUE(variables.exists("LuPrEc"));
    EXPECT_EQ(variables.integer("lunits"), 2);
    EXPECT_FALSE(variables.exists("NOSUCHVAR"));
    EXPECT_FALSE(variables.exists(""));
}

TEST(SystemVariables, GetFillsTheResultBuffer) {
    SystemVariables variables;
    resbuf rb{};
    ASSERT_EQ(variables.get("LUPREC", &rb), RTNORM);
    EXPECT_EQ(rb.restype, RTSHORT);
    EXPECT_EQ(rb.resval.rint, 4);
    ASSERT_EQ(variables.get("LTSCALE", &rb), RTNORM);
    EXPECT_EQ(rb.restype, RTREAL);
    EXPECT_EQ(rb.resval.rreal, 1.0);
    ASSERT_EQ(variables.get("LASTPOINT", &rb), RTNORM);
    EXPECT_EQ(rb.restype, RT3DPOINT);
    ASSERT_EQ(variables.get("clayer", &rb), RTNORM);
    ASSERT_EQ(rb.restype, RTSTR);
    EXPECT_STREQ(rb.resval.rstring, L"0");
    delete[] rb.resval.rstring;
    resbuf untouched = shortValue(77);
    EXPECT_EQ(variables.get("NOSUCHVAR", &untouched), RTERROR);
    EXPECT_EQ(untouched.resval.rint, 77);
    EXPECT_EQ(variables.get("LUPREC", nullptr), RTERROR);
}

TEST(SystemVariables, SetChecksTypeAndRange) {
    SystemVariables variables;
    resbuf two = shortValue(2);
    EXPECT_EQ(variables.set("LUPREC", &two), RTNORM);
    EXPECT_EQ(variables.integer("LUPREC"), 2);

    resbuf nine = shortValue(9), minus = shortValue(-1), real = realValue(3);
    EXPECT_EQ(variables.set("LUPREC", &nine), RTERROR);
    EXPECT_EQ(variables.set("LUPREC", &minus), RTERROR);
    EXPECT_EQ(variables.set("LUPREC", &real), RTERROR);   // a real is not a whole number
    EXPECT_EQ(variables.integer("LUPREC"), 2);             // refused values change nothing

    resbuf big{};
    big.restype = RTLONG;
    big.resval.rlong = 5;
    EXPECT_EQ(variables.set("LUNITS", &big), RTNORM);
    EXPECT_EQ(variables.integer("LUNITS"), 5);
    big.resval.rlong = 100000;
    EXPECT_EQ(variables.set("USERI1", &big), RTERROR);

    // Reals take whole numbers too; LTSCALE must stay positive and finite.
    EXPECT_EQ(variables.set("LTSCALE", &two), RTNORM);
    EXPECT_EQ(variables.real("LTSCALE"), 2.0);
    resbuf zero = realValue(0), nan = realValue(std::numeric_limits<double>::quiet_NaN()),
           inf = realValue(std::numeric_limits<double>::infinity());
    EXPECT_EQ(variables.set("LTSCALE", &zero), RTERROR);
    EXPECT_EQ(variables.set("LTSCALE", &nan), RTERROR);
    EXPECT_EQ(variables.set("USERR1", &inf), RTERROR);
    EXPECT_EQ(variables.real("LTSCALE"), 2.0);

    // Strings take strings only.
    ACHAR layer[] = L"TZ_Tin";
    resbuf text{};
    text.restype = RTSTR;
    text.resval.rstring = layer;
    EXPECT_EQ(variables.set("CLAYER", &text), RTNORM);
    EXPECT_EQ(variables.text("CLAYER"), "TZ_Tin");
    EXPECT_EQ(variables.set("CLAYER", &two), RTERROR);
    EXPECT_EQ(variables.set("LUPREC", &text), RTERROR);
    text.resval.rstring = nullptr;
    EXPECT_EQ(variables.set("CLAYER", &text), RTERROR);

    // A 2D point gets z = 0.
    resbuf point{};
    point.restype = RTPOINT;
    point.resval.rpoint[0] = 1;
    point.resval.rpoint[1] = 2;
    point.resval.rpoint[2] = 99;
    EXPECT_EQ(variables.set("LASTPOINT", &point), RTNORM);
    const auto last = variables.value("LASTPOINT");
    ASSERT_TRUE(last);
    EXPECT_EQ(last->point, (std::array<double, 3>{1, 2, 0}));

    EXPECT_EQ(variables.set("NOSUCHVAR", &two), RTERROR);
    EXPECT_EQ(variables.set("LUPREC", nullptr), RTERROR);
}

TEST(SystemVariables, ReadOnlyVariablesRefuseSet) {
    SystemVariables variables;
    resbuf real = realValue(20250201.0);
    EXPECT_EQ(variables.set("CDATE", &real), RTERROR);
    EXPECT_EQ(variables.set("DATE", &real), RTERROR);
    ACHAR folder[] = L"/elsewhere/";
    resbuf text{};
    text.restype = RTSTR;
    text.resval.rstring = folder;
    EXPECT_EQ(variables.set("DWGPREFIX", &text), RTERROR);
    EXPECT_EQ(variables.set("DWGNAME", &text), RTERROR);
    EXPECT_TRUE(variables.isReadOnly("CDATE"));
    EXPECT_TRUE(variables.isReadOnly("dwgprefix"));
    EXPECT_FALSE(variables.isReadOnly("LUPREC"));
}

TEST(SystemVariables, SetFromTextForTheStartUpOption) {
    SystemVariables variables;
    std::string error;
    EXPECT_TRUE(variables.setFromText("LUPREC", "2", error)) << error;
    EXPECT_EQ(variables.integer("LUPREC"), 2);
    EXPECT_TRUE(variables.setFromText("ltscale", "2.5", error)) << error;
    EXPECT_EQ(variables.real("LTSCALE"), 2.5);
    EXPECT_TRUE(variables.setFromText("LASTPOINT", "1,2.5,-3", error)) << error;
    EXPECT_EQ(variables.value("LASTPOINT")->point, (std::array<double, 3>{1, 2.5, -3}));
    EXPECT_TRUE(variables.setFromText("CLAYER", "Contours 1", error)) << error;
    EXPECT_EQ(variables.text("CLAYER"), "Contours 1");
    // Read-only variables can be fixed this way; CDATE then stays put.
    EXPECT_TRUE(variables.setFromText("CDATE", "20250201.090503", error)) << error;
    EXPECT_EQ(variables.real("CDATE"), 20250201.090503);
    EXPECT_EQ(formatDistance(variables.real("CDATE"), kDecimal, 8), "20250201.09050300");

    struct Refused {
        const char* name;
        const char* value;
        const char* message;
    };
    for (const Refused& r : {Refused{"LUPREC", "abc", "LUPREC needs a whole number, not \"abc\"."},
                             Refused{"LUPREC", "9", "LUPREC must be from 0 to 8."},
                             Refused{"LUPREC", "2.5", "LUPREC needs a whole number, not \"2.5\"."},
                             Refused{"LUPREC", "", "LUPREC needs a whole number, not \"\"."},
                             Refused{"LUPREC", "99999999999999", "LUPREC needs a whole number, not \"99999999999999\"."},
                             Refused{"LTSCALE", "nan", "LTSCALE needs a number, not \"nan\"."},
                             Refused{"LTSCALE", "-1", "LTSCALE needs a positive number."},
                             Refused{"LASTPOINT", "1", "LASTPOINT needs a point x,y or x,y,z, not \"1\"."},
                             Refused{"LASTPOINT", "1,2,3,4", "LASTPOINT needs a point x,y or x,y,z, not \"1,2,3,4\"."},
                             Refused{"LASTPOINT", "1,,3", "LASTPOINT needs a point x,y or x,y,z, not \"1,,3\"."},
                             Refused{"CLAYER", "", "CLAYER needs a layer name."},
                             Refused{"NOSUCHVAR", "1", "Unknown system variable: NOSUCHVAR."}}) {
        error.clear();
        EXPECT_FALSE(variables.setFromText(r.name, r.value, error)) << r.name << "=" << r.value;
        EXPECT_EQ(error, r.message);
    }
    EXPECT_EQ(variables.integer("LUPREC"), 2);
    EXPECT_EQ(variables.real("LTSCALE"), 2.5);

    variables.reset();
    EXPECT_EQ(variables.integer("LUPREC"), 4);
    EXPECT_NE(variables.real("CDATE"), 20250201.090503);
}

TEST(SystemVariables, DrawingVariablesFollowTheOpenDrawing) {
    SystemVariables variables;
    HostState& host = hostState();
    const std::string saved = host.drawingPath;

    host.drawingPath.clear();
    std::string current = std::filesystem::current_path().string();
    if (current.back() != '/') current += '/';
    EXPECT_EQ(variables.text("DWGPREFIX"), current);
    EXPECT_EQ(variables.text("DWGNAME"), "Drawing1.dwg");
    EXPECT_EQ(variables.integer("DWGTITLED"), 0);

    host.drawingPath = "/data/survey/site.dxf";
    EXPECT_EQ(variables.text("DWGPREFIX"), "/data/survey/");
    EXPECT_EQ(variables.text("DWGNAME"), "site.dxf");
    EXPECT_EQ(variables.integer("DWGTITLED"), 1);

    host.drawingPath = "\\data\\survey\\site2.dxf";   // a Windows-born path
    EXPECT_EQ(variables.text("DWGPREFIX"), "/data/survey/");
    EXPECT_EQ(variables.text("DWGNAME"), "site2.dxf");
    host.drawingPath = saved;

    const std::string temp = variables.text("TEMPPREFIX");
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), '/');
}

TEST(SystemVariables, CdateFollowsTheClock) {
    SystemVariables variables;
    auto localNow = [] {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        return local;
    };
    const double before = calendarDate(localNow(), 0);
    const double cdate = variables.real("CDATE");
    const double after = calendarDate(localNow(), 999);
    EXPECT_LE(before, cdate);
    EXPECT_LE(cdate, after);
    EXPECT_GT(variables.real("DATE"), 2451545.0);   // after 2000-01-01
}

TEST(CalendarDate, DigitsOfDateAndTime) {
    std::tm local{};
    local.tm_year = 2025 - 1900;
    local.tm_mon = 1;
    local.tm_mday = 1;
    local.tm_hour = 9;
    local.tm_min = 5;
    local.tm_sec = 3;
    EXPECT_EQ(formatDistance(calendarDate(local, 456), kDecimal, 8), "20250201.09050345");
    // The last hundredth of a second does not round up into second 60 or hour 24.
    local.tm_hour = 23;
    local.tm_min = 59;
    local.tm_sec = 59;
    EXPECT_EQ(formatDistance(calendarDate(local, 999), kDecimal, 8), "20250201.23595999");
    local.tm_hour = 14;
    local.tm_min = 30;
    local.tm_sec = 59;
    EXPECT_EQ(formatDistance(calendarDate(local, 996), kDecimal, 8), "20250201.14305999");
    local.tm_hour = local.tm_min = local.tm_sec = 0;
    EXPECT_EQ(formatDistance(calendarDate(local, 0), kDecimal, 8), "20250201.00000000");
}

TEST(CalendarDate, JulianDayAndFraction) {
    std::tm local{};
    local.tm_year = 2000 - 1900;
    local.tm_mon = 0;
    local.tm_mday = 1;
    EXPECT_EQ(julianDate(local, 0), 2451545.0);
    local.tm_hour = 12;
    EXPECT_EQ(julianDate(local, 0), 2451545.5);
    local.tm_year = 2024 - 1900;
    local.tm_mon = 2;
    local.tm_mday = 1;   // after a leap day
    local.tm_hour = 0;
    EXPECT_EQ(julianDate(local, 0), 2460371.0);
}

}  // namespace
}  // namespace tz::cad
