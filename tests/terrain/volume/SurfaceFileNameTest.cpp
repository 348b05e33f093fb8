#include "volume/SurfaceFileName.h"

#include <gtest/gtest.h>

namespace tz::terrain::volume {
namespace {

TEST(SurfaceFileName, OnlyTheTextAfterTheLastDotIsReplaced) {
    EXPECT_EQ(tinFileName(L"ground.dat"), L"ground.tin");
    EXPECT_EQ(tinFileName(L"ground.new.tin"), L"ground.new.tin");
    EXPECT_EQ(tinFileName(L"C:\\jobs\\site.dat"), L"C:\\jobs\\site.tin");
    EXPECT_EQ(tinFileName(L"site."), L"site.tin");
}

TEST(SurfaceFileName, ANameWithoutExtensionGetsOneAppended) {
    EXPECT_EQ(tinFileName(L"ground"), L"ground.tin");
    EXPECT_EQ(tinFileName(L"C:\\a.b\\ground"), L"C:\\a.b\\ground.tin");
    EXPECT_EQ(tinFileName(L"/work/v1.2/ground"), L"/work/v1.2/ground.tin");
    EXPECT_EQ(tinFileName(L""), L".tin");
}

}  // namespace
}  // namespace tz::terrain::volume
