// Message boxes, shaped like the Windows call. On this platform a box is a
// marked block on standard output holding its caption, its buttons and its
// exact text:
//
//   *** MESSAGE BOX [Error] (OK) ***
//   Could not open key
//   *** END MESSAGE BOX ***
//
// A box with a choice then asks "Yes/No? " (or the like) and reads one line
// from standard input: y or yes, n or no (any letter case; c or cancel, o or ok
// where the box has those buttons). Other lines ask again; the end of input
// answers No (Cancel where the box has a Cancel button). An OK box reads nothing.
#pragma once

#include <cstdio>
#include <functional>
#include <optional>
#include <string>

#include "WindowsTypes.h"

namespace tz::platform {

// Button sets and results, with their Windows values. Icon and modality flags
// are accepted and have no effect here.
constexpr UINT MB_OK = 0x0;
constexpr UINT MB_OKCANCEL = 0x1;
constexpr UINT MB_YESNOCANCEL = 0x3;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_TYPEMASK = 0xF;
constexpr UINT MB_ICONERROR = 0x10;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONWARNING = 0x30;
constexpr UINT MB_ICONINFORMATION = 0x40;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// The caption Windows shows when none is given.
inline constexpr const char* kDefaultCaption = "Error";

// Shows a box and returns the button chosen; 0 (as on Windows, a failure) for
// a button set other than OK, OK/Cancel, Yes/No and Yes/No/Cancel. `owner` is
// ignored; a null `caption` gives "Error", a null `text` an empty box.
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
// The same for host (wide) strings; they are shown as UTF-8.
int MessageBoxW(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);

// Who shows message boxes. A program with a console of its own (the headless
// host) installs its presenter so that boxes join its transcript and read their
// answers from its input; an empty function restores the terminal.
using MessageBoxPresenter = std::function<int(const std::string& text, const std::string& caption, UINT type)>;
void setMessageBoxPresenter(MessageBoxPresenter presenter);

// The next answer line without its line end, or nullopt at the end of input.
using AnswerReader = std::function<std::optional<std::string>()>;

// The terminal presentation on explicit streams: writes the block to `out`,
// reads answers with `readAnswer` and, when `echoAnswers`, writes each answer
// after the question (so that a transcript shows piped answers).
int presentMessageBox(const std::string& text, const std::string& caption, UINT type, std::FILE* out,
                      const AnswerReader& readAnswer, bool echoAnswers);

// One line of standard input, read byte by byte so that nothing beyond the
// line is taken from input that a started program may read next.
std::optional<std::string> readStandardInputLine();

}  // namespace tz::platform
