// The one check procedure of the terrain modeller's dialogs: attached to a
// field, it checks the field as the user leaves it, puts back the stored value
// and shows the rule's message in "error" when the entry is refused.
#pragma once

#include <string>
#include <vector>

#include "adsdlg.h"
#include "dialog/FieldRules.h"

// One dialog of the suite's dialog file "dtm.dcl": loaded and opened when
// made (an alert says so when that fails), its definition unloaded when it
// goes. Its "cancel" button closes it with status 0 unless given another action.
class SuiteDialog {
public:
    explicit SuiteDialog(const wchar_t* name);
    ~SuiteDialog();
    SuiteDialog(const SuiteDialog&) = delete;
    SuiteDialog& operator=(const SuiteDialog&) = delete;

    bool isOpen() const { return dialog_ != nullptr; }
    ads_hdlg handle() const { return dialog_; }

    // Shows the dialog until it closes; the status it was closed with.
    int run();

private:
    int dclId_ = -1;
    ads_hdlg dialog_ = nullptr;
};

// A checked field. It must outlive the dialog it is attached to.
struct FieldCheck {
    std::wstring key;
    tz::terrain::FieldRule rule;
    std::wstring stored;       // the value the field showed when the dialog opened
    std::wstring fileMessage;  // for the file-exists rule
};

// A toggle and the tiles it enables when on. It must outlive the dialog.
struct ToggleCheck {
    std::wstring key;
    std::vector<std::wstring> dependents;
};

void attachFieldCheck(ads_hdlg dialog, FieldCheck& check);
void attachToggle(ads_hdlg dialog, ToggleCheck& toggle);

// Enables the toggle's dependents when `on`, disables them otherwise.
void setDependents(ads_hdlg dialog, const ToggleCheck& toggle, bool on);

// The text of a tile, at most maxLength - 1 characters.
std::wstring tileText(ads_hdlg dialog, const wchar_t* key, int maxLength);

// Whether "error" shows a message (accepting is refused while it does).
bool errorShown(ads_hdlg dialog);
