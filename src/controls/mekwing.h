#pragma once
// Base of the views that are redrawn as a whole many times a second (the
// oscilloscope screen, the tube view, the galvanometer's scale). A subclass
// draws its complete picture in PaintBuffer; the control renders it into an
// off-screen bitmap and shows the bitmap in one step, so a frame is never
// seen half drawn or erased.

#include "platform/controls.h"
#include "platform/graphics.h"

#include <QRegion>

class TMekWinGControl : public TCustomControl {
    Q_OBJECT
public:
    explicit TMekWinGControl(QWidget* parent = nullptr);

    void SetBounds(int left, int top, int width, int height) override;
    // Renders a new frame and puts it on the screen before returning.
    void Repaint() override;

    // The frame last rendered (for tests and grabs).
    const TBitmap& Buffer() const { return m_buffer; }

protected:
    // Draws the complete picture; nothing clears the bitmap between frames,
    // so an override must cover every pixel. The base fills it red.
    virtual void PaintBuffer(TCanvas& canvas);
    // Told by PaintBuffer: the new frame differs from the one before only
    // within `changed` (logical pixels), so Repaint puts only that on the
    // screen. Without it the whole control is put there.
    void FrameChanged(const QRegion& changed);
    void Paint() override;
    void paintEvent(QPaintEvent* e) override;

private:
    void RenderFrame();

    TBitmap m_buffer;
    bool m_frameReady = false; // a frame rendered by Repaint waits to be copied
    bool m_changeKnown = false;
    QRegion m_changed;
    // The screen may show parts of a frame older than the one before the
    // buffer's: the next Repaint puts everything there.
    bool m_screenStale = true;
    QRegion m_paintRegion; // of the paint event being answered
};
