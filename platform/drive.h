#pragma once

#include <filesystem>
#include <optional>
#include <string>
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

// A path named as the system names it below a folder ("OPTION1N\\KYOSOBA.dat" below the
// data folder), mapped below the host folder `base` in the same way.
std::filesystem::path PathBelow(const std::filesystem::path& base, std::string_view relative);

// A host path on drive C: as the system names it ("C:\\MERIDAXPROJECT\\", a folder with its
// closing separator); nothing for a path off the drive.
std::optional<std::string> WindowsPath(const std::filesystem::path& host, bool folder);

// Every file of the system lies in this folder or one of its sub-folders; both programs
// share it.
inline constexpr std::string_view kDataFolder = "C:\\MERIDAXPROJECT\\";

// Host path of a file or folder of the data folder, named as the system names it
// ("OPTION1N\\KYOSOBA.dat"; doubled separators read as one).
std::filesystem::path DataPath(std::string_view relative = {});

// The data generation a file name carries. The system writes only the current one; the
// run-history window also reads tables of the earlier one, prepared outside the system.
inline constexpr std::string_view kCurrentGeneration = "20190101";
inline constexpr std::string_view kEarlierGeneration = "20180101";

// "RA20190101.dat": the raw record file of a record kind, as the download writes it.
std::string RawRecordFileName(std::string_view kind,
                              std::string_view generation = kCurrentGeneration);

}  // namespace meridax
