#pragma once
#include <string>
#include <vector>

namespace tavlin {

// What a station's command line says about package signatures (--trusted-key, --require-signed);
// the key folder and its policy file come on top (PackageTrust.h).
struct PackagePolicy {
    std::vector<std::string> trustedKeys;
    bool requireSigned = false;
};

}  // namespace tavlin
