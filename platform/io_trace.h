#pragma once

#include <filesystem>

namespace meridax {

// When $MERIDAX_IO_TRACE names a file, every file a process reads data from is listed in
// it, once per path. The benchmark prices a step against copying the files it touched;
// without the variable this costs one branch.
void NoteFileRead(const std::filesystem::path& path);

}  // namespace meridax
