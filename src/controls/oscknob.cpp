#include "controls/oscknob.h"

#include "controls/knobcolors.h"
#include "controls/knobgeometry.h"

#include <QPainter>

TVorlinKnob::TVorlinKnob(QWidget* parent) : TzDialControl(parent)
{
    SetTabStop(true);
}

void TVorlinKnob::SetValue(int v)
{
    m_value = v > m_max ? m_max : v < 0 ? 0 : v;
    if (OnChange)
        OnChange(this);
    RefreshIfNot({m_value, m_max, 0});
}

void TVorlinKnob::SetKnobRadius(int r)
{
    m_knobRadius = r;
    Invalidate();
}

void TVorlinKnob::SetFineKnobFixed(bool v)
{
    m_fineKnobFixed = v;
    Invalidate();
}

void TVorlinKnob::SetFineKnobValue(int v)
{
    m_fineKnobValue = v;
    Invalidate();
}

int TVorlinKnob::ValueFromPoint(int x, int y)
{
    return knobgeo::StepFromPercent(knobgeo::PercentFromPoint(x, y, Width() / 2), m_max);
}

void TVorlinKnob::SetValueFromPoint(int x, int y)
{
    SetValue(ValueFromPoint(x, y));
}

void TVorlinKnob::Paint()
{
    const int W = Width(), H = Height();
    const int c = W / 2;
    const int R = m_knobRadius;
    const TColor back = Color();
    const int parity = m_value % 2 != 0 ? 1 : 0;
    const QImage* picture =
        !m_picture.Empty() && W > 0 && H > 0 ? &m_picture.Rendered(W, H, devicePixelRatioF()) : nullptr;
    // A picture loaded anew is rendered anew, under a new cache key.
    const paint::FaceCache::Key key{back, R, m_max, parity, picture ? picture->cacheKey() : 0};
    const TBitmap& face = m_face.Get(this, W, H, Font(), key, [&](TCanvas& cv) {
        TRect k(W / 2 - R, H / 2 - R, W / 2 + R, H / 2 + R);
        const int D = k.Right - k.Left;
        cv.Brush.Color = back;
        cv.FillRect(TRect(0, 0, W, H));
        if (picture)
            if (QPainter* p = cv.Painter())
                p->drawImage(QRect(0, 0, W, H), *picture);

        // Clear the scale under the knob.
        cv.Pen.Style = TPenStyle::psClear;
        cv.Ellipse(k.Left - 3, k.Top - 3, k.Right + 3, k.Bottom + 3);

        cv.Pen.Style = TPenStyle::psSolid;
        cv.Pen.Color = clBlack;
        cv.Brush.Color = clSilver;
        for (int q = 3; q >= 0; --q)
            cv.Ellipse(k.Left + q, k.Top + q, k.Right + q, k.Bottom + q);
        cv.Ellipse(k);
        DrawKnobReflex(cv, D, k, clWhite, clGray, parity);
        cv.Pen.Color = clBlack;
        cv.Brush.Style = TBrushStyle::bsClear;
        cv.Ellipse(k);

        cv.Pen.Color = RGB(0, 0, 255);
        cv.Pen.Width = 1;
        for (int i = 0; i <= m_max; ++i) {
            const double t = knobgeo::PercentAngle(knobgeo::StepPercent(i, m_max));
            const TPoint a = knobgeo::RayEnd(c, c, R + 5, t);
            const TPoint b = knobgeo::RayEnd(c, c, R + 8, t);
            cv.MoveTo(a.X, a.Y);
            cv.LineTo(b.X, b.Y);
        }
    });
    TCanvas& cv = m_frame.Begin(this, face, Font());
    Painted({m_value, m_max, 0});

    cv.Pen.Color = RGB(255, 0, 0);
    cv.Pen.Width = 3;
    const TPoint e = knobgeo::RayEnd(c, c, R, knobgeo::PercentAngle(knobgeo::StepPercent(m_value, m_max)));
    cv.MoveTo(c, c);
    cv.LineTo(e.X, e.Y);

    cv.Pen.Width = 1;
    cv.Pen.Color = clBlack;
    cv.Brush.Color = back;
    if (Focused())
        cv.DrawFocusRect(TRect(0, 0, W, H));
    m_frame.End(*Canvas());
}

void TVorlinKnob::KeyDown(std::uint16_t& key, TShiftState)
{
    if (key < VK_END || key > VK_DOWN)
        return;
    if (const auto v = knobgeo::KeyTarget(key, m_value, 0, m_max, 0))
        SetValue(*v);
    key = 0;
}
