// A stand-in for the host that records what the frame asks of it.
#pragma once

#include <string>
#include <vector>

#include "accmd.h"

struct FakeHost {
    std::vector<std::pair<std::wstring, int>> defuns;
    std::vector<std::pair<std::wstring, int>> undefs;
    std::vector<int> regFuncs;
    struct Command {
        std::wstring group, global, local;
        int32_t flags;
        AcRxFunctionPtr handler;
    };
    std::vector<Command> commands;
    int funCode = -1;
    int unlocked = 0;
    int mdiAware = 0;
};

FakeHost& fakeHost();
