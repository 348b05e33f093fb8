#include "dcl/DialogSession.h"

#include <algorithm>
#include <cwchar>

#include "core/Console.h"

namespace tz::cad::dcl {

namespace {

std::wstring trim(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return L"";
    const size_t last = text.find_last_not_of(L" \t");
    return text.substr(first, last - first + 1);
}

void note(const std::wstring& text) {
    console().freshLine();
    console().print(L"(" + text + L")\n");
}

void ignored(const std::wstring& why) { note(why + L"; line ignored"); }

std::wstring tileName(const TileState& tile) { return quoteForTranscript(tile.key); }

// "a button", "an edit_box".
std::wstring withArticle(const std::wstring& type) {
    const bool vowel = !type.empty() && std::wstring(L"aeiou").find(type.front()) != std::wstring::npos;
    return (vowel ? L"an " : L"a ") + type;
}

void reportOutcome(Dialog& dialog, const TileState& tile, InputOutcome outcome) {
    const std::wstring type = withArticle(tile.definition->type);
    switch (outcome) {
        case InputOutcome::Done:
        case InputOutcome::Cut: return;
        case InputOutcome::Disabled: return ignored(L"tile " + tileName(tile) + L" is disabled");
        case InputOutcome::NotTypable:
            if (tile.kind == TileKind::Button || tile.kind == TileKind::ImageButton) {
                return ignored(L"tile " + tileName(tile) + L" is " + type + L": press it with !" + tile.key);
            }
            return ignored(L"tile " + tileName(tile) + L" is " + type + L" and takes no value");
        case InputOutcome::NotPressable:
            if (tile.kind == TileKind::EditBox || tile.kind == TileKind::ListBox || tile.kind == TileKind::PopupList ||
                tile.kind == TileKind::Slider || tile.kind == TileKind::RadioCluster) {
                return ignored(L"tile " + tileName(tile) + L" is " + type + L": give it a value with " + tile.key +
                               L"=value");
            }
            return ignored(L"tile " + tileName(tile) + L" is " + type + L" and cannot be pressed");
        case InputOutcome::BadToggleValue: return ignored(L"toggle " + tileName(tile) + L" takes 0 or 1");
        case InputOutcome::BadRadioValue:
            return ignored(L"radio button " + tileName(tile) + L" is chosen with " + tile.key + L"=1");
        case InputOutcome::NoSuchRadioButton: {
            std::wstring buttons;
            for (const TileState& button : dialog.tiles()) {
                if (button.radioCluster >= 0 && &dialog.tiles()[button.radioCluster] == &tile && !button.key.empty()) {
                    buttons += (buttons.empty() ? L"" : L", ") + button.key;
                }
            }
            return ignored(L"radio cluster " + tileName(tile) + L" takes the key of one of its buttons (" + buttons + L")");
        }
    }
}

TileState* findOrReport(Dialog& dialog, const std::wstring& key) {
    TileState* tile = dialog.find(key);
    if (tile == nullptr) ignored(L"dialog " + dialog.name() + L" has no tile " + quoteForTranscript(key));
    return tile;
}

}  // namespace

std::wstring quoteForTranscript(const std::wstring& text) {
    std::wstring quoted = L"\"";
    for (wchar_t c : text) {
        switch (c) {
            case L'\\': quoted += L"\\\\"; break;
            case L'"': quoted += L"\\\""; break;
            case L'\n': quoted += L"\\n"; break;
            case L'\t': quoted += L"\\t"; break;
            case L'\r': quoted += L"\\r"; break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    wchar_t code[8];
                    std::swprintf(code, 8, L"\\x%02X;", static_cast<unsigned>(c));
                    quoted += code;
                } else {
                    quoted += c;
                }
        }
    }
    return quoted + L"\"";
}

std::wstring describeDialog(const Dialog& dialog) {
    size_t keyWidth = 0;
    size_t typeWidth = 0;
    for (const TileState& tile : dialog.tiles()) {
        if (tile.key.empty()) continue;
        keyWidth = std::max(keyWidth, tile.key.size());
        typeWidth = std::max(typeWidth, tile.definition->type.size());
    }
    const std::wstring title = dialog.title();
    std::wstring text = L"*** DIALOG " + dialog.name() + (title.empty() ? L"" : L": " + title) + L" ***\n";
    for (const TileState& tile : dialog.tiles()) {
        if (tile.key.empty()) continue;
        std::wstring line = L"  " + tile.key + std::wstring(keyWidth + 2 - tile.key.size(), L' ') + tile.definition->type +
                            std::wstring(typeWidth + 2 - tile.definition->type.size(), L' ') +
                            quoteForTranscript(tile.value);
        if (!dialog.isEnabled(tile)) line += L"  (disabled)";
        text += line + L"\n";
    }
    return text;
}

void handleDialogLine(Dialog& dialog, const std::wstring& line) {
    const std::wstring trimmed = trim(line);
    if (trimmed.empty()) {
        TileState* button = dialog.defaultTile();
        if (button == nullptr) return ignored(L"dialog " + dialog.name() + L" has no default button for Enter");
        return reportOutcome(dialog, *button, dialog.press(*button));
    }
    if (trimmed == L"?") {
        console().print(describeDialog(dialog));
        return;
    }
    if (trimmed == L"*cancel*") {
        TileState* button = dialog.cancelTile();
        if (button == nullptr) return dialog.close(DLGCANCEL);
        return reportOutcome(dialog, *button, dialog.press(*button));
    }
    if (trimmed.front() == L'!') {
        TileState* tile = findOrReport(dialog, trim(trimmed.substr(1)));
        if (tile != nullptr) reportOutcome(dialog, *tile, dialog.press(*tile));
        return;
    }
    const size_t equals = line.find(L'=');
    if (equals == std::wstring::npos) {
        return ignored(L"not a dialog line: use key=value, !key, ?, *cancel* or an empty line");
    }
    TileState* tile = findOrReport(dialog, trim(line.substr(0, equals)));
    if (tile == nullptr) return;
    const std::wstring value = line.substr(equals + 1);
    // Said before the action runs, so that what the action prints follows it.
    if (tile->kind == TileKind::EditBox && dialog.isEnabled(*tile) && tile->editLimit > 0 &&
        value.size() > tile->editLimit) {
        note(L"tile " + tileName(*tile) + L" takes at most " + std::to_wstring(tile->editLimit) +
             L" characters; the rest was cut");
    }
    reportOutcome(dialog, *tile, dialog.type(*tile, value));
}

int runDialogSession(Dialog& dialog) {
    Console& out = console();
    dialog.onValueChanged = [](const TileState& tile, const std::wstring&) {
        if (tile.key != L"error") return;
        console().freshLine();
        console().print(L"error: " + quoteForTranscript(tile.value) + L"\n");
    };
    dialog.onNote = [](const std::wstring& text) { note(text); };
    out.freshLine();
    out.print(describeDialog(dialog));
    while (!dialog.closed()) {
        const std::optional<std::wstring> line = out.prompt(dialog.name() + L"> ");
        if (!line) {
            dialog.close(DLGCANCEL);
            break;
        }
        handleDialogLine(dialog, *line);
    }
    dialog.onValueChanged = nullptr;
    dialog.onNote = nullptr;
    out.freshLine();
    out.print(L"*** END DIALOG " + dialog.name() + L": status " + std::to_wstring(dialog.status()) + L" ***\n");
    return dialog.status();
}

}  // namespace tz::cad::dcl
