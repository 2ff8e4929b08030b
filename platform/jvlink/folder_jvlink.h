#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "platform/jvlink/jvlink.h"
#include "platform/jvlink/settings.h"

namespace meridax::jvlink {

// The settings dialog: given the current service folder, returns the folder chosen, or
// nothing when the operator leaves it unchanged.
using SettingsDialog = std::function<std::optional<std::string>(const std::string& current)>;

struct FolderJVLinkOptions {
  // Drive-C: path, resolved at each use so that the drive can be mapped later.
  std::string settingsFile{kSettingsFile};
  // Pause before each background download, so that a progress window can be seen.
  std::chrono::milliseconds perFileDelay{80};
  // Without a dialog the settings cannot be changed and JVSetUIProperties fails.
  SettingsDialog dialog;
  // The component's own message box, for what a failure's code alone does not tell the
  // operator: which folder and settings file, another download under way. Without it the
  // component says nothing.
  std::function<void(std::string_view text)> notice;
};

// The component over a local folder standing for the service (the service folder of the
// settings). Data files standing directly in it are downloaded already (the local cache);
// those in its sub-folder "pending" are still to download, and a background download
// moves them up one by one. A data file is any regular file but a marker: "X.damaged"
// beside a cached file X marks X as damaged. Every data file is served, in byte order of
// names, its records (each up to and including CR LF) in file order.
//
// A damaged file is reported (-403) before any of its records; JVFiledelete removes it
// and its marker from the cache, so that the good copy "pending\X" is served instead.
// A re-open after JVFiledelete serves only the files not yet read to their end, so that
// the reader gets every record once and in order; also when the damaged file could not
// be removed, which is then reported -404 rather than served again from the start.
//
// One connection at a time serves a service folder: JVOpen holds it (a lock on the folder
// itself) until JVClose, and across the re-open that follows JVFiledelete; another
// connection's JVOpen meanwhile fails with -202.
class FolderJVLink : public JVLink {
 public:
  explicit FolderJVLink(FolderJVLinkOptions options = {});
  ~FolderJVLink() override;
  FolderJVLink(const FolderJVLink&) = delete;
  FolderJVLink& operator=(const FolderJVLink&) = delete;

  std::int32_t JVInit(std::string_view softwareId) override;
  std::int32_t JVSetUIProperties() override;
  std::int32_t JVOpen(std::string_view dataSpec, std::string_view fromTime, std::int32_t option,
                      std::int32_t& readCount, std::int32_t& downloadCount,
                      std::string& lastFileTimestamp) override;
  std::int32_t JVStatus() override;
  std::int32_t JVCancel() override;
  std::int32_t JVRead(std::string& buffer, std::int32_t& size, std::string& fileName) override;
  std::int32_t JVFiledelete(std::string_view fileName) override;
  std::int32_t JVClose() override;

 private:
  struct Session;

  std::int32_t Open(std::string_view fromTime, std::int32_t& readCount, std::int32_t& downloadCount,
                    std::string& lastFileTimestamp);
  std::int32_t Read(std::string& buffer, std::int32_t size, std::string& fileName);
  std::int32_t Delete(std::string_view fileName);
  std::filesystem::path CacheFolder() const;
  // Returns `code` after the notice has said `text`.
  std::int32_t Failure(std::int32_t code, const std::string& text) const;
  std::int32_t HoldServiceFolder(const std::filesystem::path& folder, std::string_view setting);
  void ReleaseServiceFolder();

  FolderJVLinkOptions options_;
  bool initialized_ = false;
  std::unique_ptr<Session> session_;
  // Kept across the re-open that follows JVFiledelete, cleared by any other open.
  std::set<std::string> completed_;
  std::set<std::string> reportedDamaged_;
  bool resumeNextOpen_ = false;
  // The service folder held, open while held.
  int heldFd_ = -1;
  std::filesystem::path held_;
};

}  // namespace meridax::jvlink
