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

}  // namespace

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
