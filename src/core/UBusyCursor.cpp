#include "UBusyCursor.h"

namespace {
IBusyIndicator* CurrentIndicator = nullptr;
} // namespace

void SetBusyIndicator(IBusyIndicator* indicator) noexcept {
    CurrentIndicator = indicator;
}

// The indicator is captured at construction so a guard always ends what it
// began, even if another indicator is installed meanwhile.
TBusyCursor::TBusyCursor()
    : Indicator(CurrentIndicator) {
    if (Indicator)
        Indicator->Begin();
}

TBusyCursor::~TBusyCursor() {
    if (Indicator)
        Indicator->End();
}
