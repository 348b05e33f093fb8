// The plug-in frame shared by all five plug-ins: one module class per
// plug-in answers the host's application messages, defines the module's LISP
// functions in each document, adds its commands to the host's command stack
// and routes every call to its handler.
#pragma once

#include <cstdint>
#include <vector>

#include "accmd.h"
#include "adsdef.h"
#include "rxdefs.h"

// One LISP function of a module. Its position in the module's table is its
// function code.
struct LispFunctionEntry {
    int (*handler)();
    const ACHAR* name;          // literal name, or null to load it from resourceId
    ACHAR nameBuffer[132];
    bool directCall;            // also register the handler with acedRegFunc
    unsigned resourceId;        // (unsigned)-1: none
};

// One host command of a module.
struct CommandEntry {
    AcRxFunctionPtr handler;
    const ACHAR* localName;     // null: load it from localResourceId
    const ACHAR* globalName;
    const ACHAR* groupName;
    ACHAR nameBuffer[132];
    int32_t flags;
    AcEdUIContext* uiContext;
    unsigned localResourceId;
};

using LispFunctionTable = std::vector<LispFunctionEntry*>;
using CommandTable = std::vector<CommandEntry*>;

constexpr unsigned kNoResource = static_cast<unsigned>(-1);

// Convenience constructors for table rows: a literal name, direct call, no resource.
LispFunctionEntry lispFunction(const ACHAR* name, int (*handler)());
CommandEntry command(const ACHAR* groupName, const ACHAR* globalName, const ACHAR* localName,
                     int32_t flags, AcRxFunctionPtr handler);

// The database-side half of a module: one virtual handler per message code,
// in the host's slot order.
class AcRxDbxApp {
public:
    AcRxDbxApp(bool unlockable, bool mdiAware) : m_bUnlockable(unlockable), m_bMDIAware(mdiAware) {}
    virtual ~AcRxDbxApp() = default;

    virtual AcRx::AppRetCode On_kCfgMsg(void* pkt);
    virtual AcRx::AppRetCode On_kDependencyMsg(void* pkt);
    virtual AcRx::AppRetCode On_kEndDialogMsg(void* pkt);
    virtual AcRx::AppRetCode On_kEndMsg(void* pkt);
    virtual AcRx::AppRetCode On_kInitAppMsg(void* pkt);
    virtual AcRx::AppRetCode On_kInitDialogMsg(void* pkt);
    virtual AcRx::AppRetCode On_kInvkSubrMsg(void* pkt);
    virtual AcRx::AppRetCode On_kLoadDwgMsg(void* pkt);
    virtual AcRx::AppRetCode On_kNoDependencyMsg(void* pkt);
    virtual AcRx::AppRetCode On_kNullMsg(void* pkt);
    virtual AcRx::AppRetCode On_kOleUnloadAppMsg(void* pkt);
    virtual AcRx::AppRetCode On_kPreQuitMsg(void* pkt);
    virtual AcRx::AppRetCode On_kQuitMsg(void* pkt);
    virtual AcRx::AppRetCode On_kSaveMsg(void* pkt);
    virtual AcRx::AppRetCode On_kUnloadAppMsg(void* pkt);
    virtual AcRx::AppRetCode On_kUnloadDwgMsg(void* pkt);
    virtual AcRx::AppRetCode On_kSuspendMsg(void* pkt);
    virtual void RegisterServerComponents() {}

    // Routes message codes 0 to 16 to their handler; any other code is OK.
    AcRx::AppRetCode entryPoint(AcRx::AppMsgCode msg, void* pkt);

protected:
    bool m_bUnlockable;
    bool m_bMDIAware;
};

// The editor-side module class every plug-in derives from. It registers the
// module's two tables with the host.
class AcRxArxApp : public AcRxDbxApp {
public:
    AcRxArxApp(const LispFunctionTable& lispFunctions, const CommandTable& commands)
        : AcRxDbxApp(true, true), lispFunctions_(lispFunctions), commands_(commands) {}

    AcRx::AppRetCode On_kInitAppMsg(void* pkt) override;
    AcRx::AppRetCode On_kUnloadAppMsg(void* pkt) override;
    AcRx::AppRetCode On_kLoadDwgMsg(void* pkt) override;
    AcRx::AppRetCode On_kUnloadDwgMsg(void* pkt) override;
    AcRx::AppRetCode On_kInvkSubrMsg(void* pkt) override;

    static void setModuleHandle(AcModuleHandle handle) { moduleHandle_ = handle; }
    static AcModuleHandle moduleHandle() { return moduleHandle_; }

private:
    const LispFunctionTable& lispFunctions_;
    const CommandTable& commands_;
    static inline AcModuleHandle moduleHandle_ = nullptr;
};

#define TZ_EXPORT __attribute__((visibility("default")))

// Defines the four exports of a plug-in around its one module instance.
#define IMPLEMENT_ARX_ENTRYPOINT(AppClass)                                                       \
    static AppClass theApp;                                                                      \
    extern "C" TZ_EXPORT AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt) {     \
        return theApp.entryPoint(msg, pkt);                                                      \
    }                                                                                            \
    extern "C" TZ_EXPORT int acrxGetApiVersion(int* major, int* minor, int* corrective,          \
                                               int* build) {                                     \
        return frameApiVersion(major, minor, corrective, build);                                 \
    }                                                                                            \
    extern "C" TZ_EXPORT int odrxGetAPIVersion(int* major, int* minor, int* corrective,          \
                                               int* build) {                                     \
        return frameApiVersion(major, minor, corrective, build);                                 \
    }                                                                                            \
    extern "C" TZ_EXPORT OdRxModule* odrxCreateModuleObject(AcModuleHandle handle) {             \
        return frameModuleObject(handle);                                                        \
    }

class OdRxModule;

// The interface version the suite is built for: 22, 4, 0, 0.
int frameApiVersion(int* major, int* minor, int* corrective, int* build);
// The module object, created on the first call and the same on every later one.
OdRxModule* frameModuleObject(AcModuleHandle handle);
