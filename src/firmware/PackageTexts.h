#pragma once
// Texts of signed packages, in the program's own language (the translation files map them as
// they map the string table). "%s" takes the English reason that names the file.

namespace tavlin::pkg {

// The firmware window's status line and the CLI's message for a package refused by its check.
inline constexpr const char* kPackageNotTrusted = "固件包校验失败: %s\n";
inline constexpr const char* kUnsignedRefused = "本工位只接受签名的固件包: %s\n";
// An unsigned package taken where signatures are not required.
inline constexpr const char* kUnsignedWarning = "警告: 固件包 %s 没有签名\n";
// Beside the package in the firmware window, and `package verify`'s report.
inline constexpr const char* kSignedBy = "签名密钥 %s: %s";
inline constexpr const char* kUnsigned = "未签名";
inline constexpr const char* kVerified = "固件包校验通过: 签名密钥 %s, 可信注释: %s\n";
inline constexpr const char* kManifestWritten = "已写入 %s\n";

// Every text above, for the translation completeness check.
inline constexpr const char* kAllTexts[] = {kPackageNotTrusted, kUnsignedRefused, kUnsignedWarning,
                                            kSignedBy,          kUnsigned,        kVerified,
                                            kManifestWritten};

}  // namespace tavlin::pkg
