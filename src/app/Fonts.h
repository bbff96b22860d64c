#pragma once

class QWidget;

// The editor's text face. DejaVu Sans is installed with the editor, and the common sans
// serifs that stand in for it where it is missing are narrower, so a text that fits in
// it fits in them too.
inline constexpr const char* kTextFamily = "DejaVu Sans";

// Sizes in pixels, so they do not follow the screen's dots per inch: the places the
// texts must fit are in pixels too.
namespace text_size {
inline constexpr int kWindow = 11;  // labels, buttons, lists and menus
inline constexpr int kSmall = 10;   // the main window's two lowest buttons
inline constexpr int kTool = 9;     // the console's tools, lists of long entries
}  // namespace text_size

// Gives the widget and everything in it the text face at `pixelSize`, replacing the
// widget's own style sheet. A style sheet rule rather than QWidget::setFont: the looks
// are application style sheets, and Qt rebuilds the fonts of styled widgets at every
// look switch, resetting those inherited from a parent's setFont to the application
// font.
void SetTextFont(QWidget& widget, int pixelSize);
