#include "FakeHost.h"

#include <algorithm>
#include <cwchar>

#include "acedads.h"
#include "rxobject.h"

FakeHost& fakeHost() {
    static FakeHost host;
    return host;
}

int acedDefun(const ACHAR* name, int code) {
    fakeHost().defuns.emplace_back(name, code);
    return RTNORM;
}

int acedUndef(const ACHAR* name, int code) {
    fakeHost().undefs.emplace_back(name, code);
    return RTNORM;
}

int acedRegFunc(int (*)(), int code) {
    fakeHost().regFuncs.push_back(code);
    return RTNORM;
}

int acedGetFunCode() { return fakeHost().funCode; }

namespace {

class Linker : public AcRxDynamicLinker {
public:
    bool unlockApplication(void*) const override { return ++fakeHost().unlocked > 0; }
    bool lockApplication(void*) const override { return true; }
    bool isApplicationLocked(const ACHAR*) const override { return false; }
    bool registerAppMDIAware(void*) const override { return ++fakeHost().mdiAware > 0; }
};

class Stack : public AcEdCommandStack {
public:
    int addCommand(const ACHAR* group, const ACHAR* global, const ACHAR* local, int32_t flags,
                   AcRxFunctionPtr handler, AcEdUIContext*, int, AcModuleHandle, AcEdCommand**) override {
        fakeHost().commands.push_back({group, global, local, flags, handler});
        return 0;
    }
    int removeCmd(const ACHAR* group, const ACHAR* global) override {
        auto& commands = fakeHost().commands;
        const auto before = commands.size();
        std::erase_if(commands, [&](const FakeHost::Command& c) { return c.group == group && c.global == global; });
        return before == commands.size() ? 1 : 0;
    }
    int removeGroup(const ACHAR*) override { return 0; }
};

class Registry : public AcRxDictionary {
public:
    AcRxObject* at(const ACHAR* key) const override {
        if (std::wcscmp(key, L"DynamicLinker") == 0) return &linker;
        if (std::wcscmp(key, L"ACAD_REGISTERED_COMMANDS") == 0) return &stack;
        return nullptr;
    }
    mutable Linker linker;
    mutable Stack stack;
};

}  // namespace

AcRxDictionary* acrxSysRegistry() {
    static Registry registry;
    return &registry;
}
