#pragma once
// The off-screen picture a control draws each frame into before it is
// copied to the window in one step. One bitmap serves every frame; it
// follows the control's size and the screen's pixel ratio.

#include "platform/graphics.h"

class QWidget;

namespace paint {

class FrameBuffer {
public:
    // Sizes the bitmap for the widget and gives its canvas with a fresh pen,
    // brush and the given font.
    TCanvas& Begin(const QWidget* w, int width, int height, const TFont& font);
    // The same, the frame starting as a copy of `face` (of the widget's size
    // and pixel ratio).
    TCanvas& Begin(const QWidget* w, const TBitmap& face, const TFont& font);
    // Copies the frame to `target` at (0, 0).
    void End(TCanvas& target);
    const TBitmap& Bitmap() const { return m_bmp; }

private:
    TBitmap m_bmp;
};

} // namespace paint
