#include "core/Session.h"

#include <unistd.h>

#include <clocale>
#include <csignal>
#include <cstring>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "FileSystem.h"
#include "MessageBox.h"
#include "acedads.h"
#include "core/CommandLine.h"
#include "core/Console.h"
#include "core/HostState.h"
#include "core/Modules.h"
#include "core/SystemVariables.h"
#include "drawing/CurrentDrawing.h"
#include "drawing/DrawingFiles.h"
#include "drawing/Group.h"
#include "lisp/Interpreter.h"
#include "lisp/Reader.h"
#include "plot/Plot.h"

namespace tz::cad {

namespace {

const char* kUsage =
    "usage: tzcad [options] [SCRIPT ...]\n"
    "  SCRIPT               run this session script; several run in turn; \"-\" is standard input\n"
    "  /b SCRIPT            run it as the start-up script (the launchers' switch); the session\n"
    "                       then goes on with standard input, as a host goes on at its prompt\n"
    "  --drawing FILE.dxf   open this drawing first\n"
    "  --save FILE.dxf      save the drawing as DXF when the session ends\n"
    "  --plot FILE          when the session ends, draw a picture of the drawing into FILE\n"
    "                       (.png, .svg or .pdf); may be given several times\n"
    "  --plot-layers LIST   the --plot options after it show only these layers (names or\n"
    "                       wildcard patterns, comma-separated; \"\" shows every layer that is on)\n"
    "  --plot-size N        the --plot options after it make pictures N pixels (points)\n"
    "                       on their longer side (64 to 20000; default 1600)\n"
    "  --plot-view VIEW     the --plot options after it look at the drawing from above\n"
    "                       (plan, the default) or from the south-west (iso)\n"
    "  --bare               start without the suite's plug-ins (also when started\n"
    "                       through a link of another name, as the CAD host the\n"
    "                       launchers start: the suite's loader brings them in)\n"
    "  --set NAME=VALUE     set a system variable first, e.g. --set LUPREC=2\n"
    "  --user-break N       the N-th break test reports a break (Escape)\n";

struct Options {
    std::vector<std::string> scripts;
    bool startupScript = false;  // /b: the session goes on with standard input afterwards
    std::string drawing;
    std::string save;
    std::vector<PlotRequest> plots;
    bool bare = false;
    std::vector<std::string> settings;
    long userBreak = 0;
};

bool parseOptions(int argc, char** argv, Options& options, std::string& error) {
    const std::string invokedAs = std::filesystem::path(argv[0]).filename().string();
    options.bare = invokedAs != "tzcad";
    PlotRequest plotSettings;  // layers, size and view chosen for the --plot options that follow
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](const char* what) -> const char* {
            if (i + 1 >= argc) {
                error = arg + " needs " + what;
                return nullptr;
            }
            return argv[++i];
        };
        if (arg == "/b" || arg == "/B") {
            const char* v = value("a script");
            if (!v) return false;
            options.scripts.push_back(v);
            options.startupScript = true;
        } else if (arg == "--drawing") {
            const char* v = value("a file");
            if (!v) return false;
            options.drawing = v;
        } else if (arg == "--save") {
            const char* v = value("a file");
            if (!v) return false;
            options.save = v;
        } else if (arg == "--plot") {
            const char* v = value("a file");
            if (!v) return false;
            if (pictureKindOf(v) == PictureKind::unknown) {
                error = "--plot " + std::string(v) + ": the name must end in .png, .svg or .pdf";
                return false;
            }
            options.plots.push_back(plotSettings);
            options.plots.back().path = v;
        } else if (arg == "--plot-layers") {
            const char* v = value("a list of layers");
            if (!v) return false;
            plotSettings.layerPattern = tz::platform::fromUtf8(v);
        } else if (arg == "--plot-size") {
            const char* v = value("a number");
            if (!v) return false;
            char* end = nullptr;
            const long size = std::strtol(v, &end, 10);
            if (!end || *end || size < kSmallestPlotSize || size > kLargestPlotSize) {
                error = "--plot-size needs a number from " + std::to_string(kSmallestPlotSize) + " to " +
                        std::to_string(kLargestPlotSize);
                return false;
            }
            plotSettings.longSide = static_cast<int>(size);
        } else if (arg == "--plot-view") {
            const char* v = value("plan or iso");
            if (!v) return false;
            if (std::strcmp(v, "plan") == 0) {
                plotSettings.view = PlotView::plan;
            } else if (std::strcmp(v, "iso") == 0) {
                plotSettings.view = PlotView::isometric;
            } else {
                error = "--plot-view needs plan or iso";
                return false;
            }
        } else if (arg == "--bare") {
            options.bare = true;
        } else if (arg == "--set") {
            const char* v = value("NAME=VALUE");
            if (!v) return false;
            options.settings.push_back(v);
        } else if (arg == "--user-break") {
            const char* v = value("a number");
            if (!v) return false;
            char* end = nullptr;
            options.userBreak = std::strtol(v, &end, 10);
            if (!end || *end || options.userBreak < 1) {
                error = "--user-break needs a positive number";
                return false;
            }
        } else if (arg == "-h" || arg == "--help") {
            std::cout << kUsage;
            std::exit(0);
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            error = "unknown option " + arg;
            return false;
        } else {
            options.scripts.push_back(arg);
        }
    }
    return true;
}

