#pragma once
// The part of a control's picture that stays the same from frame to frame
// (a knob's body and scale, a lamp's bezel), drawn once and kept until
// anything it is drawn from changes. The control names everything the
// picture depends on in the key; the font, the size and the screen's pixel
// ratio are added here. What moves (a pointer, a focus mark) is drawn over
// a copy. Two faces are kept, so that a knob whose reflex turns with every
// step finds both of its faces while it is turned.

#include "platform/graphics.h"

#include <QPainter>
#include <QWidget>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

namespace paint {

class FaceCache {
public:
    using Key = std::vector<std::int64_t>;

    // The face for `key` (and the `text` it shows) at `width` x `height`,
    // drawn by `draw(canvas)` on a fresh pen and brush with `font` when it is
    // not one of those kept.
    template <class Draw>
    const TBitmap& Get(const QWidget* w, int width, int height, const TFont& font, Key key, Draw&& draw,
                       const QString& text = QString())
    {
        Entry& e = Find(w, width, height, font, std::move(key), text, false);
        if (e.drawn)
            return e.bmp;
        e.bmp.SetDevicePixelRatio(w->devicePixelRatioF());
        e.bmp.SetSize(width, height);
        TCanvas& c = e.bmp.Canvas();
        c.Pen = TPen();
        c.Brush = TBrush();
        c.Font = font;
        draw(c);
        c.Release();
        e.drawn = true;
        return e.bmp;
    }

    // Whether a kept picture copied onto the widget gives the pixels drawing
    // in place would. At a fractional pixel ratio a widget's origin may fall
    // between device pixels, where the two differ; controls that draw in
    // place then do so.
    static bool CopiesExactly(const QWidget* w)
    {
        const qreal dpr = w->devicePixelRatioF();
        return dpr == std::floor(dpr);
    }

    // The same for a picture drawn over what lies beneath: transparent
    // where `draw` leaves it, so that drawing it over the background gives
    // the pixels drawing straight onto it would (the canvas draws opaque,
    // without smoothing).
    template <class Draw>
    const QImage& GetOverlay(const QWidget* w, int width, int height, const TFont& font, Key key, Draw&& draw)
    {
        Entry& e = Find(w, width, height, font, std::move(key), QString(), true);
        if (e.drawn)
            return e.overlay;
        const qreal dpr = w->devicePixelRatioF();
        e.overlay = QImage(qCeil(width * dpr), qCeil(height * dpr), QImage::Format_ARGB32_Premultiplied);
        e.overlay.fill(Qt::transparent);
        e.overlay.setDevicePixelRatio(dpr);
        QPainter p(&e.overlay);
        p.setRenderHint(QPainter::Antialiasing, false);
        TCanvas c(&p);
        c.Font = font;
        draw(c);
        e.drawn = true;
        return e.overlay;
    }

private:
    struct Entry {
        TBitmap bmp;
        QImage overlay;
        Key key;
        TFont font;
        QString text;
        std::uint64_t used = 0; // 0: empty
        bool drawn = false;
    };

    // The entry kept for the key, or the least recently used one, emptied
    // and taken for it.
    Entry& Find(const QWidget* w, int width, int height, const TFont& font, Key key, const QString& text,
                bool overlay)
    {
        key.insert(key.end(), {width, height, std::bit_cast<std::int64_t>(double(w->devicePixelRatioF())), overlay});
        ++m_clock;
        Entry* slot = &m_entries[0];
        for (Entry& e : m_entries) {
            if (e.used && e.key == key && e.font == font && e.text == text) {
                e.used = m_clock;
                return e;
            }
            if (e.used < slot->used)
                slot = &e;
        }
        slot->key = std::move(key);
        slot->font = font;
        slot->text = text;
        slot->used = m_clock;
        slot->drawn = false;
        return *slot;
    }

    std::array<Entry, 2> m_entries;
    std::uint64_t m_clock = 0;
};

} // namespace paint
