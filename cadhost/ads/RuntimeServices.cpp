// The host's object runtime services that plug-ins look up: the system
// registry, its dynamic linker and command stack, and the document manager.
#include <cwchar>
#include <string>

#include "accmd.h"
#include "acdocman.h"
#include "core/Modules.h"
#include "rxobject.h"

namespace {

using tz::cad::modules;

class DynamicLinker : public AcRxDynamicLinker {
public:
    bool unlockApplication(void*) const override { return true; }
    bool lockApplication(void*) const override { return true; }
    bool isApplicationLocked(const ACHAR*) const override { return false; }
    bool registerAppMDIAware(void*) const override { return true; }
};

class CommandStack : public AcEdCommandStack {
public:
    int addCommand(const ACHAR* groupName, const ACHAR* globalName, const ACHAR* localName, int32_t flags,
                   AcRxFunctionPtr handler, AcEdUIContext*, int, AcModuleHandle, AcEdCommand**) override {
        if (groupName == nullptr || globalName == nullptr || handler == nullptr) return 1;
        tz::cad::RegisteredCommand command;
        command.group = groupName;
        command.globalName = globalName;
        command.localName = localName ? localName : globalName;
        command.flags = flags;
        command.handler = handler;
        return modules().addCommand(std::move(command));
    }
    int removeCmd(const ACHAR* groupName, const ACHAR* globalName) override {
        if (groupName == nullptr || globalName == nullptr) return 1;
        return modules().removeCommand(groupName, globalName);
    }
    int removeGroup(const ACHAR* groupName) override {
        return groupName == nullptr ? 1 : modules().removeGroup(groupName);
    }
};

class SystemRegistry : public AcRxDictionary {
public:
    AcRxObject* at(const ACHAR* key) const override {
        if (key == nullptr) return nullptr;
        if (std::wcscmp(key, L"DynamicLinker") == 0) return &linker_;
        if (std::wcscmp(key, ACAD_REGISTERED_COMMANDS) == 0) return &commands_;
        return nullptr;
    }

private:
    mutable DynamicLinker linker_;
    mutable CommandStack commands_;
};

class DocManager : public AcApDocManager {
public:
    AcApDocument* curDocument() const override { return reinterpret_cast<AcApDocument*>(const_cast<int*>(&document_)); }
    void addReactor(AcApDocManagerReactor*) override {}
    void removeReactor(AcApDocManagerReactor*) override {}

private:
    int document_ = 0;  // the one open document; its address names it
};

}  // namespace

AcRxDictionary* acrxSysRegistry() {
    static SystemRegistry registry;
    return &registry;
}

AcApDocManager* acDocManagerPtr() {
    static DocManager manager;
    return &manager;
}

void acrxBuildClassHierarchy() {}
void deleteAcRxClassBranch(const ACHAR*) {}
