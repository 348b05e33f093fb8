// The host's LISP interpreter: symbols with dynamic binding, special forms,
// function calls, and the hooks through which plug-in functions run.
#pragma once

#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "lisp/Value.h"

namespace tz::cad::lisp {

// An error that abandons the current top-level form; the host prints
// "; error: " and the message.
struct LispError : std::runtime_error {
    explicit LispError(const std::wstring& message);
    std::wstring message;
};

class Interpreter {
public:
    Interpreter();

    // The symbol of that name (case-insensitive), the same value every time.
    ValuePtr symbol(const std::wstring& name);
    ValuePtr t() { return t_; }

    ValuePtr eval(const ValuePtr& form);
    ValuePtr apply(const ValuePtr& function, const std::vector<ValuePtr>& args);
    // Reads and evaluates every form of the text; the value of the last one.
    ValuePtr evalText(const std::wstring& text);
    // Reads every form of the text without evaluating it.
    std::vector<ValuePtr> readAll(const std::wstring& text);

    ValuePtr global(const std::wstring& name) const;
    void setGlobal(const std::wstring& name, ValuePtr value);
    bool isBound(const std::wstring& name) const;

    void defineBuiltin(const std::wstring& name, Builtin function, bool specialForm = false);

    // Calls a function a plug-in defined; set by the host.
    std::function<ValuePtr(const ExternalFunction&, const std::vector<ValuePtr>&)> callExternal;

    [[noreturn]] static void fail(const std::wstring& message);

    // How deep evaluation may go, in levels of evaluation (a call of a user
    // function takes about three), before it fails with "LISP stack
    // overflow": what the stack it runs on takes; the session sets it for
    // the stack of its own thread.
    static constexpr int kDefaultDepthLimit = 400;  // within a thread's usual 8 MB
    int depthLimit() const { return depthLimit_; }
    void setDepthLimit(int limit) { depthLimit_ = limit; }

private:
    ValuePtr callUserFunction(const ValuePtr& function, const std::vector<ValuePtr>& args);

    std::unordered_map<std::wstring, ValuePtr> symbols_;
    std::unordered_map<std::wstring, ValuePtr> globals_;
    ValuePtr t_;
    int depth_ = 0;
    int depthLimit_ = kDefaultDepthLimit;
};

// The one interpreter of the open document.
Interpreter& interpreter();

// Argument checks shared by the builtins; each raises the host's message.
void expectCount(const std::vector<ValuePtr>& args, size_t min, size_t max);
const std::wstring& expectString(const std::vector<ValuePtr>& args, size_t index);
double expectNumber(const std::vector<ValuePtr>& args, size_t index);
int32_t expectInt(const std::vector<ValuePtr>& args, size_t index);
ValuePtr expectList(const std::vector<ValuePtr>& args, size_t index);
[[noreturn]] void badArgument(const wchar_t* predicate, const ValuePtr& value);

void installControlForms(Interpreter& lisp);
void installCoreBuiltins(Interpreter& lisp);
void installHostBuiltins(Interpreter& lisp);
void installInputBuiltins(Interpreter& lisp);

}  // namespace tz::cad::lisp
