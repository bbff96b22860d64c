#pragma once

#include <QString>
#include <QWidget>
#include <functional>

struct EditorContext;
struct HttpResponse;

// The update action: makes sure the updater program in the editor's folder is present
// and not older than the server's, starts it with the two paths it needs and ends the
// editor once it runs. Every request runs in the background; the steps go on as the
// answers arrive. Never shown.
class TformUpdateUpdater : public QWidget {
    Q_OBJECT

public:
    static constexpr auto kUpdaterFile = "Varkunda_Win_Updater.exe";
    static constexpr auto kDownloadedUpdaterFile = "Varkunda_Win_Updater_Update.exe";
    static constexpr auto kNewEditorFile = "Varkunda_Editor_Update.exe";

    explicit TformUpdateUpdater(EditorContext& context, QWidget* parent = nullptr);

    // Update Now, from the Info menu and the New Version window. Asks first. Where the
    // platform cannot start the updater, the release notes page opens instead and the
    // editor stays open.
    void LaunchEditorUpdate();
    // Asks the server for the updater's version; a missing or older local updater is
    // then downloaded. Goes on to start the updater.
    void UpdateUpdater();
    // Downloads the updater and starts it once without parameters.
    void DownloadUpdater();
    // Starts the updater with the parameter text "new editor" "editor"; false, after a
    // message, when it did not start.
    bool RunUpdater(const QString& updaterPath, const QString& newEditorPath,
                    const QString& editorPath);

    // True from the question's Yes until the action ends.
    bool updateRunning() const { return running_; }
    // The body of the server's updater version answer (200 only).
    QString ServerUpdaterVersionText;
    // Ends the editor once the updater has started; tests replace it.
    std::function<void()> Terminate;

private:
    void NetHTTPRequest1RequestCompleted(const HttpResponse& AResponse);
    void DownloadCompleted(const HttpResponse& AResponse);
    // Stores a downloaded updater beside the editor; false with the reason.
    bool StoreDownloadedUpdater(const QByteArray& program, QString& failure);
    void StartUpdaterWithPaths();
    QString UpdaterPath() const;

    EditorContext& context_;
    bool running_ = false;
};
