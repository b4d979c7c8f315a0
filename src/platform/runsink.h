#pragma once
// Where rows of pixels go: the canvas's shapes and the trace screen's lines
// both end as runs [X0, X1] of a row Y in logical pixels.

#include "platform/raster.h"

#include <QBrush>
#include <QImage>
#include <QPainter>
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
    // Direct (an image DirectTarget gave, at its Scale) when Image is set;
    // Painter takes what cannot go there (brushes other than a solid colour),
    // and everything when there is no Image.
    RunSink(QImage* Image, int Scale, QPainter* Painter, DrawnTiles* Drawn = nullptr)
        : p_(Painter), drawn_(Drawn), scale_(std::max(Scale, 1))
    {
        if (Image) {
            bits_ = reinterpret_cast<QRgb*>(Image->bits());
            stride_ = Image->bytesPerLine() / 4;
            w_ = Image->width() / scale_;
            h_ = Image->height() / scale_;
        }
    }
    ~RunSink() { Flush(); }
    RunSink(const RunSink&) = delete;
    RunSink& operator=(const RunSink&) = delete;

    bool Direct() const { return bits_ != nullptr; }
    // The logical pixels of the image.
    Clip Picture() const { return {0, 0, w_ - 1, h_ - 1}; }

    // An opaque colour (0xFFRRGGBB); the run lies within the picture when
    // direct.
    void Fill(int X0, int X1, int Y, QRgb C)
    {
        if (!bits_) {
            paint(X0, X1, Y, nullptr, C);
            return;
        }
        if (scale_ == 1) {
            if (X0 == X1)
                bits_[Y * stride_ + X0] = C;
            else
                Fill32(bits_ + Y * stride_ + X0, X1 - X0 + 1, C);
            if (drawn_)
                drawn_->MarkRow(X0, X1, Y);
            return;
        }
        fillBlocks(X0, X1, Y, C);
    }
    // Any brush, through the painter (kept alive until the next Flush).
    void Fill(int X0, int X1, int Y, const QBrush& B) { paint(X0, X1, Y, &B, 0); }
    // Paints what is still held for the painter.
    void Flush()
    {
        if (held_.isValid()) {
            if (heldBrush_)
                p_->fillRect(held_, *heldBrush_);
            else
                p_->fillRect(held_, QColor::fromRgb(heldRgb_));
        }
        held_ = QRect();
    }

private:
    // Each logical pixel a scale_ x scale_ block.
    [[gnu::noinline]] void fillBlocks(int X0, int X1, int Y, QRgb C)
    {
        const qsizetype n = qsizetype(X1 - X0 + 1) * scale_;
        QRgb* row = bits_ + qsizetype(Y) * scale_ * stride_ + qsizetype(X0) * scale_;
        for (int k = 0; k < scale_; ++k, row += stride_)
            Fill32(row, n, C);
        if (drawn_)
            drawn_->MarkRow(X0, X1, Y);
    }
    // Any other run paints the held box first, which keeps the order of
    // painting.
    [[gnu::noinline]] void paint(int X0, int X1, int Y, const QBrush* B, QRgb C)
    {
        if (held_.isValid() && B == heldBrush_ && (B || C == heldRgb_) && X0 == held_.left() && X1 == held_.right()
            && Y == held_.bottom() + 1) {
            held_.setBottom(Y);
            return;
        }
        Flush();
        held_ = QRect(X0, Y, X1 - X0 + 1, 1);
        heldBrush_ = B;
        heldRgb_ = C;
    }

    QPainter* p_;
    DrawnTiles* drawn_;
    int scale_;
    QRgb* bits_ = nullptr;
    qsizetype stride_ = 0;
    int w_ = 0, h_ = 0;
    QRect held_;
    const QBrush* heldBrush_ = nullptr;
    QRgb heldRgb_ = 0;
};

} // namespace raster
