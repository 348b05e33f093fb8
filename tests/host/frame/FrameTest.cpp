#include <gtest/gtest.h>

#include "AcRxArxApp.h"
#include "FakeHost.h"
#include "adscodes.h"
#include "odrxmodule.h"

namespace {

std::vector<int> calls;

int first() {
    calls.push_back(0);
    return RSRSLT;
}
int second() {
    calls.push_back(1);
    return RSRSLT;
}
int third() {
    calls.push_back(2);
    return RSRSLT;
}
void commandHandler() {}

LispFunctionEntry row0 = lispFunction(L"alpha", first);
LispFunctionEntry row1 = lispFunction(L"beta", second);
LispFunctionEntry row2 = lispFunction(L"gamma", third);
const LispFunctionTable lispTable = {&row0, &row1, &row2};
CommandEntry cmd0 = command(L"GRP", L"_one", L"one", ACRX_CMD_TRANSPARENT, commandHandler);
CommandEntry cmd1 = command(L"GRP", L"_two", L"two", ACRX_CMD_TRANSPARENT, commandHandler);
const CommandTable commandTable = {&cmd0, &cmd1};

class TestApp : public AcRxArxApp {
public:
    TestApp() : AcRxArxApp(lispTable, commandTable) {}
};

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        fakeHost() = FakeHost{};
        calls.clear();
    }
    TestApp app;
};

}  // namespace

TEST_F(FrameTest, LoadDocumentDefinesFunctionsInTableOrder) {
    EXPECT_EQ(app.entryPoint(AcRx::kLoadDwgMsg, nullptr), AcRx::kRetOK);
    const std::vector<std::pair<std::wstring, int>> expected{{L"alpha", 0}, {L"beta", 1}, {L"gamma", 2}};
    EXPECT_EQ(fakeHost().defuns, expected);
    EXPECT_EQ(fakeHost().regFuncs, (std::vector<int>{0, 1, 2}));
}

TEST_F(FrameTest, LoadingInTwoDocumentsGivesTheSameCodes) {
    app.entryPoint(AcRx::kLoadDwgMsg, nullptr);
    app.entryPoint(AcRx::kLoadDwgMsg, nullptr);
    ASSERT_EQ(fakeHost().defuns.size(), 6u);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(fakeHost().defuns[i], fakeHost().defuns[i + 3]);
}

TEST_F(FrameTest, UnloadDocumentUndefinesEveryFunction) {
    app.entryPoint(AcRx::kUnloadDwgMsg, nullptr);
    const std::vector<std::pair<std::wstring, int>> expected{{L"alpha", 0}, {L"beta", 1}, {L"gamma", 2}};
    EXPECT_EQ(fakeHost().undefs, expected);
}

TEST_F(FrameTest, InitAddsCommandsAndUnloadRemovesThem) {
    app.entryPoint(AcRx::kInitAppMsg, nullptr);
    EXPECT_EQ(fakeHost().unlocked, 1);
    EXPECT_EQ(fakeHost().mdiAware, 1);
    ASSERT_EQ(fakeHost().commands.size(), 2u);
    EXPECT_EQ(fakeHost().commands[0].global, L"_one");
    EXPECT_EQ(fakeHost().commands[0].local, L"one");
    EXPECT_EQ(fakeHost().commands[0].group, L"GRP");
    EXPECT_EQ(fakeHost().commands[0].flags, 1);
    EXPECT_EQ(fakeHost().commands[1].global, L"_two");
    app.entryPoint(AcRx::kUnloadAppMsg, nullptr);
    EXPECT_TRUE(fakeHost().commands.empty());
}

TEST_F(FrameTest, InvokeRunsTheEntryOfTheFunctionCode) {
    fakeHost().funCode = 2;
    EXPECT_EQ(app.entryPoint(AcRx::kInvkSubrMsg, nullptr), AcRx::kRetOK);
    fakeHost().funCode = 0;
    app.entryPoint(AcRx::kInvkSubrMsg, nullptr);
    EXPECT_EQ(calls, (std::vector<int>{2, 0}));
}

TEST_F(FrameTest, CodesOutsideTheTableAreIgnored) {
    for (int code : {-1, 3, 99, RTERROR}) {
        fakeHost().funCode = code;
        EXPECT_EQ(app.entryPoint(AcRx::kInvkSubrMsg, nullptr), AcRx::kRetOK);
    }
    EXPECT_TRUE(calls.empty());
}

TEST_F(FrameTest, UnknownMessageCodesAreOk) {
    EXPECT_EQ(app.entryPoint(static_cast<AcRx::AppMsgCode>(17), nullptr), AcRx::kRetOK);
    EXPECT_EQ(app.entryPoint(static_cast<AcRx::AppMsgCode>(-3), nullptr), AcRx::kRetOK);
    EXPECT_TRUE(fakeHost().defuns.empty() && fakeHost().commands.empty() && calls.empty());
}

TEST(FrameExports, ApiVersionIs22_4_0_0) {
    int major = -1, minor = -1, corrective = -1, build = -1;
    EXPECT_EQ(frameApiVersion(&major, &minor, &corrective, &build), 0);
    EXPECT_EQ(major, 22);
    EXPECT_EQ(minor, 4);
    EXPECT_EQ(corrective, 0);
    EXPECT_EQ(build, 0);
}

TEST(FrameExports, ModuleObjectIsCreatedOnce) {
    int handle = 0;
    OdRxModule* first = frameModuleObject(&handle);
    OdRxModule* again = frameModuleObject(nullptr);
    EXPECT_EQ(first, again);
    EXPECT_EQ(first->moduleHandle(), &handle);
    EXPECT_EQ(AcRxArxApp::moduleHandle(), &handle);
}
