#pragma once

#include <QWidget>
#include <optional>
#include <string>

#include "platform/jvlink/folder_jvlink.h"

namespace meridax::jvlink {

// The component's settings dialog: the service folder, typed as a drive-C: path or
// chosen from the host's folders. Returns the folder on OK, nothing on cancel.
std::optional<std::string> ShowSettingsDialog(QWidget* parent, const std::string& current);

// The dialog as the folder binding calls it.
SettingsDialog QtSettingsDialog(QWidget* parent);

// A host folder as the setting names it: a drive-C: path when it lies on the mapped
// drive, else the host path.
std::string FolderSetting(const std::filesystem::path& hostFolder);

}  // namespace meridax::jvlink
