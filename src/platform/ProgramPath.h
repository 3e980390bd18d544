#pragma once
#include <string>

namespace tavlin {

// The path of the running program's executable, UTF-8: to start another copy of it, and to find
// the files installed beside it. Empty when the system does not tell. Asked of the system, not
// taken from argv[0], which may be a bare name found through PATH. (On Windows the module's file
// name: under Wine /proc/self/exe exists too, but names Wine's own loader.)
std::string CurrentProgramPath();

}  // namespace tavlin
