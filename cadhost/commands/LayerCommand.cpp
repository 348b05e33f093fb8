// LAYER at the command line: make, set, create, colour, linetype, on/off,
// freeze/thaw, lock/unlock and list layers, option after option until Enter.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "acedads.h"
#include "commands/CommandInput.h"
#include "commands/HostCommandBodies.h"
#include "core/Console.h"
#include "drawing/CurrentDrawing.h"
#include "drawing/EntityRules.h"
#include "drawing/SessionSettings.h"
#include "drawing/Wildcard.h"

namespace tz::cad {

namespace {

std::wstring currentLayerName() { return sessionMakeContext().currentLayer; }

void setCurrentLayer(const std::wstring& name) {
    resbuf value{};
    value.restype = RTSTR;
    value.resval.rstring = const_cast<ACHAR*>(name.c_str());
    acedSetVar(L"CLAYER", &value);
}

// The names of a comma-separated list, blanks around each removed.
std::vector<std::wstring> nameList(std::wstring_view text) {
    std::vector<std::wstring> names;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != L',') continue;
        const std::wstring_view name = trimBlanks(text.substr(start, i - start));
        if (!name.empty()) names.emplace_back(name);
        start = i + 1;
    }
    return names;
}

// The layers a name list (wildcards allowed) names; reports names that match none.
std::vector<Layer*> matchingLayers(Drawing& drawing, std::wstring_view text) {
    std::vector<Layer*> found;
    for (const std::wstring& pattern : nameList(text)) {
        bool any = false;
        for (const Layer& candidate : drawing.layers()) {
            if (!wildcardMatch(pattern, candidate.name, true)) continue;
            Layer* layer = drawing.findLayer(candidate.name);
            any = true;
            if (std::find(found.begin(), found.end(), layer) == found.end()) found.push_back(layer);
        }
        if (!any) console().print(L"\nCannot find layer \"" + pattern + L"\".");
    }
    return found;
}

std::optional<int> parseColor(std::wstring_view text) {
    static const wchar_t* const kNames[] = {L"red", L"yellow", L"green", L"cyan", L"blue", L"magenta", L"white"};
    for (int i = 0; i < 7; ++i) {
        if (equalsIgnoreCase(trimBlanks(text), kNames[i])) return i + 1;
    }
    std::optional<double> number = parseNumber(text);
    if (!number || *number != static_cast<int>(*number) || *number < 1 || *number > 255) return std::nullopt;
    return static_cast<int>(*number);
}

// Asks for the layers an option applies to; Enter means the current layer.
// nullopt when cancelled.
std::optional<std::vector<Layer*>> askLayers(CommandArguments& args, const std::wstring& prompt) {
    Drawing& drawing = currentDrawing();
    const std::wstring current = currentLayerName();
    std::optional<std::wstring> answer = args.next(prompt + L" <" + current + L">: ");
    if (!answer) return std::nullopt;
    if (trimBlanks(*answer).empty()) {
        if (Layer* layer = drawing.findLayer(current)) return std::vector<Layer*>{layer};
        return std::vector<Layer*>{};
    }
    return matchingLayers(drawing, *answer);
}

void listLayers(std::wstring_view patterns) {
    const Drawing& drawing = currentDrawing();
    console().print(L"\nLayer name                       State              Color  Linetype");
    for (const Layer& layer : drawing.layers()) {
        bool wanted = false;
        for (const std::wstring& pattern : nameList(patterns.empty() ? std::wstring_view(L"*") : patterns)) {
            wanted = wanted || wildcardMatch(pattern, layer.name, true);
        }
        if (!wanted) continue;
        wchar_t line[512];
        std::swprintf(line, 512, L"\n%-32ls %-3ls %-6ls %-6ls %5d  %ls", layer.name.c_str(),
                      layer.color < 0 ? L"Off" : L"On", (layer.flags & 1) ? L"Frozen" : L"Thawed",
                      (layer.flags & 4) ? L"Locked" : L"", std::abs(layer.color), layer.linetype.c_str());
        console().print(line);
    }
}

