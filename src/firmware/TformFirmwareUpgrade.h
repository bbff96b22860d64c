#pragma once

#include <QWidget>

struct EditorContext;

// The Firmware Upgrade window: choosing a built-in firmware image and writing it
// through the pedal's bootloader. Created hidden at start-up, centred on the screen.
class TformFirmwareUpgrade : public QWidget {
    Q_OBJECT

public:
    explicit TformFirmwareUpgrade(EditorContext& context, QWidget* parent = nullptr);

private:
    EditorContext& context_;
};
