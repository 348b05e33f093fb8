// The host's command stack, where plug-ins add and remove their commands.
#pragma once

#include <cstdint>

#include "adsdef.h"
#include "rxdefs.h"
#include "rxobject.h"

typedef void (*AcRxFunctionPtr)();

// Command flags.
#define ACRX_CMD_MODAL 0x00000000
#define ACRX_CMD_TRANSPARENT 0x00000001
#define ACRX_CMD_USEPICKSET 0x00000002
#define ACRX_CMD_REDRAW 0x00000004

class AcEdUIContext {
public:
    virtual ~AcEdUIContext() = default;
};

class AcEdCommand;

class AcEdCommandStack : public AcRxObject {
public:
    static AcEdCommandStack* cast(AcRxObject* object) { return dynamic_cast<AcEdCommandStack*>(object); }

    // Returns 0 (eOk) when added, nonzero when the global name is taken in the group.
    virtual int addCommand(const ACHAR* groupName, const ACHAR* globalName, const ACHAR* localName,
                           int32_t flags, AcRxFunctionPtr handler, AcEdUIContext* uiContext = nullptr,
                           int functionCode = -1, AcModuleHandle module = nullptr,
                           AcEdCommand** command = nullptr) = 0;
    virtual int removeCmd(const ACHAR* groupName, const ACHAR* globalName) = 0;
    virtual int removeGroup(const ACHAR* groupName) = 0;
};

#define ACAD_REGISTERED_COMMANDS _T("ACAD_REGISTERED_COMMANDS")
