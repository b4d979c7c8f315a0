#pragma once
// The part of a control's picture that stays the same from frame to frame
// (a knob's body and scale, a lamp's bezel), drawn once and kept until
// anything it is drawn from changes. The control names everything the
// picture depends on in the key; the font, the size and the screen's pixel
// ratio are added here. What moves (a pointer, a focus mark) is drawn over
// a copy. Two faces are kept, so that a knob whose reflex turns with every
// step finds both of its faces while it is turned.

#include "platform/graphics.h"

#include <QWidget>
#include <array>
#include <bit>
#include <cstdint>
#include <vector>

class TFaceCache {
public:
    using Key = std::vector<std::int64_t>;

    // The face for `key` (and the `text` it shows) at `width` x `height`,
    // drawn by `draw(canvas)` on a fresh pen and brush with `font` when it is
    // not one of those kept.
    template <class Draw>
    const TBitmap& Get(const QWidget* w, int width, int height, const TFont& font, Key key, Draw&& draw,
                       const QString& text = QString())
    {
        const qreal dpr = w->devicePixelRatioF();
        key.insert(key.end(), {width, height, std::bit_cast<std::int64_t>(double(dpr))});
        ++m_clock;
        Entry* slot = &m_entries[0];
        for (Entry& e : m_entries) {
            if (e.used && e.key == key && e.font == font && e.text == text) {
                e.used = m_clock;
                return e.bmp;
            }
            if (e.used < slot->used)
                slot = &e;
        }
        slot->bmp.SetDevicePixelRatio(dpr);
        slot->bmp.SetSize(width, height);
        TCanvas& c = slot->bmp.Canvas();
        c.Pen = TPen();
        c.Brush = TBrush();
        c.Font = font;
        draw(c);
        c.Release();
        slot->key = std::move(key);
        slot->font = font;
        slot->text = text;
        slot->used = m_clock;
        return slot->bmp;
    }

private:
    struct Entry {
        TBitmap bmp;
        Key key;
        TFont font;
        QString text;
        std::uint64_t used = 0; // 0: empty
    };
    std::array<Entry, 2> m_entries;
    std::uint64_t m_clock = 0;
};