// The suite's folders follow from where this program really lives, so a
// link to it anywhere still finds them.
void locateInstall() {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path exe = fs::canonical("/proc/self/exe", ec);
    if (ec) return;
    const fs::path root = exe.parent_path().parent_path();
    HostState& state = hostState();
    state.installRoot = root.string();
    state.pluginFolder = (root / "lib" / "tzsuite").string();
    state.shareFolder = state.pluginFolder;  // one install folder for plug-ins, dialogs and LISP
}

void printError(const lisp::LispError& error) {
    console().freshLine();
    console().print(L"; error: " + error.message + L"\n");
}

// Evaluates LISP typed at the command prompt and echoes each value.
void evaluate(const std::wstring& text) {
    lisp::Interpreter& lisp = lisp::interpreter();
    try {
        for (const lisp::ValuePtr& form : lisp.readAll(text)) {
            const lisp::ValuePtr value = lisp.eval(form);
            const std::wstring shown = lisp::printForm(value, true);
            if (value && value->type == lisp::Type::Sym && value->text.empty()) continue;  // (princ)
            console().freshLine();
            console().print(shown + L"\n");
        }
    } catch (const lisp::LispError& error) {
        printError(error);
    }
    console().clearQueuedAnswers();
}

std::wstring trim(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return L"";
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

// Reads command lines until the input ends or QUIT.
void commandLoop(bool interactive) {
    for (;;) {
        if (quitRequested()) return;
        console().freshLine();
        if (interactive) console().print(L"Command: ");
        std::optional<std::wstring> line = console().readLine();
        if (!line) return;
        const std::wstring text = trim(*line);
        if (text.empty() || text[0] == L';') continue;
        if (!interactive) console().print(L"Command: " + *line + L"\n");

        if (text[0] == L'(' || text[0] == L'\'' || text[0] == L'!') {
            std::wstring expression = text[0] == L'!' ? text.substr(1) : text;
            // An expression runs on over further lines until its parentheses balance.
            while (lisp::openParenDepth(expression) > 0) {
                std::optional<std::wstring> more = console().readLine();
                if (!more) break;
                if (!interactive) console().print(*more + L"\n");
                expression += L"\n" + *more;
            }
            evaluate(expression);
            continue;
        }

        const size_t split = text.find_first_of(L" \t");
        const std::wstring name = text.substr(0, split);
        const std::wstring rest = split == std::wstring::npos ? L"" : text.substr(split + 1);
        runTypedCommand(name, rest);
        console().clearQueuedAnswers();
    }
}

void onInterrupt(int) { escapePressed = 1; }

// Message boxes of the suite (getreg's, the launchers') join the transcript
// and take their answers from the session.
int presentMessageBox(const std::string& text, const std::string& caption, tz::platform::UINT type) {
    using namespace tz::platform;
    const UINT buttons = type & MB_TYPEMASK;
    const bool yesNo = buttons == MB_YESNO || buttons == MB_YESNOCANCEL;
    console().messageBox(fromUtf8(text), fromUtf8(caption), yesNo ? L"Yes/No" : L"OK");
    if (!yesNo) return IDOK;
    for (;;) {
        std::optional<std::wstring> answer = console().prompt(L"Yes or No? ");
        if (!answer) return IDNO;
        std::wstring word = *answer;
        for (wchar_t& c : word) c = static_cast<wchar_t>(std::towlower(c));
        if (word == L"y" || word == L"yes") return IDYES;
        if (word == L"n" || word == L"no" || word == L"*cancel*") return IDNO;
    }
}

void loadSuitePlugins() {
    for (const std::string& name : suitePluginNames()) {
        const std::string path = hostState().pluginFolder + "/" + name + ".so";
        std::wstring error;
        if (!modules().load(path, error)) {
            console().freshLine();
            console().print(L"Warning: " + error + L"\n");
        }
    }
}

}  // namespace

