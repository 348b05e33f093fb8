#include "volume/SurfaceFileName.h"

namespace tz::terrain::volume {

std::wstring tinFileName(const std::wstring& name) {
    const std::size_t nameStart = name.find_last_of(L"/\\");
    const std::size_t dot = name.find_last_of(L'.');
    const bool hasExtension = dot != std::wstring::npos && (nameStart == std::wstring::npos || dot > nameStart);
    return (hasExtension ? name.substr(0, dot) : name) + L".tin";
}

}  // namespace tz::terrain::volume
