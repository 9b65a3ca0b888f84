#pragma once

#include "UComRegistry.h"
#include "USignerEnvironment.h"

#include <memory>

// Registers the stand-in XML plug-in, XAdES signer and tools component under
// the signer's class identifiers for the lifetime of this object; the
// program creates one at start-up, before the first submission.
class TSignerComponents {
public:
    explicit TSignerComponents(std::shared_ptr<ISignerEnvironment> environment);

private:
    TComClassRegistration XmlPlugin;
    TComClassRegistration XadesSigner;
    TComClassRegistration Tools;
};
