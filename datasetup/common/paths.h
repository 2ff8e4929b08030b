#pragma once

#include <filesystem>
#include <string_view>

namespace meridax {

// Every file of the system lies in this folder or one of its sub-folders.
inline constexpr std::string_view kDataFolder = "C:\\MERIDAXPROJECT\\";

// Host path of a file or folder of the data folder, named as the system names it
// ("OPTION1N\\KYOSOBA.dat"; doubled separators read as one).
std::filesystem::path DataPath(std::string_view relative = {});

}  // namespace meridax
