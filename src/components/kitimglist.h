#pragma once
// The picture lists: a bitmap list (one bitmap per item) and an image list
// (each item a strip of equal-sized images with an optional monochrome
// mask), their items and the picture operations controls draw through.

#include <memory>
#include <vector>

#include "components/kitcont.h"
#include "platform/graphics.h"

// A picture operation that cannot be done with the pictures at hand.
class EInvalidGraphicOperation : public Exception {
public:
    using Exception::Exception;
};

// Colours a picture item is saved with: -1 keeps the bitmap's depth.
int SavePixelFormatColors(TKitSavePixelFormat format);
// The item-flag bit (0x10, 0x20, 0x40 or none) and its reading.
std::uint8_t SavePixelFormatFlag(TKitSavePixelFormat format);
TKitSavePixelFormat SavePixelFormatFromFlags(std::uint8_t flags);

// ---- Bitmap item ----

class TKitBitmapListItem : public TKitListItem {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TKitBitmapListItem(QObject* AOwner = nullptr);
    ~TKitBitmapListItem() override;

    TKitSavePixelFormat PixelFormat = spfDefault;

    // The item's bitmap. An empty one is fetched first when the container
    // keeps its pictures elsewhere (StorageMode 1 to 4), unless the item is
    // being designed or loaded.
    TBitmap* Bitmap();
    // The bitmap as held, never fetched.
    const TBitmap& HeldBitmap() const;
    void SetBitmap(const TBitmap& bitmap);

    // For StorageMode 3 and 4: folder, the first three characters of the
    // storage file's name, the ident and ".bmp".
    QString StorageItemFileName() const;

    void Clear() override;
    bool IsEmpty() const override;
    void LoadFromStream(TStream& s) override;
    void SaveToStream(TStream& s) override;
    std::uint8_t GetFlags() const override;
    void Assign(const QObject* Source) override;

private:
    void fetch(const TKitCustomContainer& container);
    TBitmap& held();
    // Made when a picture is first given, loaded or asked for: an empty
    // item holds no bitmap, which nearly halves what a list of them takes.
    std::unique_ptr<TBitmap> m_bitmap;
};

// ---- Image item ----

// Images of Width x Height side by side in one strip; image i at x = i * Width.
class TKitImageListItem : public TKitListItem {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TKitImageListItem(QObject* AOwner = nullptr);
    ~TKitImageListItem() override;

    // The widest strip an item holds: x positions are stored in 16 bits.
    static constexpr int MaxStripWidth = 32768;

    int AllocBy = 4;
    TKitSavePixelFormat PixelFormat = spfDefault;
    TColor BkColor = clNone;
    TColor BlendColor = clNone;
    std::uint8_t DrawingStyle = 2;
    std::uint8_t ImageType = 0;

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool Masked() const { return m_masked; }
    // A new size drops every image; the current one or a size <= 0 is ignored.
    void SetWidth(int value);
    void SetHeight(int value);
    // Keeps the images; a mask made here is sized but not drawn into.
    void SetMasked(bool value);

    int Count() const { return int(m_entries.size()); }
    int UsedWidth() const { return m_usedWidth; }
    const std::vector<std::uint32_t>& Entries() const { return m_entries; }
    // The x position of image i in the strip (its entry's low 16 bits).
    int ImageX(int i) const;
    TBitmap& Strip() { return m_strip; }
    TBitmap& Mask() { return m_mask; }
    // The mask holds black and white only while the item is masked.
    bool MaskMonochrome() const { return m_maskMonochrome; }

    void ClearImages();
    // The images in their stored form: a count, the strip and, with Masked,
    // the mask. The reader checks the count against the pictures it gets.
    void ReadImages(TStream& s);
    void WriteImages(TStream& s);
    // Appends the images of `source`, which must have the same image size.
    void AddImages(const TKitImageListItem& source);

