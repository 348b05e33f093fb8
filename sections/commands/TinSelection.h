// Choosing the TIN file that the section commands look elevations up in,
// and loading it into a triangle table.
#pragma once

#include <optional>
#include <string>

#include "tin/TinTable.h"

// Shows the TIN file dialog ("Select a TIN file", extension "tin"); none
// when it is cancelled, which ends the calling command without a message.
std::optional<std::wstring> selectTinFile();

// Loads every complete triangle of the file. None, after
// "\nCan't open point file. Command Terminates.", when it cannot be opened.
std::optional<tz::sections::TinTable> loadTinTable(const std::wstring& path);
