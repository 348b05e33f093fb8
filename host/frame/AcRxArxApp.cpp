#include "AcRxArxApp.h"

#include <cwchar>
#include <memory>

#include "acedads.h"
#include "odrxmodule.h"
#include "rxobject.h"

namespace {

// The suite carries no string resources: every row has a literal name.
bool loadStringResource(unsigned resourceId, ACHAR* buffer, size_t size) {
    (void)resourceId;
    if (size > 0) buffer[0] = 0;
    return false;
}

const ACHAR* resolvedName(LispFunctionEntry& entry) {
    if (entry.name != nullptr) return entry.name;
    loadStringResource(entry.resourceId, entry.nameBuffer, 132);
    return entry.nameBuffer;
}

AcEdCommandStack* commandStack() {
    return AcEdCommandStack::cast(acrxSysRegistry()->at(ACAD_REGISTERED_COMMANDS));
}

}  // namespace

LispFunctionEntry lispFunction(const ACHAR* name, int (*handler)()) {
    LispFunctionEntry entry{};
    entry.handler = handler;
    entry.name = name;
    entry.directCall = true;
    entry.resourceId = kNoResource;
    return entry;
}

CommandEntry command(const ACHAR* groupName, const ACHAR* globalName, const ACHAR* localName,
                     int32_t flags, AcRxFunctionPtr handler) {
    CommandEntry entry{};
    entry.handler = handler;
    entry.localName = localName;
    entry.globalName = globalName;
    entry.groupName = groupName;
    entry.flags = flags;
    entry.uiContext = nullptr;
    entry.localResourceId = kNoResource;
    return entry;
}

AcRx::AppRetCode AcRxDbxApp::On_kCfgMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kDependencyMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kEndDialogMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kEndMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kInitAppMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kInitDialogMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kInvkSubrMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kLoadDwgMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kNoDependencyMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kNullMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kOleUnloadAppMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kPreQuitMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kQuitMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kSaveMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kUnloadAppMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kUnloadDwgMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kSuspendMsg(void*) { return AcRx::kRetOK; }

AcRx::AppRetCode AcRxDbxApp::entryPoint(AcRx::AppMsgCode msg, void* pkt) {
    switch (msg) {
        case AcRx::kNullMsg: return On_kNullMsg(pkt);
        case AcRx::kInitAppMsg: return On_kInitAppMsg(pkt);
        case AcRx::kUnloadAppMsg: return On_kUnloadAppMsg(pkt);
        case AcRx::kLoadDwgMsg: return On_kLoadDwgMsg(pkt);
        case AcRx::kUnloadDwgMsg: return On_kUnloadDwgMsg(pkt);
        case AcRx::kInvkSubrMsg: return On_kInvkSubrMsg(pkt);
        case AcRx::kCfgMsg: return On_kCfgMsg(pkt);
        case AcRx::kEndMsg: return On_kEndMsg(pkt);
        case AcRx::kQuitMsg: return On_kQuitMsg(pkt);
        case AcRx::kSaveMsg: return On_kSaveMsg(pkt);
        case AcRx::kDependencyMsg: return On_kDependencyMsg(pkt);
        case AcRx::kNoDependencyMsg: return On_kNoDependencyMsg(pkt);
        case AcRx::kOleUnloadAppMsg: return On_kOleUnloadAppMsg(pkt);
        case AcRx::kPreQuitMsg: return On_kPreQuitMsg(pkt);
        case AcRx::kInitDialogMsg: return On_kInitDialogMsg(pkt);
        case AcRx::kEndDialogMsg: return On_kEndDialogMsg(pkt);
        case AcRx::kSuspendMsg: return On_kSuspendMsg(pkt);
    }
    return AcRx::kRetOK;
}

AcRx::AppRetCode AcRxArxApp::On_kInitAppMsg(void* pkt) {
    if (m_bUnlockable || m_bMDIAware) {
        AcRxDynamicLinker* linker = AcRxDynamicLinker::cast(acrxSysRegistry()->at(_T("DynamicLinker")));
        if (linker != nullptr) {
            if (m_bUnlockable) linker->unlockApplication(pkt);
            if (m_bMDIAware) linker->registerAppMDIAware(pkt);
        }
    }
    RegisterServerComponents();
    // No module of the suite registers object classes, so there is no class
    // hierarchy to build here.
    for (CommandEntry* entry : commands_) {
        const ACHAR* localName = entry->localName;
        if (localName == nullptr) {
            loadStringResource(entry->localResourceId, entry->nameBuffer, 132);
            localName = entry->nameBuffer;
        }
        if (AcEdCommandStack* stack = commandStack()) {
            stack->addCommand(entry->groupName, entry->globalName, localName, entry->flags,
                              entry->handler, entry->uiContext, -1, moduleHandle_, nullptr);
        }
    }
    return AcRx::kRetOK;
}

AcRx::AppRetCode AcRxArxApp::On_kUnloadAppMsg(void*) {
    for (CommandEntry* entry : commands_) {
        if (AcEdCommandStack* stack = commandStack()) stack->removeCmd(entry->groupName, entry->globalName);
    }
    return AcRx::kRetOK;
}

AcRx::AppRetCode AcRxArxApp::On_kLoadDwgMsg(void*) {
    for (size_t i = 0; i < lispFunctions_.size(); ++i) {
        LispFunctionEntry* entry = lispFunctions_[i];
        acedDefun(resolvedName(*entry), static_cast<int>(i));
        if (entry->directCall) acedRegFunc(entry->handler, static_cast<int>(i));
    }
    return AcRx::kRetOK;
}

AcRx::AppRetCode AcRxArxApp::On_kUnloadDwgMsg(void*) {
    for (size_t i = 0; i < lispFunctions_.size(); ++i) {
        acedUndef(resolvedName(*lispFunctions_[i]), static_cast<int>(i));
    }
    return AcRx::kRetOK;
}

AcRx::AppRetCode AcRxArxApp::On_kInvkSubrMsg(void*) {
    const int code = acedGetFunCode();
    if (code >= 0 && static_cast<size_t>(code) < lispFunctions_.size()) {
        lispFunctions_[static_cast<size_t>(code)]->handler();
    }
    return AcRx::kRetOK;
}

int frameApiVersion(int* major, int* minor, int* corrective, int* build) {
    if (major) *major = 22;
    if (minor) *minor = 4;
    if (corrective) *corrective = 0;
    if (build) *build = 0;
    return 0;
}

OdRxModule* frameModuleObject(AcModuleHandle handle) {
    static std::unique_ptr<OdRxModule> module;
    if (!module) {
        module = std::make_unique<OdRxWin32Module>(handle);
        AcRxArxApp::setModuleHandle(handle);
    }
    return module.get();
}
