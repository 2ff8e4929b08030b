#pragma once

#include <sys/types.h>

#include <filesystem>

namespace meridax::testing {

// For a child process that stands for another program under conditions the test cannot make
// otherwise; each holds for the rest of the process.

// Every call of the system call `number` fails with `error` (a filter of the kernel's).
void FailSystemCall(long number, int error);

// Runs on as an unprivileged user `uid` of the group `gid`, with no other groups.
void BecomeUser(uid_t uid, gid_t gid);

// Lets every user reach and write `folder` and everything below it (tests run as root: the
// drive is the root's own).
void OpenToEveryone(const std::filesystem::path& folder);

}  // namespace meridax::testing
