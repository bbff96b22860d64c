#pragma once

#include <QString>
#include <QWidget>

class QComboBox;
class QProgressBar;
class QPushButton;
struct EditorContext;

// The Firmware Upgrade window: choosing a built-in firmware image and writing it
// through the pedal's bootloader. Created hidden at start-up, centred on the screen.
class TformFirmwareUpgrade : public QWidget {
    Q_OBJECT

public:
    explicit TformFirmwareUpgrade(EditorContext& context, QWidget* parent = nullptr);

    QComboBox* cmbFirmwareChoose = nullptr;
    QPushButton* btnUpgradeFirmware = nullptr;
    QProgressBar* ProgressBar1 = nullptr;

    QString SelectedFirmwareName;
    int SelectedFirmwareNumber = 0;

    void FirmwareSelect();
    void btnUpgradeFirmwareClick();
    bool upgradeRunning() const { return running_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowProgress(std::size_t done, std::size_t total);

    EditorContext& context_;
    bool running_ = false;
};
