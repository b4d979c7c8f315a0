#include "controls/framebuffer.h"

#include <QWidget>

namespace paint {

TCanvas& FrameBuffer::Begin(const QWidget* w, int width, int height, const TFont& font)
{
    m_bmp.SetDevicePixelRatio(w->devicePixelRatioF());
    m_bmp.SetSize(width, height);
    TCanvas& c = m_bmp.Canvas();
    c.Pen = TPen();
    c.Brush = TBrush();
    c.Font = font;
    return c;
}

TCanvas& FrameBuffer::Begin(const QWidget* w, const TBitmap& face, const TFont& font)
{
    TCanvas& c = Begin(w, face.Width(), face.Height(), font);
    m_bmp.MutableImage() = face.Image();
    return c;
}

void FrameBuffer::End(TCanvas& target)
{
    m_bmp.Canvas().Release();
    target.Draw(0, 0, m_bmp);
}

} // namespace paint
