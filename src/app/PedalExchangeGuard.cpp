#include "app/PedalExchangeGuard.h"

#include "app/ControlStateTable.h"
#include "app/EditorContext.h"
#include "app/TformMain.h"

PedalExchangeGuard::PedalExchangeGuard(EditorContext& context)
    : states_(context.formMain ? &context.formMain->controlStates() : nullptr) {
    if (states_) states_->beginExchange();
}

PedalExchangeGuard::~PedalExchangeGuard() {
    if (states_) states_->endExchange();
}
