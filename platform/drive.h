#pragma once

#include <filesystem>
#include <string_view>

namespace meridax {

// The system keeps its constant Windows paths ("C:\MERIDAXPROJECT\RA20190101.dat").
// Drive C: is a host folder: the one set here, else $MERIDAX_DRIVE_C, else $HOME/drive_c.
// Setting an empty root goes back to the environment.
void SetDriveRoot(const std::filesystem::path& root);
std::filesystem::path DriveRoot();

// Maps a drive-C: path to the host. Separators may be doubled ("C:\X\\Y" names C:\X\Y);
// names keep their case and bytes. Throws std::invalid_argument for another drive.
std::filesystem::path HostPath(std::string_view windowsPath);

}  // namespace meridax
