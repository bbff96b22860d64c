#pragma once

#include <QList>
#include <QPointer>

class QAction;
class QWidget;
struct EditorContext;

// Held while an exchange with the pedal waits for its answer. The waits let the window
// process clicks, so the actions that would start another exchange (requests, links,
// uploads, the upgrade, presets, erasing, the MIDI and bypass-storage menus, the
// console's EEPROM tools) are disabled meanwhile and afterwards get back exactly the
// enabled state they had; the main window's keyboard focus, moved on when its control
// was disabled, goes back to it. The effect window takes no input meanwhile, and the
// dial changes it still had to send go out first: written inside the exchange they
// would be cut by its purge and leave the pedal reading the next message as their
// rest. A guard taken while another is held changes nothing.
class PedalExchangeGuard {
public:
    explicit PedalExchangeGuard(EditorContext& context);
    ~PedalExchangeGuard();
    PedalExchangeGuard(const PedalExchangeGuard&) = delete;
    PedalExchangeGuard& operator=(const PedalExchangeGuard&) = delete;

private:
    template <typename Control>
    struct Held {
        QPointer<Control> control;
        bool enabled;
    };

    void hold(QAction* action);
    void hold(QWidget* widget);

    EditorContext& context_;
    bool outermost_;
    QList<Held<QAction>> actions_;
    QList<Held<QWidget>> widgets_;
    QPointer<QWidget> focus_;
};
