// Running commands: what the session's command line, the host's command
// function (acedCommand) and LISP's `command` share.
#pragma once

#include <string>
#include <vector>

namespace tz::cad {

// Runs one command typed at the command line: a plug-in command, a LISP
// C:NAME function, or a host command; `rest` is the rest of the typed line.
// Returns false when no command of that name exists (after saying so).
bool runTypedCommand(const std::wstring& name, const std::wstring& rest);

// Runs commands from a token list as the command function does: the first
// token names a command, the following ones answer its prompts; tokens left
// when it ends start the next command. RTNORM or RTERROR.
int runCommandTokens(const std::vector<std::wstring>& tokens);

// Set by QUIT: the session ends after the current line.
bool quitRequested();
void requestQuit();

}  // namespace tz::cad
