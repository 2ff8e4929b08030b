#include "tests/datafetch/fake_jvlink.h"

#include <algorithm>

namespace meridax::testing {

FakeJVLink::Read FakeJVLink::Record(std::string bytes, std::string file) {
  const auto rc = static_cast<std::int32_t>(bytes.size());
  return {rc, std::move(bytes), std::move(file)};
}

std::int32_t FakeJVLink::JVInit(std::string_view softwareId) {
  log_.push_back("JVInit(" + std::string(softwareId) + ")");
  return initResult;
}

std::int32_t FakeJVLink::JVSetUIProperties() {
  log_.push_back("JVSetUIProperties");
  return uiResult;
}

std::int32_t FakeJVLink::JVOpen(std::string_view dataSpec, std::string_view fromTime,
                                std::int32_t option, std::int32_t& readCount,
                                std::int32_t& downloadCount, std::string& lastFileTimestamp) {
  log_.push_back("JVOpen(" + std::string(dataSpec) + "," + std::string(fromTime) + "," +
                 std::to_string(option) + ")");
  const Open& open = opens[std::min(opened_++, opens.size() - 1)];
  readCount = open.readCount;
  downloadCount = open.downloadCount;
  lastFileTimestamp = "20240102030405";
  return open.rc;
}

std::int32_t FakeJVLink::JVStatus() {
  log_.push_back("JVStatus");
  return statuses[std::min(polled_++, statuses.size() - 1)];
}

std::int32_t FakeJVLink::JVCancel() {
  log_.push_back("JVCancel");
  return 0;
}

std::int32_t FakeJVLink::JVRead(std::string& buffer, std::int32_t& size, std::string& fileName) {
  log_.push_back("JVRead(" + std::to_string(size) + ")");
  if (read_ >= reads.size()) return 0;
  const Read& read = reads[read_++];
  if (read.rc > 0) buffer = read.bytes;
  fileName = read.fileName;
  return read.rc;
}

std::int32_t FakeJVLink::JVFiledelete(std::string_view fileName) {
  log_.push_back("JVFiledelete(" + std::string(fileName) + ")");
  return 0;
}

std::int32_t FakeJVLink::JVClose() {
  log_.push_back("JVClose");
  return 0;
}

std::vector<std::string> FakeJVLink::Calls() const {
  std::vector<std::string> calls;
  for (const auto& call : log_) {
    if (!call.starts_with("JVRead") && call != "JVStatus") calls.push_back(call);
  }
  return calls;
}

}  // namespace meridax::testing
