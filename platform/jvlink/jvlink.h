#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace meridax::jvlink {

// The data service's access component as the download program calls it: eight
// operations, each answering with a 32-bit signed result and never throwing.
class JVLink {
 public:
  virtual ~JVLink() = default;

  // 0 = ready.
  virtual std::int32_t JVInit(std::string_view softwareId) = 0;
  // Opens the component's settings dialog and returns when it closes; -1 = failure.
  virtual std::int32_t JVSetUIProperties() = 0;
  // Negative = failure. readCount: files to read (0 = nothing); downloadCount: files
  // still to download; lastFileTimestamp: yyyymmddhhmmss of the newest file.
  virtual std::int32_t JVOpen(std::string_view dataSpec, std::string_view fromTime,
                              std::int32_t option, std::int32_t& readCount,
                              std::int32_t& downloadCount, std::string& lastFileTimestamp) = 0;
  // Files downloaded so far; negative = the download failed.
  virtual std::int32_t JVStatus() = 0;
  // Stops the running download.
  virtual std::int32_t JVCancel() = 0;
  // Positive: the buffer holds exactly one record of that many bytes. kEndOfFile: one
  // file read to its end; 0: every record read; kDamagedFile: `fileName` is damaged.
  // Anything else is a failure. `fileName` names the file the result belongs to.
  virtual std::int32_t JVRead(std::string& buffer, std::int32_t& size, std::string& fileName) = 0;
  // Deletes a downloaded file from the local cache.
  virtual std::int32_t JVFiledelete(std::string_view fileName) = 0;
  // Ends the connection.
  virtual std::int32_t JVClose() = 0;
};

inline constexpr std::int32_t kOk = 0;
inline constexpr std::int32_t kEndOfFile = -1;
inline constexpr std::int32_t kSettingsFailed = -1;
inline constexpr std::int32_t kDamagedFile = -403;

// Failure codes of the folder binding.
inline constexpr std::int32_t kBadSoftwareId = -101;
inline constexpr std::int32_t kNotInitialized = -201;
inline constexpr std::int32_t kAlreadyOpen = -202;
inline constexpr std::int32_t kNotOpen = -203;
inline constexpr std::int32_t kCancelled = -204;
inline constexpr std::int32_t kBadFileName = -205;
inline constexpr std::int32_t kNoServiceFolder = -211;
inline constexpr std::int32_t kBufferTooSmall = -301;
inline constexpr std::int32_t kNoSuchFile = -302;
// A damaged file reached again after it was reported: it could not be deleted.
inline constexpr std::int32_t kStillDamaged = -404;
inline constexpr std::int32_t kReadFailed = -502;
inline constexpr std::int32_t kDownloadFailed = -503;
inline constexpr std::int32_t kDeleteFailed = -504;
inline constexpr std::int32_t kInternalError = -999;

}  // namespace meridax::jvlink