// One option of the command; false when cancelled.
bool runOption(CommandArguments& args, std::wstring_view option) {
    Drawing& drawing = currentDrawing();
    if (option == L"?") {
        std::optional<std::wstring> patterns = args.next(L"\nEnter layer name(s) to list <*>: ");
        if (!patterns) return false;
        listLayers(trimBlanks(*patterns));
    } else if (isKeyword(option, L"Make", 1)) {
        const std::wstring current = currentLayerName();
        std::optional<std::wstring> name =
            args.next(L"\nEnter name for new layer (becomes the current layer) <" + current + L">: ");
        if (!name) return false;
        const std::wstring_view wanted = trimBlanks(*name);
        if (wanted.empty()) return true;
        if (!isValidSymbolName(wanted)) {
            console().print(L"\nInvalid layer name.");
            return true;
        }
        Layer& layer = drawing.ensureLayer(wanted);
        layer.flags &= ~1;  // a current layer cannot stay frozen
        setCurrentLayer(layer.name);
    } else if (isKeyword(option, L"Set", 1)) {
        std::optional<std::wstring> name = args.next(L"\nEnter layer name to make current or <select object>: ");
        if (!name) return false;
        const std::wstring_view wanted = trimBlanks(*name);
        if (wanted.empty()) return true;
        const Layer* layer = drawing.findLayer(wanted);
        if (layer == nullptr) {
            console().print(L"\nCannot find layer \"" + std::wstring(wanted) + L"\".");
        } else if (layer->flags & 1) {
            console().print(L"\nCannot set current layer to frozen layer.");
        } else {
            setCurrentLayer(layer->name);
        }
    } else if (isKeyword(option, L"New", 1)) {
        std::optional<std::wstring> names = args.next(L"\nEnter name list for new layer(s): ");
        if (!names) return false;
        for (const std::wstring& name : nameList(*names)) {
            if (isValidSymbolName(name)) {
                drawing.ensureLayer(name);
            } else {
                console().print(L"\nInvalid layer name: " + name);
            }
        }
    } else if (isKeyword(option, L"Color", 1) || isKeyword(option, L"Colour", 5)) {
        std::optional<int> color;
        while (!color) {
            std::optional<std::wstring> answer = args.next(L"\nEnter color name or number (1-255): ");
            if (!answer) return false;
            color = parseColor(*answer);
            if (!color) console().print(L"\nInvalid color.");
        }
        auto layers = askLayers(args, L"\nEnter name list of layer(s) for color " + std::to_wstring(*color));
        if (!layers) return false;
        for (Layer* layer : *layers) layer->color = layer->color < 0 ? -*color : *color;
    } else if (isKeyword(option, L"Ltype", 1)) {
        std::optional<std::wstring> answer = args.next(L"\nEnter a loaded linetype name or [?] <Continuous>: ");
        if (!answer) return false;
        const std::wstring_view wanted = trimBlanks(*answer);
        const TableRecord* linetype =
            Drawing::findRecord(drawing.linetypes(), wanted.empty() ? std::wstring_view(L"Continuous") : wanted);
        if (linetype == nullptr) {
            console().print(L"\nLinetype " + std::wstring(wanted) + L" not found.");
            return true;
        }
        auto layers = askLayers(args, L"\nEnter name list of layer(s) for linetype \"" + linetype->name + L"\"");
        if (!layers) return false;
        for (Layer* layer : *layers) layer->linetype = linetype->name;
    } else {
        struct Switch {
            const wchar_t* keyword;
            size_t shortest;
            const wchar_t* prompt;
            int colorSign;  // +1 on, -1 off, 0 untouched
            int setFlags, clearFlags;
        };
        static const Switch kSwitches[] = {
            {L"ON", 2, L"\nEnter name list of layer(s) to turn On", 1, 0, 0},
            {L"OFF", 2, L"\nEnter name list of layer(s) to turn Off", -1, 0, 0},
            {L"Freeze", 1, L"\nEnter name list of layer(s) to freeze", 0, 1, 0},
            {L"Thaw", 1, L"\nEnter name list of layer(s) to thaw", 0, 0, 1},
            {L"LOck", 2, L"\nEnter name list of layer(s) to lock", 0, 4, 0},
            {L"Unlock", 1, L"\nEnter name list of layer(s) to unlock", 0, 0, 4},
        };
        for (const Switch& change : kSwitches) {
            if (!isKeyword(option, change.keyword, change.shortest)) continue;
            auto layers = askLayers(args, change.prompt);
            if (!layers) return false;
            const std::wstring current = currentLayerName();
            for (Layer* layer : *layers) {
                if (change.colorSign != 0) layer->color = change.colorSign * std::abs(layer->color);
                if ((change.setFlags & 1) && equalsIgnoreCase(layer->name, current)) {
                    console().print(L"\nCannot freeze layer \"" + layer->name + L"\".  It is the CURRENT layer.");
                    continue;
                }
                layer->flags = (layer->flags | change.setFlags) & ~change.clearFlags;
            }
            return true;
        }
        console().print(L"\nInvalid option keyword.");
    }
    return true;
}

}  // namespace

void runLayerCommand(CommandArguments& args) {
    for (;;) {
        std::optional<std::wstring> option =
            args.next(L"\nEnter an option [?/Make/Set/New/ON/OFF/Color/Ltype/Freeze/Thaw/LOck/Unlock]: ");
        if (!option) return reportCancel();
        const std::wstring_view chosen = trimBlanks(*option);
        if (chosen.empty()) return;
        if (!runOption(args, chosen)) return reportCancel();
    }
}

}  // namespace tz::cad
