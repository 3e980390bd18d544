#pragma once
#include <string>
#include <string_view>

namespace tavlin {

// Windows saves a text file without a byte-order mark in its "ANSI" code page (Notepad's "ANSI",
// its default until 2019), and its profile functions read such a file back in that code page.
// Code pages go by their Windows numbers.
inline constexpr unsigned kCodePageWestern = 1252;   // Windows-1252
inline constexpr unsigned kCodePageCyrillic = 1251;  // Windows-1251
inline constexpr unsigned kCodePageChinese = 936;    // GBK; read as GB18030 on Linux

// The code page of files without a mark that are not UTF-8. On Windows that is the system's ANSI
// code page. Linux has no such thing: the front ends set the code page of the user's language
// when they choose the language, and until then it is 1252. Setting 0 goes back to that choice
// of the platform's. Reading and setting are safe from any thread.
unsigned LegacyCodePage();
void SetLegacyCodePage(unsigned codePage);

// Text in a code page as UTF-8 (MultiByteToWideChar on Windows, glibc's iconv on Linux). On
// Linux each byte that starts no character of the code page becomes U+FFFD, and so does a
// character cut off by the end; on Windows the system replaces them its own way.
std::string CodePageToUtf8(std::string_view bytes, unsigned codePage);

}  // namespace tavlin