int runHost(int argc, char** argv) {
    std::setlocale(LC_CTYPE, "C.UTF-8");
    Options options;
    std::string error;
    if (!parseOptions(argc, argv, options, error)) {
        std::cerr << "tzcad: " << error << "\n" << kUsage;
        return 2;
    }
    locateInstall();
    tz::platform::setMessageBoxPresenter(presentMessageBox);
    hostState().userBreakAt = options.userBreak;

    if (!options.drawing.empty()) {
        std::string note;
        if (!openDrawing(options.drawing, error, &note)) {
            std::cerr << "tzcad: cannot open drawing " << options.drawing << ": " << error << "\n";
            return 1;
        }
        if (!note.empty()) std::cerr << "tzcad: " << options.drawing << ": " << note << "\n";
        hostState().drawingPath = options.drawing;
    }
    for (const std::string& setting : options.settings) {
        const size_t eq = setting.find('=');
        // The current layer must be one of the drawing's, as setvar has it.
        if (eq != std::string::npos && equalsIgnoreCase(tz::platform::fromUtf8(setting.substr(0, eq)), L"CLAYER") &&
            currentDrawing().findLayer(tz::platform::fromUtf8(setting.substr(eq + 1))) == nullptr) {
            std::cerr << "tzcad: --set " << setting << ": the drawing has no layer of that name\n";
            return 2;
        }
        if (eq == std::string::npos || !systemVariables().setFromText(setting.substr(0, eq), setting.substr(eq + 1), error)) {
            std::cerr << "tzcad: --set " << setting << ": " << (eq == std::string::npos ? "expected NAME=VALUE" : error) << "\n";
            return 2;
        }
    }

    if (!options.bare) loadSuitePlugins();

    int status = 0;
    const bool interactiveStdin = isatty(STDIN_FILENO);
    if (options.scripts.empty() && !interactiveStdin) options.scripts.push_back("-");
    for (const std::string& script : options.scripts) {
        if (quitRequested()) break;
        if (script == "-") {
            console().setInput(&std::cin, true);
            commandLoop(false);
            continue;
        }
        // A folder opens as a stream that reads nothing. A pipe is read as
        // the script it carries (tzcad <(make-script), /dev/stdin).
        std::error_code ec;
        const bool folder = std::filesystem::is_directory(tz::platform::nativePath(script), ec);
        std::ifstream file;
        if (!folder) file.open(tz::platform::nativePath(script), std::ios::binary);
        if (folder || !file) {
            console().freshLine();
            console().print(L"Cannot open script file " + tz::platform::fromUtf8(script) + L"\n");
            status = 1;
            continue;
        }
        console().setInput(&file, true);
        commandLoop(false);
        console().setInput(nullptr, true);
    }
    // With no script, or after a start-up script, the user carries on:
    // typed at a terminal, or from whatever else standard input holds.
    if (!quitRequested() && (options.scripts.empty() || options.startupScript)) {
        if (interactiveStdin) {
            std::signal(SIGINT, onInterrupt);
            console().setInput(&std::cin, false);
            commandLoop(true);
        } else {
            console().setInput(&std::cin, true);
            commandLoop(false);
        }
    }
    console().setInput(nullptr, true);

    modules().unloadAll();
    if (!options.save.empty()) {
        if (!saveDrawing(options.save, error)) {
            console().freshLine();
            console().print(L"Could not save the drawing: " + tz::platform::fromUtf8(error) + L"\n");
            return 1;
        }
    }
    for (const PlotRequest& plot : options.plots) {
        if (!plotDrawing(plot, error)) {
            console().freshLine();
            console().print(L"Could not plot the drawing to " + tz::platform::fromUtf8(plot.path) + L": " +
                            tz::platform::fromUtf8(error) + L"\n");
            return 1;
        }
    }
    console().freshLine();
    return status;
}

}  // namespace tz::cad
