#include "core/Modules.h"

#include <dlfcn.h>

#include <algorithm>
#include <cwctype>
#include <filesystem>

#include "FileSystem.h"
#include "acutads.h"
#include "lisp/Interpreter.h"
#include "lisp/ResbufConversion.h"
#include "odrxmodule.h"

namespace tz::cad {

namespace {

std::wstring lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

using CreateModuleFn = OdRxModule* (*)(AcModuleHandle);

// A function value kept elsewhere ((setq f dtmvar)) must not call into a
// library that is gone.
void detachFunctionValues(Module& module) {
    for (const auto& weak : module.functionValues) {
        if (auto value = weak.lock()) value->external.module = nullptr;
    }
}

}  // namespace

ModuleManager::ModuleManager() {
    lisp::interpreter().callExternal = [this](const lisp::ExternalFunction& function,
                                              const std::vector<lisp::ValuePtr>& args) {
        return callFunction(function, args);
    };
}

ModuleManager& modules() {
    static ModuleManager instance;
    return instance;
}

const std::vector<std::string>& suitePluginNames() {
    static const std::vector<std::string> names{"Terramod", "Nodex", "Kerfline", "ptgrab", "Slabvol"};
    return names;
}

AcRx::AppRetCode ModuleManager::send(Module& module, AcRx::AppMsgCode message) {
    Module* previous = current_;
    current_ = &module;
    const AcRx::AppRetCode result = module.entry(message, &module);
    current_ = previous;
    return result;
}

Module* ModuleManager::load(const std::string& path, std::wstring& error) {
    const std::string native = tz::platform::nativePath(path);
    const std::wstring name = tz::platform::fromUtf8(std::filesystem::path(native).stem().string());
    for (const auto& loaded : modules_) {
        if (lower(loaded->name) == lower(name)) {
            error = name + L" is already loaded.";
            return nullptr;
        }
    }
    void* library = dlopen(native.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* reason = dlerror();
        error = L"Cannot load " + tz::platform::fromUtf8(native) + L": " + tz::platform::fromUtf8(reason ? reason : "unknown");
        return nullptr;
    }
    auto entry = reinterpret_cast<AcRxEntryPointFn>(dlsym(library, "acrxEntryPoint"));
    auto create = reinterpret_cast<CreateModuleFn>(dlsym(library, "odrxCreateModuleObject"));
    if (entry == nullptr || create == nullptr) {
        dlclose(library);
        error = tz::platform::fromUtf8(native) + L" is not a plug-in of this host.";
        return nullptr;
    }
    auto module = std::make_unique<Module>();
    module->path = native;
    module->name = name;
    module->library = library;
    module->entry = entry;
    create(library);
    Module* added = module.get();
    modules_.push_back(std::move(module));
    send(*added, AcRx::kInitAppMsg);
    send(*added, AcRx::kLoadDwgMsg);
    return added;
}

bool ModuleManager::unload(const std::wstring& name) {
    auto found = std::find_if(modules_.begin(), modules_.end(),
                              [&](const auto& m) { return lower(m->name) == lower(name); });
    if (found == modules_.end()) return false;
    Module& module = **found;
    send(module, AcRx::kUnloadDwgMsg);
    send(module, AcRx::kUnloadAppMsg);
    // Whatever the module left registered goes with it.
    for (const auto& [function, code] : module.lispFunctions) {
        (void)code;
        auto value = lisp::interpreter().global(function);
        if (value && value->type == lisp::Type::External && value->external.module == &module) {
            lisp::interpreter().setGlobal(function, nullptr);
        }
    }
    detachFunctionValues(module);
    std::erase_if(commands_, [&](const RegisteredCommand& c) { return c.module == &module; });
    void* library = module.library;
    modules_.erase(found);
    dlclose(library);
    return true;
}

void ModuleManager::unloadAll() {
    // The drawing closes first (unload-document for every plug-in), then
    // every plug-in unloads.
    for (auto& module : modules_) send(*module, AcRx::kUnloadDwgMsg);
    for (auto& module : modules_) send(*module, AcRx::kUnloadAppMsg);
    for (auto& module : modules_) {
        detachFunctionValues(*module);
        dlclose(module->library);
    }
    modules_.clear();
    commands_.clear();
}

lisp::ValuePtr ModuleManager::callFunction(const lisp::ExternalFunction& function,
                                           const std::vector<lisp::ValuePtr>& args) {
    auto* module = static_cast<Module*>(function.module);
    calls_.push_back(Call{function.code, lisp::toResbufList(args), nullptr});
    struct PopCall {
        std::vector<Call>& calls;
        ~PopCall() {
            acutRelRb(calls.back().args);
            calls.pop_back();
        }
    } pop{calls_};

    Module* previous = current_;
    current_ = module;
    auto direct = module->directCalls.find(function.code);
    if (direct != module->directCalls.end()) direct->second();
    else module->entry(AcRx::kInvkSubrMsg, module);
    current_ = previous;
    return calls_.back().result;
}

int ModuleManager::addCommand(RegisteredCommand command) {
    for (const auto& existing : commands_) {
        if (lower(existing.group) == lower(command.group) && lower(existing.globalName) == lower(command.globalName)) {
            return 1;  // duplicate command name in the group
        }
    }
    if (command.module == nullptr) command.module = current_;
    commands_.push_back(std::move(command));
    return 0;
}

int ModuleManager::removeCommand(const std::wstring& group, const std::wstring& globalName) {
    const size_t before = commands_.size();
    std::erase_if(commands_, [&](const RegisteredCommand& c) {
        return lower(c.group) == lower(group) && lower(c.globalName) == lower(globalName);
    });
    return before == commands_.size() ? 1 : 0;
}

int ModuleManager::removeGroup(const std::wstring& group) {
    std::erase_if(commands_, [&](const RegisteredCommand& c) { return lower(c.group) == lower(group); });
    return 0;
}

const RegisteredCommand* ModuleManager::findCommand(const std::wstring& typed) const {
    std::wstring name = lower(typed);
    while (!name.empty() && name[0] == L'.') name.erase(0, 1);  // "." asks for the built-in form
    const bool global = !name.empty() && name[0] == L'_';
    for (const auto& command : commands_) {
        if (global ? lower(command.globalName) == name : lower(command.localName) == name) return &command;
    }
    // A global name typed without its underscore, as the host allows.
    for (const auto& command : commands_) {
        if (lower(command.globalName) == L"_" + name || lower(command.globalName) == name) return &command;
    }
    return nullptr;
}

}  // namespace tz::cad
