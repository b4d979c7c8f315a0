#pragma once
// Where rows of pixels go: the canvas's shapes and the trace screen's lines
// both end as runs [X0, X1] of a row Y in logical pixels.

#include "platform/raster.h"

#include <QBrush>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace raster {

// The tiles of a picture's logical pixels drawn over, as a frame restorer
// keeps them: a mark a tile of kSize x kSize, Across tiles a row; a tile
// drawn over is set to Mark.
struct DrawnTiles {
    static constexpr int kSize = 16;
    std::uint8_t* Marks = nullptr;
    int Across = 0, Width = 0, Height = 0; // logical pixels
    std::uint8_t Mark = 1;
    // [X0, X1] of row Y.
    void MarkRow(int X0, int X1, int Y)
    {
        if (!Marks || Y < 0 || Y >= Height)
            return;
        X0 = std::max(X0, 0), X1 = std::min(X1, Width - 1);
        std::uint8_t* row = Marks + std::size_t(unsigned(Y) / kSize) * std::size_t(Across);
        for (unsigned t = unsigned(X0) / kSize; X0 <= X1 && t <= unsigned(X1) / kSize; ++t)
            row[t] = Mark;
    }
    // [X0, X1] x [Y0, Y1], ends included.
    void MarkBox(int X0, int X1, int Y0, int Y1)
    {
        if (!Marks)
            return;
        X0 = std::max(X0, 0), Y0 = std::max(Y0, 0);
        X1 = std::min(X1, Width - 1), Y1 = std::min(Y1, Height - 1);
        for (int ty = Y0 / kSize; X0 <= X1 && Y0 <= Y1 && ty <= Y1 / kSize; ++ty) {
            std::uint8_t* row = Marks + std::size_t(ty) * std::size_t(Across);
            for (int t = X0 / kSize; t <= X1 / kSize; ++t)
                row[t] = Mark;
        }
    }
};

// Writes runs straight into the device pixels of a 32-bit image, each logical
// pixel a Scale x Scale block, or paints them through a painter: there a run
// of the same ends and paint as the one on the row above joins it, so that a
// vertical line or a box's side costs one fill, not one a row.
class RunSink {
public:
    // Direct (an image DirectTarget gave, at its Scale and Origin) when Image
    // is set; Painter takes what cannot go there (brushes other than a solid
    // colour), and everything when there is no Image. Runs are in the
    // painter's logical pixels, Origin the image's logical pixel of its (0, 0).
    RunSink(QImage* Image, int Scale, QPainter* Painter, DrawnTiles* Drawn = nullptr, QPoint Origin = QPoint())
        : m_p(Painter), m_drawn(Drawn), m_scale(std::max(Scale, 1)), m_ox(Origin.x()), m_oy(Origin.y())
    {
        if (Image) {
            m_bits = reinterpret_cast<QRgb*>(Image->bits());
            m_stride = Image->bytesPerLine() / 4;
            m_w = Image->width() / m_scale;
            m_h = Image->height() / m_scale;
            m_origin = (qsizetype(m_oy) * m_stride + m_ox) * m_scale;
        }
    }
    ~RunSink() { Flush(); }
    RunSink(const RunSink&) = delete;
    RunSink& operator=(const RunSink&) = delete;

    bool Direct() const { return m_bits != nullptr; }
    // The logical pixels of the image.
    Clip Picture() const { return {-m_ox, -m_oy, m_w - 1 - m_ox, m_h - 1 - m_oy}; }

    // An opaque colour (0xFFRRGGBB); the run lies within the picture when
    // direct.
    void Fill(int X0, int X1, int Y, QRgb C)
    {
        if (!m_bits) {
            paint(X0, X1, Y, nullptr, C);
            return;
        }
        if (m_scale == 1) {
            if (X0 == X1)
                m_bits[m_origin + Y * m_stride + X0] = C;
            else
                Fill32(m_bits + m_origin + Y * m_stride + X0, X1 - X0 + 1, C);
            if (m_drawn)
                m_drawn->MarkRow(X0 + m_ox, X1 + m_ox, Y + m_oy);
            return;
        }
        fillBlocks(X0, X1, Y, C);
    }
    // Any brush, through the painter (kept alive until the next Flush).
    void Fill(int X0, int X1, int Y, const QBrush& B) { paint(X0, X1, Y, &B, 0); }
    // Paints what is still held for the painter.
    void Flush()
    {
        if (m_held.isValid()) {
            if (m_heldBrush)
                m_p->fillRect(m_held, *m_heldBrush);
            else
                m_p->fillRect(m_held, QColor::fromRgb(m_heldRgb));
        }
        m_held = QRect();
    }

private:
    // Each logical pixel a m_scale x m_scale block.
    [[gnu::noinline]] void fillBlocks(int X0, int X1, int Y, QRgb C)
    {
        const qsizetype n = qsizetype(X1 - X0 + 1) * m_scale;
        QRgb* row = m_bits + m_origin + qsizetype(Y) * m_scale * m_stride + qsizetype(X0) * m_scale;
        for (int k = 0; k < m_scale; ++k, row += m_stride)
            Fill32(row, n, C);
        if (m_drawn)
            m_drawn->MarkRow(X0 + m_ox, X1 + m_ox, Y + m_oy);
    }
    // Any other run paints the held box first, which keeps the order of
    // painting.
    [[gnu::noinline]] void paint(int X0, int X1, int Y, const QBrush* B, QRgb C)
    {
        if (m_held.isValid() && B == m_heldBrush && (B || C == m_heldRgb) && X0 == m_held.left() && X1 == m_held.right()
            && Y == m_held.bottom() + 1) {
            m_held.setBottom(Y);
            return;
        }
        Flush();
        m_held = QRect(X0, Y, X1 - X0 + 1, 1);
        m_heldBrush = B;
        m_heldRgb = C;
    }

    QPainter* m_p;
    DrawnTiles* m_drawn;
    int m_scale;
    int m_ox, m_oy;
    QRgb* m_bits = nullptr;
    qsizetype m_origin = 0; // m_bits' index of the painter's (0, 0)
    qsizetype m_stride = 0;
    int m_w = 0, m_h = 0;
    QRect m_held;
    const QBrush* m_heldBrush = nullptr;
    QRgb m_heldRgb = 0;
};

} // namespace raster
