#include "platform/drive.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace meridax {
namespace {

TEST(DriveTest, MapsWindowsPathsUnderTheRoot) {
  SetDriveRoot("/tmp/drv");
  struct Case {
    const char* windows;
    const char* host;
  } cases[] = {
      {"C:\\MERIDAXPROJECT\\RA20190101.dat", "/tmp/drv/MERIDAXPROJECT/RA20190101.dat"},
      {"C:\\MERIDAXPROJECT\\\\KISHUGOTOSETUP\\00123.dat",
       "/tmp/drv/MERIDAXPROJECT/KISHUGOTOSETUP/00123.dat"},
      {"c:\\MeridaxProject\\x.dat", "/tmp/drv/MeridaxProject/x.dat"},
      {"C:\\JVDATA\\", "/tmp/drv/JVDATA"},
      {"C:", "/tmp/drv"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(HostPath(c.windows), std::filesystem::path(c.host)) << c.windows;
}

TEST(DriveTest, RejectsOtherDrives) {
  EXPECT_THROW(HostPath("D:\\X"), std::invalid_argument);
  EXPECT_THROW(HostPath("relative\\x"), std::invalid_argument);
}

TEST(DriveTest, RootComesFromTheSettingThenTheEnvironmentThenHome) {
  SetDriveRoot("");
  ::setenv("MERIDAX_DRIVE_C", "/from-env", 1);
  EXPECT_EQ(DriveRoot(), std::filesystem::path("/from-env"));
  ::unsetenv("MERIDAX_DRIVE_C");
  ::setenv("HOME", "/home/op", 1);
  EXPECT_EQ(DriveRoot(), std::filesystem::path("/home/op/drive_c"));
  SetDriveRoot("/explicit");
  EXPECT_EQ(DriveRoot(), std::filesystem::path("/explicit"));
}

}  // namespace
}  // namespace meridax
