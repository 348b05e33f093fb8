#include "core/CommandLine.h"

#include <cwctype>
#include <deque>
#include <optional>
#include <sstream>

#include "FileSystem.h"
#include "commands/HostCommands.h"
#include "core/Console.h"
#include "core/HostState.h"
#include "core/Modules.h"
#include "drawing/DrawingFiles.h"
#include "lisp/Interpreter.h"

namespace tz::cad {

namespace {

bool quit = false;

std::wstring upper(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towupper(c));
    return text;
}

std::vector<std::wstring> words(const std::wstring& text) {
    std::vector<std::wstring> out;
    std::wstringstream stream(text);
    std::wstring word;
    while (stream >> word) out.push_back(word);
    return out;
}

// "*cancel*" is Escape: the host's own commands end there, as the suite's
// prompts do.
std::optional<std::wstring> unlessCancelled(std::optional<std::wstring> answer) {
    if (answer && *answer == L"*cancel*") return std::nullopt;
    return answer;
}

// Arguments typed on the command line after the name, then the session's answers.
class SessionArguments : public CommandArguments {
public:
    explicit SessionArguments(const std::wstring& rest) {
        for (auto& word : words(rest)) typed_.push_back(word);
    }
    // The whole rest of the line as one answer (a file name with blanks),
    // without the double quotes that may enclose it.
    static SessionArguments wholeLine(const std::wstring& rest) {
        SessionArguments args(L"");
        const size_t first = rest.find_first_not_of(L" \t");
        if (first == std::wstring::npos) return args;
        std::wstring answer = rest.substr(first, rest.find_last_not_of(L" \t") + 1 - first);
        if (answer.size() >= 2 && answer.front() == L'"' && answer.back() == L'"') {
            answer = answer.substr(1, answer.size() - 2);
        }
        args.typed_.push_back(answer);
        return args;
    }
    std::optional<std::wstring> next(std::wstring_view prompt) override {
        if (!typed_.empty()) {
            std::wstring answer = typed_.front();
            typed_.pop_front();
            console().print(prompt);
            console().print(answer + L"\n");
            return unlessCancelled(answer);
        }
        return unlessCancelled(console().prompt(prompt));
    }

private:
    std::deque<std::wstring> typed_;
};

// Arguments from the command function's list; none left ends the command.
class TokenArguments : public CommandArguments {
public:
    explicit TokenArguments(std::deque<std::wstring>& tokens) : tokens_(tokens) {}
    std::optional<std::wstring> next(std::wstring_view prompt) override {
        if (tokens_.empty()) return std::nullopt;
        std::wstring answer = tokens_.front();
        tokens_.pop_front();
        console().print(prompt);
        console().print(answer + L"\n");
        return unlessCancelled(answer);
    }

private:
    std::deque<std::wstring>& tokens_;
};

void runPluginCommand(const RegisteredCommand& command) {
    // The handler runs with its module as the current one, as a LISP call does.
    command.handler();
}

bool saveAs(CommandArguments& args) {
    std::optional<std::wstring> path = args.next(L"\nSave drawing as: ");
    if (!path || path->empty()) return true;
    std::string error;
    if (saveDrawing(tz::platform::toUtf8(*path), error)) {
        hostState().drawingPath = tz::platform::toUtf8(*path);
    } else {
        console().print(L"\nCould not save the drawing: " + tz::platform::fromUtf8(error) + L"\n");
    }
    return true;
}

// A command's name as the host compares it: upper case, without the "_"
// that asks for the English name.
std::wstring commandKey(const std::wstring& name) {
    return upper(!name.empty() && name[0] == L'_' ? name.substr(1) : name);
}

// Commands of the session itself rather than of the drawing.
bool runSessionCommand(const std::wstring& name, CommandArguments& args) {
    const std::wstring key = commandKey(name);
    if (key == L"QUIT" || key == L"EXIT") {
        requestQuit();
        return true;
    }
    if (key == L"SAVEAS" || key == L"SAVE") return saveAs(args);
    return false;
}

// A plug-in's command or a LISP C: command reads its prompts from the
// console: what follows its name in `queue` answers them first, and no
// more than the command itself takes.
struct CommandAnswers {
    bool typed;
    CommandAnswers(std::deque<std::wstring>* queue, bool typedLine) : typed(typedLine) {
        std::vector<std::wstring> answers;
        if (queue != nullptr) {
            answers.assign(queue->begin(), queue->end());
            queue->clear();
        }
        console().beginAnswers(std::move(answers), typed);
    }
    ~CommandAnswers() {
        const std::vector<std::wstring> left = console().endAnswers();
        if (!typed || left.empty()) return;
        std::wstring words;
        for (const std::wstring& word : left) words += (words.empty() ? L"" : L" ") + word;
        console().freshLine();
        console().print(L"; not used by the command: " + words + L"\n");
    }
};

// A command run from within a command (through (command)) stacks several
// large frames on top of the LISP calls that led to it, so the LISP depth
// limit alone does not keep a command that runs itself within the stack.
constexpr int kMostNestedCommands = 200;
int nestedCommands = 0;

struct NestedCommand {
    NestedCommand() { ++nestedCommands; }
    ~NestedCommand() { --nestedCommands; }
    NestedCommand(const NestedCommand&) = delete;
    NestedCommand& operator=(const NestedCommand&) = delete;
};

bool runNamed(const std::wstring& name, CommandArguments& args, std::deque<std::wstring>* queue, bool typed) {
    if (nestedCommands >= kMostNestedCommands) {
        console().freshLine();
        console().print(L"; error: LISP stack overflow: commands nested too deep\n");
        return true;
    }
    const NestedCommand nested;
    if (const RegisteredCommand* command = modules().findCommand(name)) {
        CommandAnswers answers(queue, typed);
        runPluginCommand(*command);
        return true;
    }
    lisp::Interpreter& lisp = lisp::interpreter();
    const lisp::ValuePtr function = lisp.global(L"C:" + upper(name));
    if (function && (function->type == lisp::Type::UserFunc || function->type == lisp::Type::External ||
                     function->type == lisp::Type::Subr)) {
        CommandAnswers answers(queue, typed);
        try {
            const lisp::ValuePtr value = lisp.apply(function, {});
            (void)value;
        } catch (const lisp::LispError& error) {
            console().freshLine();
            console().print(L"; error: " + error.message + L"\n");
        }
        return true;
    }
    if (runSessionCommand(name, args)) return true;
    return runHostCommand(name, args);
}

}  // namespace

