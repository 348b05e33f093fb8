#include "MessageBox.h"

#include <unistd.h>

#include <cerrno>
#include <mutex>

#include "FileSystem.h"

namespace tz::platform {

namespace {

std::mutex presenterGuard;
MessageBoxPresenter& currentPresenter() {
    static MessageBoxPresenter presenter;
    return presenter;
}

struct ButtonSet {
    const char* label;     // as shown in the block's first line
    const char* question;  // asked after the block; null when nothing is asked
    int onEndOfInput;
};

std::optional<ButtonSet> buttonsOf(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OK: return ButtonSet{"OK", nullptr, IDOK};
        case MB_OKCANCEL: return ButtonSet{"OK/Cancel", "OK/Cancel? ", IDCANCEL};
        case MB_YESNO: return ButtonSet{"Yes/No", "Yes/No? ", IDNO};
        case MB_YESNOCANCEL: return ButtonSet{"Yes/No/Cancel", "Yes/No/Cancel? ", IDCANCEL};
        default: return std::nullopt;
    }
}

std::string foldedWord(const std::string& line) {
    size_t first = 0;
    size_t last = line.size();
    while (first < last && (line[first] == ' ' || line[first] == '\t')) ++first;
    while (last > first && (line[last - 1] == ' ' || line[last - 1] == '\t' || line[last - 1] == '\r')) --last;
    std::string word = line.substr(first, last - first);
    for (char& c : word) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return word;
}

// The button an answer names, or 0 when it names none the box has.
int buttonNamed(const std::string& answer, UINT type) {
    const std::string word = foldedWord(answer);
    const UINT buttons = type & MB_TYPEMASK;
    const bool hasYesNo = buttons == MB_YESNO || buttons == MB_YESNOCANCEL;
    const bool hasOk = buttons == MB_OKCANCEL;
    const bool hasCancel = buttons == MB_OKCANCEL || buttons == MB_YESNOCANCEL;
    if (hasYesNo && (word == "y" || word == "yes")) return IDYES;
    if (hasYesNo && (word == "n" || word == "no")) return IDNO;
    if (hasOk && (word == "o" || word == "ok")) return IDOK;
    if (hasCancel && (word == "c" || word == "cancel")) return IDCANCEL;
    return 0;
}

void write(std::FILE* out, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), out);
}

int presentOnTerminal(const std::string& text, const std::string& caption, UINT type) {
    return presentMessageBox(text, caption, type, stdout, readStandardInputLine, isatty(STDIN_FILENO) == 0);
}

}  // namespace

int presentMessageBox(const std::string& text, const std::string& caption, UINT type, std::FILE* out,
                      const AnswerReader& readAnswer, bool echoAnswers) {
    const std::optional<ButtonSet> buttons = buttonsOf(type);
    if (!buttons) return 0;
    write(out, std::string("*** MESSAGE BOX [") + caption + "] (" + buttons->label + ") ***\n");
    write(out, text);
    if (!text.empty() && text.back() != '\n') write(out, "\n");
    write(out, "*** END MESSAGE BOX ***\n");
    int chosen = buttons->question == nullptr ? IDOK : 0;
    while (chosen == 0) {
        write(out, buttons->question);
        std::fflush(out);
        const std::optional<std::string> answer = readAnswer();
        if (!answer) {
            write(out, "*end of input*\n");
            chosen = buttons->onEndOfInput;
            break;
        }
        if (echoAnswers) write(out, *answer + "\n");
        chosen = buttonNamed(*answer, type);
    }
    std::fflush(out);
    return chosen;
}

std::optional<std::string> readStandardInputLine() {
    std::fflush(stdout);
    std::string line;
    bool readAny = false;
    while (true) {
        char c = 0;
        const ssize_t got = read(STDIN_FILENO, &c, 1);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        readAny = true;
        if (c == '\n') break;
        // An answer is a word; a runaway line is cut rather than held whole.
        if (line.size() < 4096) line += c;
    }
    if (!readAny) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

void setMessageBoxPresenter(MessageBoxPresenter presenter) {
    std::lock_guard lock(presenterGuard);
    currentPresenter() = std::move(presenter);
}

int MessageBoxA(HWND /*owner*/, LPCSTR text, LPCSTR caption, UINT type) {
    if (!buttonsOf(type)) return 0;
    MessageBoxPresenter presenter;
    {
        std::lock_guard lock(presenterGuard);
        presenter = currentPresenter();
    }
    const std::string shownText = text == nullptr ? "" : text;
    const std::string shownCaption = caption == nullptr ? kDefaultCaption : caption;
    return presenter ? presenter(shownText, shownCaption, type) : presentOnTerminal(shownText, shownCaption, type);
}

int MessageBoxW(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
    const std::string narrowText = text == nullptr ? std::string() : toUtf8(text);
    const std::string narrowCaption = caption == nullptr ? std::string() : toUtf8(caption);
    return MessageBoxA(owner, narrowText.c_str(), caption == nullptr ? nullptr : narrowCaption.c_str(), type);
}

}  // namespace tz::platform
