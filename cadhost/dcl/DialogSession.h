// Dialogs in a session: a started dialog is shown on the transcript and then
// worked from dialog lines read from the console, until an action closes it.
//
// The transcript of a dialog:
//
//   *** DIALOG contours: Contour Lines ***
//     start         edit_box      "12.30"
//     interval      edit_box      "1"
//     dcw           edit_box      "0"  (disabled)
//     rounding      radio_row     "NoRounding"
//     NoRounding    radio_button  "1"
//     SomeRounding  radio_button  "0"
//     error         text          ""
//     accept        button        "OK"
//     cancel        button        "Cancel"
//   contours> interval=abc
//   error: "Value must be a positive number."
//   contours> !accept
//   *** END DIALOG contours: status 1 ***
//
// - The block lists every tile that has a key, in the order of the dialog
//   file: key, type, value, and "(disabled)" when the tile or a cluster holding
//   it is disabled. A button shows its label, a radio cluster the key of its
//   chosen button. After "DIALOG" come the dialog's name and its title.
// - Values are quoted with the escapes \\ \" \n \t \r (and \xHH; for other
//   control characters), so every value reads back exactly.
// - Each dialog line is echoed after the prompt "NAME> ".
// - Every change of the "error" tile while the dialog runs is printed as
//   `error: "TEXT"` (an empty text when it is cleared); setting it to the text
//   it already holds changes nothing and prints nothing.
// - Lines the dialog cannot take are reported in parentheses and ignored,
//   e.g. `(tile "mine" is disabled; line ignored)`.
// - The dialog ends with "*** END DIALOG NAME: status N ***", N being the
//   status given to ads_done_dialog (-1 when ads_term_dialog closed it).
//
// Dialog lines:
//   key=value   types the value into the tile and leaves it: the tile takes the
//               value (everything after the first "=", exactly), then its action
//               runs with reason 2 for an edit box, 1 for a toggle (0 or 1), a
//               radio button (1 chooses it), a radio cluster (the key of the
//               button to choose), a list or a slider. An edit box takes at
//               most its edit_limit characters; the rest is cut and reported.
//   !key        clicks the tile: a button's action runs with reason 1 ("accept"
//               and "cancel" without an action close the dialog with 1 and 0);
//               a toggle flips; a radio button is chosen.
//   (empty)     Enter: clicks the default button (is_default, else "accept").
//   *cancel*    Escape: clicks the cancel button (is_cancel, else "cancel"),
//               or closes the dialog with 0 when it has none.
//   ?           shows the dialog's block again, with the current values.
// A key the dialog lacks, a disabled tile, or a value the tile cannot take is
// reported and ignored. Input that ends inside a dialog closes it with 0
// without running any action.
#pragma once

#include <string>

#include "dcl/Dialog.h"

namespace tz::cad::dcl {

// Shows `dialog` and works it from dialog lines until it is closed; returns
// the status it was closed with.
int runDialogSession(Dialog& dialog);

// The dialog's block as shown when it starts (without the END line).
std::wstring describeDialog(const Dialog& dialog);

// `text` in double quotes with the transcript's escapes.
std::wstring quoteForTranscript(const std::wstring& text);

// Handles one dialog line (as read, without its line end).
void handleDialogLine(Dialog& dialog, const std::wstring& line);

}  // namespace tz::cad::dcl
