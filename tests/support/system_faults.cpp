#include "tests/support/system_faults.h"

#include <grp.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <stdexcept>

namespace meridax::testing {

void FailSystemCall(long number, int error) {
  sock_filter program[] = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<__u32>(number), 0, 1),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (static_cast<__u32>(error) & SECCOMP_RET_DATA)),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
  };
  sock_fprog filter{static_cast<unsigned short>(sizeof program / sizeof program[0]), program};
  if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
      ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &filter) != 0) {
    throw std::runtime_error("cannot filter system calls");
  }
}

void BecomeUser(uid_t uid, gid_t gid) {
  if (::setgroups(0, nullptr) != 0 || ::setresgid(gid, gid, gid) != 0 ||
      ::setresuid(uid, uid, uid) != 0) {
    throw std::runtime_error("cannot become another user");
  }
}

void OpenToEveryone(const std::filesystem::path& folder) {
  ::chmod(folder.c_str(), 0777);
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    ::chmod(entry.path().c_str(), entry.is_directory() ? 0777 : 0666);
  }
}

}  // namespace meridax::testing
