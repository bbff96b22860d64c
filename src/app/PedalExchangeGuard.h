#pragma once

class ControlStateTable;
struct EditorContext;

// Held while an exchange with the pedal waits for its answer: the control states'
// "exchange in progress". The waits let the window process clicks, so nothing that
// would start another exchange is enabled meanwhile; afterwards the controls get back
// exactly the state they had, or the one a state entered meanwhile gave them. A guard
// taken while another is held changes nothing.
class PedalExchangeGuard {
public:
    explicit PedalExchangeGuard(EditorContext& context);
    ~PedalExchangeGuard();
    PedalExchangeGuard(const PedalExchangeGuard&) = delete;
    PedalExchangeGuard& operator=(const PedalExchangeGuard&) = delete;

private:
    ControlStateTable* states_;
};
