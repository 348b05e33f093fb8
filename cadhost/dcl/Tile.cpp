#include "dcl/Tile.h"

namespace tz::cad::dcl {

std::optional<TileKind> builtInKind(const std::wstring& type) {
    static const std::map<std::wstring, TileKind> kinds = {
        {L"dialog", TileKind::Dialog},
        {L"row", TileKind::Cluster},
        {L"column", TileKind::Cluster},
        {L"boxed_row", TileKind::Cluster},
        {L"boxed_column", TileKind::Cluster},
        {L"concatenation", TileKind::Cluster},
        {L"paragraph", TileKind::Cluster},
        {L"radio_row", TileKind::RadioCluster},
        {L"radio_column", TileKind::RadioCluster},
        {L"boxed_radio_row", TileKind::RadioCluster},
        {L"boxed_radio_column", TileKind::RadioCluster},
        {L"button", TileKind::Button},
        {L"edit_box", TileKind::EditBox},
        {L"toggle", TileKind::Toggle},
        {L"radio_button", TileKind::RadioButton},
        {L"text", TileKind::Text},
        {L"text_part", TileKind::Text},
        {L"spacer", TileKind::Spacer},
        {L"list_box", TileKind::ListBox},
        {L"popup_list", TileKind::PopupList},
        {L"slider", TileKind::Slider},
        {L"image", TileKind::Image},
        {L"image_button", TileKind::ImageButton},
        {L"default_dcl_settings", TileKind::Settings},
    };
    const auto found = kinds.find(type);
    if (found == kinds.end()) return std::nullopt;
    return found->second;
}

bool holdsChildren(TileKind kind) {
    return kind == TileKind::Dialog || kind == TileKind::Cluster || kind == TileKind::RadioCluster;
}

std::wstring Tile::text(const std::wstring& name, const std::wstring& fallback) const {
    const auto found = attributes.find(name);
    return found == attributes.end() ? fallback : found->second.text;
}

bool Tile::isTrue(const std::wstring& name) const {
    const auto found = attributes.find(name);
    return found != attributes.end() && found->second.text == L"true";
}

}  // namespace tz::cad::dcl
