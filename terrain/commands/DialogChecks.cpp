#include "DialogChecks.h"

#include <vector>

#include "FileSystem.h"
#include "arxHeaders.h"

using tz::terrain::RuleOutcome;

namespace {

std::optional<double> parseDistance(const std::wstring& text) {
    ads_real value = 0;
    if (acdbDisToF(text.c_str(), -1, &value) != RTNORM) return std::nullopt;
    return value;
}

bool canRead(const std::wstring& path) { return tz::platform::canRead(tz::platform::toUtf8(path)); }

void onFieldLeft(ads_callback_packet* packet) {
    if (packet->reason != CBR_LOST_FOCUS || packet->client_data == nullptr) return;
    auto* check = static_cast<FieldCheck*>(packet->client_data);
    const std::wstring text = tileText(packet->dialog, check->key.c_str(), tz::terrain::fieldReadLimit(check->rule));
    const RuleOutcome outcome = tz::terrain::checkField(check->rule, text, parseDistance, canRead, check->fileMessage);
    if (outcome.kind == RuleOutcome::Pass) {
        ads_set_tile(packet->dialog, _T("error"), _T(""));
    } else if (outcome.kind == RuleOutcome::Fail) {
        ads_set_tile(packet->dialog, check->key.c_str(), check->stored.c_str());
        ads_set_tile(packet->dialog, _T("error"), outcome.message.c_str());
    }
}

void onToggle(ads_callback_packet* packet) {
    if (packet->reason != CBR_SELECT || packet->client_data == nullptr) return;
    auto* toggle = static_cast<ToggleCheck*>(packet->client_data);
    const std::wstring value = tileText(packet->dialog, toggle->key.c_str(), 16);
    setDependents(packet->dialog, *toggle, value == L"1");
}

void closeCancelled(ads_callback_packet* packet) { ads_done_dialog(packet->dialog, DLGCANCEL); }

}  // namespace

SuiteDialog::SuiteDialog(const wchar_t* name) {
    if (ads_load_dialog(_T("dtm.dcl"), &dclId_) != RTNORM || dclId_ < 0) {
        dclId_ = -1;
        acedAlert(_T("Could not load the dialog file dtm.dcl.  Command terminates."));
        return;
    }
    if (ads_new_dialog(name, dclId_, NULLCB, &dialog_) != RTNORM || dialog_ == nullptr) {
        dialog_ = nullptr;
        acedAlert((L"Could not open the dialog " + std::wstring(name) + L".  Command terminates.").c_str());
        return;
    }
    ads_action_tile(dialog_, _T("cancel"), closeCancelled);
}

SuiteDialog::~SuiteDialog() {
    if (dclId_ >= 0) ads_unload_dialog(dclId_);
}

int SuiteDialog::run() {
    int status = DLGCANCEL;
    ads_start_dialog(dialog_, &status);
    return status;
}

std::wstring tileText(ads_hdlg dialog, const wchar_t* key, int maxLength) {
    std::vector<ACHAR> buffer(static_cast<size_t>(maxLength) + 1, 0);
    if (ads_get_tile(dialog, key, buffer.data(), maxLength) != RTNORM) return L"";
    return buffer.data();
}

bool errorShown(ads_hdlg dialog) { return !tileText(dialog, L"error", 512).empty(); }

void attachFieldCheck(ads_hdlg dialog, FieldCheck& check) {
    ads_client_data_tile(dialog, check.key.c_str(), &check);
    ads_action_tile(dialog, check.key.c_str(), onFieldLeft);
}

void attachToggle(ads_hdlg dialog, ToggleCheck& toggle) {
    ads_client_data_tile(dialog, toggle.key.c_str(), &toggle);
    ads_action_tile(dialog, toggle.key.c_str(), onToggle);
}

void setDependents(ads_hdlg dialog, const ToggleCheck& toggle, bool on) {
    for (const std::wstring& key : toggle.dependents) ads_mode_tile(dialog, key.c_str(), on ? MODE_ENABLE : MODE_DISABLE);
}
