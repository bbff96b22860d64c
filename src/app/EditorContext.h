#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class Dialogs;
class KnownFolders;
class ResourceStore;
class Shell;

namespace varkunda::link {
class D2xxAccess;
}

// What every window of the editor shares: the platform services, the one device,
// the debug console's log and the state the main window's module owns.
struct EditorContext {
    Dialogs& dialogs;
    KnownFolders& folders;
    ResourceStore& resources;
    Shell& shell;
    varkunda::link::D2xxAccess& device;

    // Appends a line to the debug console (and scrolls it when auto-scroll is on);
    // a line that does not scroll goes through ConsoleAppendDirect.
    std::function<void(const QString&)> ConsolePrint = [](const QString&) {};
    std::function<void(const QString&)> ConsoleAppendDirect = [](const QString&) {};
    // The fixed pauses that block the window (40, 100, 200, 400 ms); tests replace it.
    std::function<void(int milliseconds)> Sleep;

    bool DeviceLinked = false;
    bool BootloaderMode = false;
    bool SkipStatusAfterLink = false;
    bool LoadingFromPedal = false;
    QString SelectedEffectName;
    QStringList AlgorithmImageText;
};
