#pragma once
// What both front ends say of a name that is there but is no regular file (a FIFO, a device, a
// folder): such a name is refused rather than opened, since opening a FIFO waits for its other
// end. The translation files map them like the string table.

namespace tavlin::filetext {

// The log's file; %s: its path.
inline constexpr const char* kLogNotAFile = "日志文件 %s 不是普通文件";
// A file a command reads or writes (a picture, a script, a burst file, ...); %s: its path.
inline constexpr const char* kNotAFile = "%s 不是普通文件";

// Every text above, for the translation completeness check.
inline constexpr const char* kAllTexts[] = {kLogNotAFile, kNotAFile};

}  // namespace tavlin::filetext
