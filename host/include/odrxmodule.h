// The module object that the host's object runtime asks every plug-in for.
#pragma once

#include "rxdefs.h"

class OdRxModule {
public:
    virtual ~OdRxModule() = default;
    virtual AcModuleHandle moduleHandle() const = 0;
};

// A module object that only keeps its instance handle.
class OdRxWin32Module : public OdRxModule {
public:
    explicit OdRxWin32Module(AcModuleHandle handle) : handle_(handle) {}
    AcModuleHandle moduleHandle() const override { return handle_; }

private:
    AcModuleHandle handle_;
};
