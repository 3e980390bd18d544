#pragma once
// The texts of `level --png`: the pictures written as files. The translation files map them like
// the string table.

namespace tavlin::cli::picture {

// `--png` in a build that has no PNG writer (a Windows build without libpng and without Qt).
inline constexpr const char* kNoPictures = "此版本的 tavlin-cli 不能保存图片（--png）";
// The file, then why it could not be written.
inline constexpr const char* kNotWritten = "无法写入 %s：%s";

// Every text above, for the translation completeness check.
inline constexpr const char* kAllTexts[] = {kNoPictures, kNotWritten};

}  // namespace tavlin::cli::picture