bool quitRequested() { return quit; }
void requestQuit() { quit = true; }

bool runTypedCommand(const std::wstring& name, const std::wstring& rest) {
    // Words after the name answer the first prompts, as a blank is Enter;
    // after SAVEAS the rest of the line is the file name, blanks and all.
    const std::wstring key = commandKey(name);
    SessionArguments args =
        key == L"SAVEAS" || key == L"SAVE" ? SessionArguments::wholeLine(rest) : SessionArguments(rest);
    const std::vector<std::wstring> typed = words(rest);
    std::deque<std::wstring> queue(typed.begin(), typed.end());
    if (runNamed(name, args, &queue, true)) return true;
    console().freshLine();
    console().print(L"Unknown command \"" + upper(name) + L"\".\n");
    return false;
}

int runCommandTokens(const std::vector<std::wstring>& tokens) {
    std::deque<std::wstring> queue(tokens.begin(), tokens.end());
    while (!queue.empty()) {
        const std::wstring name = queue.front();
        queue.pop_front();
        if (name.empty()) continue;  // Enter at the command prompt
        TokenArguments args(queue);
        if (!runNamed(name, args, &queue, false)) {
            console().freshLine();
            console().print(L"Unknown command \"" + upper(name) + L"\".\n");
            return -5001;
        }
    }
    return 5100;
}

}  // namespace tz::cad
