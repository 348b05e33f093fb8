// The plug-ins loaded into the host, the LISP functions and commands they
// registered, and the host services they look up (the system registry with
// its dynamic linker and command stack, the document manager).
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "accmd.h"
#include "adsdef.h"
#include "lisp/Value.h"
#include "rxdefs.h"

namespace tz::cad {

struct Module {
    std::string path;
    std::wstring name;  // file name without folder and extension
    void* library = nullptr;
    AcRxEntryPointFn entry = nullptr;
    std::map<int, int (*)()> directCalls;  // acedRegFunc
    std::vector<std::pair<std::wstring, int>> lispFunctions;  // acedDefun
    // The function values acedDefun made, wherever LISP keeps them now; they
    // are cut off from the module when it unloads.
    std::vector<std::weak_ptr<lisp::Value>> functionValues;
};

struct RegisteredCommand {
    std::wstring group, globalName, localName;
    int32_t flags = 0;
    AcRxFunctionPtr handler = nullptr;
    Module* module = nullptr;
};

class ModuleManager {
public:
    // Routes LISP's calls of plug-in functions here.
    ModuleManager();

    // Loads a plug-in and sends it init-application and load-document.
    Module* load(const std::string& path, std::wstring& error);
    // Sends unload-document and unload-application, then unloads it. By
    // file name without extension, case-insensitive.
    bool unload(const std::wstring& name);
    void unloadAll();
    const std::vector<std::unique_ptr<Module>>& modules() const { return modules_; }

    // Sends a message to a module with the module as the current one.
    AcRx::AppRetCode send(Module& module, AcRx::AppMsgCode message);
    Module* current() const { return current_; }

    // Runs a plug-in's LISP function and returns its value to LISP.
    lisp::ValuePtr callFunction(const lisp::ExternalFunction& function, const std::vector<lisp::ValuePtr>& args);

    // The command stack.
    int addCommand(RegisteredCommand command);
    int removeCommand(const std::wstring& group, const std::wstring& globalName);
    int removeGroup(const std::wstring& group);
    // A command by its typed name: "_name" is the global name, otherwise the local one.
    const RegisteredCommand* findCommand(const std::wstring& typed) const;
    const std::vector<RegisteredCommand>& commands() const { return commands_; }

    // The LISP call in progress, for acedGetArgs, acedGetFunCode and acedRet*.
    struct Call {
        int code = -1;
        resbuf* args = nullptr;
        lisp::ValuePtr result;
    };
    Call* currentCall() { return calls_.empty() ? nullptr : &calls_.back(); }

private:
    std::vector<std::unique_ptr<Module>> modules_;
    std::vector<RegisteredCommand> commands_;
    std::vector<Call> calls_;
    Module* current_ = nullptr;
};

ModuleManager& modules();

// The suite's plug-ins in the order the host loads them.
const std::vector<std::string>& suitePluginNames();

}  // namespace tz::cad
