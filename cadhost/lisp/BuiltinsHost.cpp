// Builtins of the host's LISP that reach the host: output, files, system
// variables, entities and selection sets, commands, plug-ins, prompts and
// geometry.
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "FileSystem.h"
#include "acdbads.h"
#include "acedads.h"
#include "acutads.h"
#include "core/CommandLine.h"
#include "core/Console.h"
#include "core/HostState.h"
#include "core/Modules.h"
#include "lisp/Interpreter.h"
#include "lisp/BuiltinSupport.h"
#include "lisp/ResbufConversion.h"

namespace tz::cad::lisp {

namespace {

using Args = std::vector<ValuePtr>;

std::FILE* fileArgument(const Args& a, size_t index) {
    if (index >= a.size()) return nullptr;
    const ValuePtr& v = a[index];
    if (!v || v->type != Type::File) badArgument(L"streamp", v);
    if (!v->file || !v->file->file) Interpreter::fail(L"bad argument type: streamp " + printForm(v, true));
    return v->file->file;
}

void writeText(std::FILE* file, const std::wstring& text) {
    if (file) {
        const std::string bytes = tz::platform::toUtf8(text);
        std::fwrite(bytes.data(), 1, bytes.size(), file);
    } else {
        console().print(text);
    }
}

void expectName(const Args& a, size_t index, Type type, intptr_t out[2]) {
    if (index >= a.size()) Interpreter::fail(L"too few arguments");
    const ValuePtr& v = a[index];
    if (!v || v->type != type) badArgument(type == Type::Ename ? L"lentityp" : L"lselsetp", v);
    out[0] = v->name[0];
    out[1] = v->name[1];
}

// Plug-in files are found as named, or by name in the suite's plug-in folder.
std::optional<std::string> findPlugin(const std::wstring& given) {
    namespace fs = std::filesystem;
    const std::string native = tz::platform::nativePath(tz::platform::toUtf8(given));
    std::vector<fs::path> candidates{native};
    fs::path withSo = native;
    withSo.replace_extension(".so");
    candidates.push_back(withSo);
    const fs::path stem = fs::path(native).stem();
    if (!hostState().pluginFolder.empty()) candidates.push_back(fs::path(hostState().pluginFolder) / (stem.string() + ".so"));
    std::error_code ec;
    for (const auto& candidate : candidates) {
        if (fs::is_regular_file(candidate, ec)) return candidate.string();
    }
    return std::nullopt;
}

std::vector<std::wstring> commandTokens(const Args& a) {
    std::vector<std::wstring> tokens;
    for (const ValuePtr& v : a) {
        if (!v) {
            tokens.emplace_back();
            continue;
        }
        switch (v->type) {
            case Type::Str: tokens.push_back(v->text); break;
            case Type::Int: tokens.push_back(std::to_wstring(v->intValue)); break;
            case Type::Real: tokens.push_back(roundTripText(v->realValue)); break;
            case Type::Cons: {
                std::wstring text;
                for (const ValuePtr& item : listItems(v)) {
                    if (!isNumber(item)) badArgument(L"pointp", v);
                    text += (text.empty() ? L"" : L",") + roundTripText(toDouble(item));
                }
                tokens.push_back(text);
                break;
            }
            case Type::Ename: {
                resbuf* list = acdbEntGet(v->name);
                std::wstring handle;
                for (resbuf* rb = list; rb; rb = rb->rbnext) {
                    if (rb->restype == 5 && rb->resval.rstring) handle = rb->resval.rstring;
                }
                acutRelRb(list);
                tokens.push_back(L"#" + handle);
                break;
            }
            default: badArgument(L"stringp", v);
        }
    }
    return tokens;
}

void installOutput(Interpreter& lisp) {
    auto printer = [](bool escaped, bool newlineBefore, bool blankAfter) {
        return [=](Interpreter& l, const Args& a) -> ValuePtr {
            expectCount(a, 0, 2);
            if (a.empty()) return l.symbol(L"");
            std::FILE* file = fileArgument(a, 1);
            std::wstring text = printForm(a[0], escaped);
            if (newlineBefore) text = L"\n" + text;
            if (blankAfter) text += L" ";
            writeText(file, text);
            return a[0];
        };
    };
    lisp.defineBuiltin(L"PRINC", printer(false, false, false));
    lisp.defineBuiltin(L"PRIN1", printer(true, false, false));
    lisp.defineBuiltin(L"PRINT", printer(true, true, true));
    lisp.defineBuiltin(L"TERPRI", [](Interpreter&, const Args& a) {
        expectCount(a, 0, 0);
        console().print(L"\n");
        return ValuePtr();
    });
    lisp.defineBuiltin(L"PROMPT", [](Interpreter&, const Args& a) {
        expectCount(a, 1, 1);
        console().print(expectString(a, 0));
        return ValuePtr();
    });
    lisp.defineBuiltin(L"ALERT", [](Interpreter&, const Args& a) {
        expectCount(a, 1, 1);
        acedAlert(expectString(a, 0).c_str());
        return ValuePtr();
    });
}

void installFiles(Interpreter& lisp) {
    lisp.defineBuiltin(L"OPEN", [](Interpreter&, const Args& a) -> ValuePtr {
        expectCount(a, 2, 3);
        const std::wstring& path = expectString(a, 0);
        std::wstring mode = expectString(a, 1);
        for (wchar_t& c : mode) c = static_cast<wchar_t>(std::towlower(c));
        if (mode != L"r" && mode != L"w" && mode != L"a") Interpreter::fail(L"bad argument value: " + printForm(a[1], true));
        std::FILE* file = tz::platform::openFile(tz::platform::toUtf8(path), tz::platform::toUtf8(mode).c_str());
        if (!file) return nullptr;
        auto v = std::make_shared<Value>(Type::File);
        v->file = std::make_shared<FileHandle>();
        v->file->file = file;
        v->file->mode = tz::platform::toUtf8(mode);
        return v;
    });
    lisp.defineBuiltin(L"CLOSE", [](Interpreter&, const Args& a) -> ValuePtr {
        expectCount(a, 1, 1);
        std::FILE* file = fileArgument(a, 0);
        std::fclose(file);
        a[0]->file->file = nullptr;
        return nullptr;
    });
    lisp.defineBuiltin(L"READ-LINE", [](Interpreter&, const Args& a) -> ValuePtr {
        expectCount(a, 0, 1);
        std::string line;
        if (a.empty()) {
            auto typed = console().readLine();
            return typed ? makeString(*typed) : nullptr;
        }
        std::FILE* file = fileArgument(a, 0);
        int c;
        bool any = false;
        while ((c = std::fgetc(file)) != EOF) {
            any = true;
            if (c == '\n') break;
            line += static_cast<char>(c);
        }
        if (!any) return nullptr;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        return makeString(tz::platform::fromUtf8(line));
    });
    lisp.defineBuiltin(L"WRITE-LINE", [](Interpreter&, const Args& a) {
        expectCount(a, 1, 2);
        const std::wstring& text = expectString(a, 0);
        writeText(fileArgument(a, 1), text + L"\n");
        return a[0];
    });
    lisp.defineBuiltin(L"FINDFILE", [](Interpreter&, const Args& a) -> ValuePtr {
        expectCount(a, 1, 1);
        auto found = findSupportFile(tz::platform::toUtf8(expectString(a, 0)));
        return found ? makeString(tz::platform::fromUtf8(*found)) : nullptr;
    });
    lisp.defineBuiltin(L"LOAD", [](Interpreter& l, const Args& a) -> ValuePtr {
        expectCount(a, 1, 2);
        const std::string name = tz::platform::toUtf8(expectString(a, 0));
        auto found = findSupportFile(name);
        if (!found && std::filesystem::path(tz::platform::nativePath(name)).extension().empty()) {
            found = findSupportFile(name + ".lsp");
        }
        std::ifstream file;
        if (found) file.open(*found, std::ios::binary);
        if (!found || !file) {
            if (a.size() == 2) return a[1];
            Interpreter::fail(L"LOAD failed: " + printForm(a[0], true));
        }
        std::stringstream content;
        content << file.rdbuf();
        return l.evalText(tz::platform::fromUtf8(content.str()));
    });
    lisp.defineBuiltin(L"GETENV", [](Interpreter&, const Args& a) -> ValuePtr {
        expectCount(a, 1, 1);
        const char* value = std::getenv(tz::platform::toUtf8(expectString(a, 0)).c_str());
        return value ? makeString(tz::platform::fromUtf8(value)) : nullptr;
    });
}

void installVariables(Interpreter& lisp) {
    lisp.defineBuiltin(L"GETVAR", [](Interpreter&, const Args& a) -> ValuePtr {
        expectCount(a, 1, 1);
        resbuf rb{};
        if (acedGetVar(expectString(a, 0).c_str(), &rb) != RTNORM) return nullptr;
        ValuePtr value = fromResbufValue(&rb);
        if (rb.restype == RTSTR) delete[] rb.resval.rstring;
        return value;
    });
    lisp.defineBuiltin(L"SETVAR", [](Interpreter&, const Args& a) {
        expectCount(a, 2, 2);
        const std::wstring& name = expectString(a, 0);
        resbuf* value = toResbufList({a[1]});
        const int status = value ? acedSetVar(name.c_str(), value) : RTERROR;
        acutRelRb(value);
        if (status != RTNORM) Interpreter::fail(L"system variable setting rejected: " + printForm(a[0], true) + L" " + printForm(a[1], true));
        return a[1];
    });
}

void installEntities(Interpreter& lisp) {
    lisp.defineBuiltin(L"ENTMAKE", [](Interpreter&, const Args& a) -> ValuePtr {
        expectCount(a, 0, 1);
        if (a.empty()) return nullptr;
        resbuf* list = toEntityList(a[0]);
        const int status = acdbEntMake(list);
        acutRelRb(list);
        return status == RTNORM ? a[0] : nullptr;
    });
    lisp.defineBuiltin(L"ENTGET", [](Interpreter&, const Args& a) -> ValuePtr {
        expectCount(a, 1, 2);
        intptr_t name[2];
        expectName(a, 0, Type::Ename, name);
        resbuf* list = acdbEntGet(name);
        if (!list) return nullptr;
        ValuePtr value = fromEntityList(list);
        acutRelRb(list);
        return value;
    });
    lisp.defineBuiltin(L"ENTLAST", [](Interpreter&, const Args& a) -> ValuePtr {
        expectCount(a, 0, 0);
        ads_name name;
        return acdbEntLast(name) == RTNORM ? makeEname(name) : nullptr;
    });
    lisp.defineBuiltin(L"ENTNEXT", [](Interpreter&, const Args& a) -> ValuePtr {
        expectCount(a, 0, 1);
        ads_name from = {0, 0}, next;
        if (!a.empty() && a[0]) expectName(a, 0, Type::Ename, from);
        return acdbEntNext(from, next) == RTNORM ? makeEname(next) : nullptr;
    });
    lisp.defineBuiltin(L"ENTDEL", [](Interpreter&, const Args& a) -> ValuePtr {
        expectCount(a, 1, 1);
        intptr_t name[2];
        expectName(a, 0, Type::Ename, name);
        return acdbEntDel(name) == RTNORM ? a[0] : nullptr;
    });
    lisp.defineBuiltin(L"ENTMOD", [](Interpreter&, const Args& a) -> ValuePtr {
        expectCount(a, 1, 1);
        resbuf* list = toEntityList(a[0]);
        const int status = acdbEntMod(list);
        acutRelRb(list);
        return status == RTNORM ? a[0] : nullptr;
    });
    lisp.defineBuiltin(L"HANDENT", [](Interpreter&, const Args& a) -> ValuePtr {
        expectCount(a, 1, 1);
        ads_name name;
        return acdbHandEnt(expectString(a, 0).c_str(), name) == RTNORM ? makeEname(name) : nullptr;
    });
    lisp.defineBuiltin(L"SSGET", [](Interpreter&, const Args& a) -> ValuePtr {
        // (ssget [mode] [point1 [point2]] [filter])
        size_t i = 0;
        std::wstring mode;
        if (i < a.size() && a[i] && a[i]->type == Type::Str) mode = a[i++]->text;
        ads_point p1{}, p2{};
        int points = 0;
        while (i < a.size() && a[i] && a[i]->type == Type::Cons && isNumber(a[i]->car) && points < 2) {
            expectPoint(a, i++, points == 0 ? p1 : p2);
            ++points;
        }
        resbuf* filter = nullptr;
        if (i < a.size()) filter = toEntityList(a[i++]);
        if (i < a.size()) {
            acutRelRb(filter);
            Interpreter::fail(L"too many arguments");
        }
        ads_name set;
        const int status = acedSSGet(mode.empty() ? nullptr : mode.c_str(), points > 0 ? p1 : nullptr,
                                     points > 1 ? p2 : nullptr, filter, set);
        acutRelRb(filter);
        return status == RTNORM ? makePickSet(set) : nullptr;
    });
    lisp.defineBuiltin(L"SSLENGTH", [](Interpreter&, const Args& a) -> ValuePtr {
        expectCount(a, 1, 1);
        intptr_t set[2];
        expectName(a, 0, Type::PickSet, set);
        int32_t length = 0;
        return acedSSLength(set, &length) == RTNORM ? makeInt(length) : nullptr;
    });
    lisp.defineBuiltin(L"SSNAME", [](Interpreter&, const Args& a) -> ValuePtr {
        expectCount(a, 2, 2);
        intptr_t set[2];
        expectName(a, 0, Type::PickSet, set);
        ads_name entity;
        return acedSSName(set, expectInt(a, 1), entity) == RTNORM ? makeEname(entity) : nullptr;
    });
    lisp.defineBuiltin(L"ENTSEL", [](Interpreter&, const Args& a) -> ValuePtr {
        expectCount(a, 0, 1);
        ads_name entity;
        ads_point picked{};
        const std::wstring prompt = a.empty() ? L"\nSelect object: " : expectString(a, 0);
        if (acedEntSel(prompt.c_str(), entity, picked) != RTNORM) return nullptr;
        return makeList({makeEname(entity), pointValue(picked)});
    });
    lisp.defineBuiltin(L"COMMAND", [](Interpreter&, const Args& a) -> ValuePtr {
        runCommandTokens(commandTokens(a));
        return nullptr;
    });
}

void installPlugins(Interpreter& lisp) {
    lisp.defineBuiltin(L"ARXLOAD", [](Interpreter&, const Args& a) -> ValuePtr {
        expectCount(a, 1, 2);
        auto path = findPlugin(expectString(a, 0));
        std::wstring error = L"file not found";
        if (path && modules().load(*path, error)) return a[0];
        if (a.size() == 2) return a[1];
        console().freshLine();
        console().print(tz::platform::fromUtf8(path.value_or(tz::platform::toUtf8(a[0]->text))) + L": " + error + L"\n");
        Interpreter::fail(L"ARXLOAD failed");
    });
    lisp.defineBuiltin(L"ARXUNLOAD", [](Interpreter&, const Args& a) -> ValuePtr {
        expectCount(a, 1, 2);
        const std::wstring name = tz::platform::fromUtf8(
            std::filesystem::path(tz::platform::nativePath(tz::platform::toUtf8(expectString(a, 0)))).stem().string());
        if (modules().unload(name)) return a[0];
        if (a.size() == 2) return a[1];
        Interpreter::fail(L"ARXUNLOAD failed");
    });
    lisp.defineBuiltin(L"ARX", [](Interpreter&, const Args& a) {
        expectCount(a, 0, 0);
        std::vector<ValuePtr> names;
        for (const auto& module : modules().modules()) {
            names.push_back(makeString(tz::platform::fromUtf8(std::filesystem::path(module->path).filename().string())));
        }
        return makeList(names);
    });
}

}  // namespace

void installHostBuiltins(Interpreter& lisp) {
    installOutput(lisp);
    installFiles(lisp);
    installVariables(lisp);
    installEntities(lisp);
    installPlugins(lisp);
    installInputBuiltins(lisp);
}

}  // namespace tz::cad::lisp
