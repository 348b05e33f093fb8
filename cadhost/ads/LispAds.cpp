// LISP registration, arguments and results of plug-in functions, and LISP
// symbols: acedDefun, acedUndef, acedRegFunc, acedGetFunCode, acedGetArgs,
// acedRet*, acedGetSym, acedPutSym.
#include <cwctype>

#include "acedads.h"
#include "acutads.h"
#include "core/Modules.h"
#include "lisp/Interpreter.h"
#include "lisp/ResbufConversion.h"

using tz::cad::modules;
namespace lisp = tz::cad::lisp;

namespace {

std::wstring upper(const ACHAR* name) {
    std::wstring text = name;
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towupper(c));
    return text;
}

int setResult(lisp::ValuePtr value) {
    auto* call = modules().currentCall();
    if (call == nullptr) return RTERROR;
    call->result = std::move(value);
    return RTNORM;
}

}  // namespace

int acedDefun(const ACHAR* name, int funcNumber) {
    tz::cad::Module* module = modules().current();
    if (name == nullptr || *name == 0 || module == nullptr) return RTERROR;
    auto function = std::make_shared<lisp::Value>(lisp::Type::External);
    function->text = upper(name);
    function->external = lisp::ExternalFunction{module, funcNumber};
    lisp::interpreter().setGlobal(function->text, function);
    module->lispFunctions.emplace_back(function->text, funcNumber);
    module->functionValues.push_back(function);
    return RTNORM;
}

int acedUndef(const ACHAR* name, int funcNumber) {
    tz::cad::Module* module = modules().current();
    if (name == nullptr || module == nullptr) return RTERROR;
    const std::wstring key = upper(name);
    auto value = lisp::interpreter().global(key);
    if (!value || value->type != lisp::Type::External || value->external.module != module ||
        value->external.code != funcNumber) {
        return RTERROR;
    }
    lisp::interpreter().setGlobal(key, nullptr);
    std::erase_if(module->lispFunctions, [&](const auto& f) { return f.first == key && f.second == funcNumber; });
    module->directCalls.erase(funcNumber);
    return RTNORM;
}

int acedRegFunc(int (*handler)(), int funcNumber) {
    tz::cad::Module* module = modules().current();
    if (module == nullptr || handler == nullptr) return RTERROR;
    module->directCalls[funcNumber] = handler;
    return RTNORM;
}

int acedGetFunCode() {
    auto* call = modules().currentCall();
    return call ? call->code : RTERROR;
}

struct resbuf* acedGetArgs() {
    auto* call = modules().currentCall();
    return call ? call->args : nullptr;
}

int acedRetVoid() { return setResult(lisp::interpreter().symbol(L"")); }
int acedRetNil() { return setResult(nullptr); }
int acedRetT() { return setResult(lisp::interpreter().t()); }
int acedRetInt(int value) { return setResult(lisp::makeInt(value)); }
int acedRetReal(ads_real value) { return setResult(lisp::makeReal(value)); }
int acedRetStr(const ACHAR* value) { return setResult(lisp::makeString(value ? value : L"")); }

int acedRetPoint(const ads_point value) {
    return setResult(lisp::makeList({lisp::makeReal(value[0]), lisp::makeReal(value[1]), lisp::makeReal(value[2])}));
}

int acedRetName(const ads_name value, int type) {
    return setResult(type == RTPICKS ? lisp::makePickSet(value) : lisp::makeEname(value));
}

int acedRetList(const struct resbuf* list) { return setResult(lisp::fromResbufList(list)); }
int acedRetVal(const struct resbuf* value) { return setResult(lisp::fromResbufValue(value)); }

int acedGetSym(const ACHAR* name, struct resbuf** value) {
    if (name == nullptr || value == nullptr) return RTERROR;
    const lisp::ValuePtr v = lisp::interpreter().global(upper(name));
    if (!v) {
        *value = acutNewRb(RTNIL);
        return RTNORM;
    }
    *value = lisp::toResbufList({v});
    return *value ? RTNORM : RTERROR;
}

int acedPutSym(const ACHAR* name, struct resbuf* value) {
    if (name == nullptr) return RTERROR;
    const std::wstring key = upper(name);
    if (key.empty() || key == L"T" || key == L"NIL") return RTERROR;
    // One buffer holds an atom; a chain, or one opening a list, holds a list.
    const bool atom = value != nullptr && value->rbnext == nullptr && value->restype != RTLB;
    lisp::interpreter().setGlobal(key, atom ? lisp::fromResbufValue(value) : lisp::fromResbufList(value));
    return RTNORM;
}
