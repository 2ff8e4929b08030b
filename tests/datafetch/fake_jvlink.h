#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/jvlink/jvlink.h"

namespace meridax::testing {

// A scriptable component: each call answers from its script and is logged.
class FakeJVLink : public jvlink::JVLink {
 public:
  struct Open {
    std::int32_t rc = 0;
    std::int32_t readCount = 1;
    std::int32_t downloadCount = 0;
  };
  struct Read {
    std::int32_t rc;
    std::string bytes;  // put in the buffer when rc > 0
    std::string fileName;
  };
  // A record read from `file`.
  static Read Record(std::string bytes, std::string file = "F1");
  static Read Result(std::int32_t rc, std::string file = "F1") { return {rc, {}, std::move(file)}; }

  std::int32_t initResult = 0;
  std::int32_t uiResult = 0;
  std::vector<Open> opens{Open{}};        // one a JVOpen, the last repeats
  std::vector<std::int32_t> statuses{0};  // one a JVStatus, the last repeats
  std::vector<Read> reads;                // one a JVRead, then 0

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

  // Forgets the scripts, the log and how far they went.
  void Restart() { *this = FakeJVLink{}; }

  // Every call in order ("JVOpen(TOKU...,20240101000000,3)", "JVRead(120000)", ...).
  const std::vector<std::string>& log() const { return log_; }
  // The calls but the polling ones (JVRead, JVStatus).
  std::vector<std::string> Calls() const;

 private:
  std::vector<std::string> log_;
  std::size_t opened_ = 0;
  std::size_t polled_ = 0;
  std::size_t read_ = 0;
};

}  // namespace meridax::testing
