#include "USignerHost.h"

// The vendor's components are installed and registered with the system;
// they ask for the key themselves, so there is nothing to register here.
struct TSignerHost::TImpl {};

TSignerHost::TSignerHost(std::shared_ptr<ISignerPasswordPrompt>) {}

TSignerHost::~TSignerHost() = default;