    TRect ImageRect(int i) const;
    void ImageToBitmap(int i, TBitmap* bitmap);
    // The image's bottom-left pixel.
    TColor TransparentColorOf(int i);
    void Draw(TCanvas* canvas, int x, int y, int i);

    void Clear() override { ClearImages(); }
    bool IsEmpty() const override { return m_entries.empty(); }
    void LoadFromStream(TStream& s) override;
    void SaveToStream(TStream& s) override;
    std::uint8_t GetFlags() const override;
    void Assign(const QObject* Source) override;

private:
    std::vector<std::uint32_t> entriesFor(int count) const;
    void rebuildEntries(int count);
    void drawOnBackground(TCanvas* canvas, int x, int y, int i);

    int m_height = 16;
    int m_usedWidth = 0;
    int m_width = 16;
    TBitmap m_strip;
    TBitmap m_mask;
    bool m_maskMonochrome = false;
    std::vector<std::uint32_t> m_entries;
    bool m_masked = false;
};

// ---- Lists ----

class TKitBitmapList : public TKitCustomImageList {
    Q_OBJECT
public:
    explicit TKitBitmapList(QObject* AOwner = nullptr);

    TKitBitmapListItem* BitmapItem(int ListIndex) const;

    TCanvas* ImageCanvas(int ListIndex) override;
    TRect ImageRect(int ListIndex, int ImageIndex) override;
    int ImageDimension(int ListIndex, int Which) override;
    int ImageCount(int ListIndex) override;
    bool IsValidImage(int ListIndex, int ImageIndex) override;
    void GetImage(int ListIndex, int ImageIndex, TBitmap* Dest) override;
    bool IsMasked(int ListIndex) override;
    TKitPaletteHandle ImagePalette(int ListIndex) override;
    TColor ImageTransparentColor(int ListIndex, int ImageIndex) override;
    TColor ImagePixel(const TPoint& Point, int ListIndex, int ImageIndex) override;
    void Draw(TCanvas* Canvas, int X, int Y, int ListIndex, int ImageIndex) override;
    void DrawInRect(TCanvas* Canvas, const TRect& Rect, std::uint16_t Flags, int ListIndex, int ImageIndex,
                    TRect& PaintedRect) override;
    void DrawEx(TCanvas* Canvas, const TRect& Rect, std::uint16_t Flags, std::uint32_t ClipOffset, TColor Colour,
                int ListIndex, int ImageIndex) override;
};

class TKitImageList : public TKitCustomImageList {
    Q_OBJECT
public:
    explicit TKitImageList(QObject* AOwner = nullptr);
    std::int64_t ItemMemoryCost() const override;

    TKitImageListItem* ImageItem(int ListIndex) const;

    TCanvas* ImageCanvas(int ListIndex) override;
    TRect ImageRect(int ListIndex, int ImageIndex) override;
    int ImageDimension(int ListIndex, int Which) override;
    int ImageCount(int ListIndex) override;
    bool IsValidImage(int ListIndex, int ImageIndex) override;
    void GetImage(int ListIndex, int ImageIndex, TBitmap* Dest) override;
    bool IsMasked(int ListIndex) override;
    TKitPaletteHandle ImagePalette(int ListIndex) override;
    TColor ImageTransparentColor(int ListIndex, int ImageIndex) override;
    // The pixel at Point of image ImageIndex; white outside the image.
    TColor ImagePixel(const TPoint& Point, int ListIndex, int ImageIndex) override;
    void Draw(TCanvas* Canvas, int X, int Y, int ListIndex, int ImageIndex) override;
    void DrawInRect(TCanvas* Canvas, const TRect& Rect, std::uint16_t Flags, int ListIndex, int ImageIndex,
                    TRect& PaintedRect) override;
    void DrawEx(TCanvas* Canvas, const TRect& Rect, std::uint16_t Flags, std::uint32_t ClipOffset, TColor Colour,
                int ListIndex, int ImageIndex) override;
};
