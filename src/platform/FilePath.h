#pragma once
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace tavlin {

// File names travel as UTF-8 inside the program (from Qt's file dialogs, the command line,
// package files). On Windows a narrow name given to the C runtime or to std::filesystem is read
// in the ANSI code page, which cannot name a folder like "固件" on most systems; these take the
// UTF-8 name to the wide file API there. On Linux they are the plain calls.
std::filesystem::path PathFromUtf8(const std::string& utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

// fopen of a UTF-8 name.
std::FILE* OpenFile(const std::string& utf8, const char* mode);

// Why a file operation failed, in UTF-8. On Windows the C++ library words a system error in the
// ANSI code page; this asks Windows for the wide text instead.
std::string ErrorText(const std::error_code& error);

}  // namespace tavlin
