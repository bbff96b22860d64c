#pragma once

#include <QString>
#include <QUrl>

// The maker's web server as the editor reaches it: a base address and five paths.
namespace updatepaths {
inline constexpr auto kEditorVersion = "/download/varkunda-editor-version.php";
inline constexpr auto kUpdaterVersion = "/download/update/Varkunda_Win_Updater_Version.php";
inline constexpr auto kUpdaterProgram = "/download/update/Varkunda_Win_Updater.exe";
inline constexpr auto kReleaseNotes = "/download/update/whatsnew.html";
inline constexpr auto kSupport = "/contact-us/";
}  // namespace updatepaths

// A base address the editor may use: https://, or http:// on this computer's loopback
// interface (a local test server). Anything else is refused and nothing is requested.
class UpdateServer {
public:
    // The environment variable VARKUNDA_UPDATE_SERVER, else the build's setting of the
    // same name; empty when neither is set.
    static QString ConfiguredBaseAddress();

    explicit UpdateServer(const QString& baseAddress);

    bool usable() const { return refusal_.isEmpty(); }
    // Why the server cannot be used, as the end of a sentence; empty when it can.
    const QString& refusal() const { return refusal_; }
    // The full address of one of the paths above.
    QUrl address(const char* path) const;

private:
    QUrl base_;
    QString refusal_;
};
