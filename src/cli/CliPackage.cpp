#include "cli/CliPackage.h"

#include <cstring>

#include "base/FillText.h"
#include "base/StringTable.h"
#include "cli/CliSession.h"
#include "firmware/PackageTexts.h"
#include "platform/KeyFolder.h"

#ifdef TAVLIN_SIGNED_PACKAGES
#include "firmware/PackageTrust.h"
#endif

namespace tavlin::cli {
namespace {

// The window's text for the refusal, with the reason where the text has room for it, and the
// reason after it where it has not.
void TellRefusal(CliOutput& output, const char* statusText, const Result& refused) {
    const char* text = statusText != nullptr ? statusText : pkg::kPackageNotTrusted;
    if (std::strstr(text, "%s") != nullptr) {
        output.Line("tavlin-cli: " + FillText(Tr(text), {refused.reason()}));
        return;
    }
    output.Line(Tr(text));
    output.Line("tavlin-cli: " + refused.reason());
}

#ifdef TAVLIN_SIGNED_PACKAGES
TrustSettings SettingsFor(const Invocation& invocation) {
    return TrustSettings{invocation.trustedKeys, TrustedKeyFolder(), invocation.requireSigned};
}

void Report(const CheckedPackage& checked, RunReport* report) {
    const PackageTrust& trust = checked.package.trust;
    report->trust = RunReport::Trust{trust.isSigned, trust.keyId, trust.comment};
    report->packageFiles.clear();
    for (const CheckedFile& file : checked.files) {
        report->packageFiles.push_back({file.path, file.sha256, file.size});
    }
}
#endif

}  // namespace

Result CheckUpdatePackage(const Invocation& invocation, CliOutput& output, RunReport* report,
                          std::shared_ptr<const LoadedPackage>* package) {
    const char* statusText = nullptr;
#ifdef TAVLIN_SIGNED_PACKAGES
    CheckedPackage checked;
    if (Result result =
            CheckPackageTrust(invocation.file, SettingsFor(invocation), &checked, &statusText);
        !result.ok()) {
        TellRefusal(output, statusText, result);
        return result;
    }
    Report(checked, report);
    *package = std::make_shared<const LoadedPackage>(std::move(checked.package));
    if (!report->trust->isSigned) {
        output.LineTo(stderr, FillText(Tr(pkg::kUnsignedWarning), {invocation.file}));
    }
    return Result::Ok();
#else
    // This build cannot check a signature: where one is required, nothing is taken.
    if (invocation.requireSigned) {
        const Result refused =
            Result::Fail(ResultCode::BadInput, "this build cannot check package signatures");
        TellRefusal(output, pkg::kUnsignedRefused, refused);
        return refused;
    }
    auto loaded = std::make_shared<LoadedPackage>();
    if (Result result = LoadPackage(invocation.file, loaded.get(), &statusText); !result.ok()) {
        TellRefusal(output, statusText, result);
        return result;
    }
    report->trust = RunReport::Trust{};
    output.LineTo(stderr, FillText(Tr(pkg::kUnsignedWarning), {invocation.file}));
    *package = std::move(loaded);
    return Result::Ok();
#endif
}

int RunPackage(const Invocation& invocation, CliOutput& output, RunReport* report) {
#ifdef TAVLIN_SIGNED_PACKAGES
    if (invocation.command == Command::PackageManifest) {
        std::string written;
        report->result = WritePackageManifest(invocation.file, &written);
        if (!report->result.ok()) {
            output.LineTo(stderr, "tavlin-cli: " + report->result.reason());
            report->messages = output.messages();
            return kExitFailed;
        }
        output.Line(FillText(Tr(pkg::kManifestWritten), {written}));
        report->messages = output.messages();
        return kExitSuccess;
    }
    // A package checked here is one about to be shipped: without a signature there is nothing
    // to vouch for it.
    Invocation signedOnly = invocation;
    signedOnly.requireSigned = true;
    std::shared_ptr<const LoadedPackage> package;
    report->result = CheckUpdatePackage(signedOnly, output, report, &package);
    if (report->result.ok() && report->trust->isSigned) {
        output.Line(FillText(Tr(pkg::kVerified), {report->trust->keyId, report->trust->comment}));
    }
    report->messages = output.messages();
    return report->result.ok() ? kExitSuccess : kExitFailed;
#else
    (void)invocation;
    report->result = Result::Fail(ResultCode::Failed, "this build cannot check package signatures");
    output.LineTo(stderr, "tavlin-cli: " + report->result.reason());
    report->messages = output.messages();
    return kExitFailed;
#endif
}

}  // namespace tavlin::cli
