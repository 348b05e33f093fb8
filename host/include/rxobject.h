// The host's object runtime, as far as the plug-ins use it: the system
// registry, the dynamic linker and class registration.
#pragma once

#include "adsdef.h"

class AcRxObject {
public:
    virtual ~AcRxObject() = default;
};

class AcRxDictionary : public AcRxObject {
public:
    virtual AcRxObject* at(const ACHAR* key) const = 0;
};

// The host's registry of named services ("DynamicLinker", "ACAD_REGISTERED_COMMANDS").
AcRxDictionary* acrxSysRegistry();

class AcRxDynamicLinker : public AcRxObject {
public:
    static AcRxDynamicLinker* cast(AcRxObject* object) { return dynamic_cast<AcRxDynamicLinker*>(object); }
    virtual bool unlockApplication(void* appId) const = 0;
    virtual bool lockApplication(void* appId) const = 0;
    virtual bool isApplicationLocked(const ACHAR* name) const = 0;
    virtual bool registerAppMDIAware(void* appId) const = 0;
};

void acrxBuildClassHierarchy();
void deleteAcRxClassBranch(const ACHAR* className);
