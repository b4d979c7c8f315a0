#include "controls/mekwing.h"

#include <QPaintEvent>

TMekWinGControl::TMekWinGControl(QWidget* parent) : TCustomControl(parent)
{
    SetTabStop(false);
    setFocusPolicy(Qt::NoFocus);
}

void TMekWinGControl::SetBounds(int left, int top, int width, int height)
{
    TCustomControl::SetBounds(left, top, width, height);
    m_buffer.SetWidth(width);
    m_buffer.SetHeight(height);
}

void TMekWinGControl::PaintBuffer(TCanvas& canvas)
{
    canvas.Brush.Bitmap = nullptr;
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = clRed;
    canvas.FillRect(ClientRect());
}

void TMekWinGControl::RenderFrame()
{
    // Sizes can also change through alignment, which bypasses SetBounds.
    m_buffer.SetDevicePixelRatio(devicePixelRatioF());
    m_buffer.SetSize(Width(), Height());
    if (m_buffer.Empty())
        return;
    PaintBuffer(m_buffer.Canvas());
    m_buffer.Canvas().Release();
}

void TMekWinGControl::FrameChanged(const QRegion& changed)
{
    m_changed = changed;
    m_changeKnown = true;
}

void TMekWinGControl::Paint()
{
    if (!m_frameReady) {
        // A frame of the paint cycle's own, which may be painted only in
        // part or somewhere else than on the screen (a grab).
        RenderFrame();
        m_screenStale = true;
    }
    m_frameReady = false;
    QPainter* p = Canvas()->Painter();
    const QRegion& area = m_paintRegion;
    if (!p || area.rectCount() <= 1 || m_buffer.Empty()) {
        Canvas()->Draw(0, 0, m_buffer);
        return;
    }
    // Part by part: one copy of the whole frame clipped to a few small
    // parts costs as much as the whole frame.
    const QImage& img = m_buffer.Image();
    const qreal dpr = img.devicePixelRatio();
    for (const QRect& r : area)
        p->drawImage(QRectF(r), img, QRectF(r.x() * dpr, r.y() * dpr, r.width() * dpr, r.height() * dpr));
}

void TMekWinGControl::paintEvent(QPaintEvent* e)
{
    m_paintRegion = e->region();
    TCustomControl::paintEvent(e);
    m_paintRegion = QRegion();
}

void TMekWinGControl::Repaint()
{
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{m_frameReady};
    m_changeKnown = false;
    RenderFrame();
    m_frameReady = true;
    // Synchronous: the frame is on the screen when this returns. Where the
    // screen holds the frame before, only what changed is put there.
    if (m_changeKnown && !m_screenStale) {
        const QRegion changed = m_changed & rect();
        if (changed.isEmpty())
            return;
        repaint(changed);
    } else {
        repaint();
    }
    // Not painted (hidden, or the window not yet on the screen): the next
    // frame cannot count on the screen.
    m_screenStale = m_frameReady;
}
