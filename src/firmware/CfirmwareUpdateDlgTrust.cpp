// The firmware window's check of the chosen package: read once, checked, and the checked bytes
// handed to the update.
#include <QLabel>
#include <cstring>
#include <memory>

#include "base/FillText.h"
#include "base/StringTable.h"
#include "firmware/CfirmwareUpdateDlg.h"
#include "firmware/PackageTexts.h"

#ifdef TAVLIN_SIGNED_PACKAGES
#include "firmware/PackageTrust.h"
#include "platform/KeyFolder.h"
#endif

namespace tavlin {

void CfirmwareUpdateDlg::SetPackagePolicy(PackagePolicy policy) {
    policy_ = std::move(policy);
    CheckChosenPackage(false);
}

void CfirmwareUpdateDlg::CheckChosenPackage(bool tell) {
    const std::string path = state_.g_FwPackagePath;
    if (path.empty()) {
        signer_->clear();
        return;
    }
#ifdef TAVLIN_SIGNED_PACKAGES
    CheckedPackage checked;
    const char* statusText = nullptr;
    const Result result = CheckPackageTrust(
        path, TrustSettings{policy_.trustedKeys, TrustedKeyFolder(), policy_.requireSigned},
        &checked, &statusText);
    if (!result.ok()) {
        const std::string text = std::strstr(statusText, "%s") != nullptr
                                     ? FillText(Tr(statusText), {result.reason()})
                                     : Tr(statusText);
        signer_->setText(QString::fromStdString(text).trimmed());
        session_.RefusePackage(path, text);
        if (tell) {
            ShowStatus(text);
        }
        return;
    }
    const PackageTrust& trust = checked.package.trust;
    signer_->setText(QString::fromStdString(
        trust.isSigned ? FillText(Tr(pkg::kSignedBy), {trust.keyId, trust.comment})
                       : Tr(pkg::kUnsigned)));
    session_.UsePackage(std::make_shared<const LoadedPackage>(std::move(checked.package)));
#else
    // This build checks no signature; the update reads the package once, as checked packages are.
    (void)tell;
    signer_->setText(QString::fromStdString(Tr(pkg::kUnsigned)));
#endif
}

}  // namespace tavlin
