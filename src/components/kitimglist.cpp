#include "components/kitimglist.h"

#include <QFile>
#include <QImage>

#include "components/kitbmpstream.h"
#include "components/kitlistfile.h"
#include "components/kitprocs.h"
#include "components/kitutils.h"

namespace {
// Gives `bitmap` the size w x h keeping the pictures of the area both sizes
// share; new pixels are white.
void resizeKeeping(TBitmap& bitmap, int w, int h)
{
    if (bitmap.Width() == w && bitmap.Height() == h)
        return;
    TBitmap sized(w, h);
    if (!bitmap.Empty() && !sized.Empty()) {
        sized.Canvas().CopyMode = TCopyMode::cmSrcCopy;
        const TRect shared(0, 0, std::min(w, bitmap.Width()), std::min(h, bitmap.Height()));
        sized.Canvas().CopyRect(shared, bitmap.Canvas(), shared);
    }
    bitmap = sized;
}

// Black and white only, as a mask has to be for the AND/OR copy.
void makeMonochrome(TBitmap& bitmap)
{
    if (bitmap.Empty())
        return;
    bitmap.Assign(bitmap.Image().convertToFormat(QImage::Format_Mono, Qt::ThresholdDither));
}

void copyArea(TCanvas& dest, const TRect& to, TCanvas& source, const TRect& from)
{
    const TCopyMode old = dest.CopyMode;
    dest.CopyMode = TCopyMode::cmSrcCopy;
    dest.CopyRect(to, source, from);
    dest.CopyMode = old;
}

constexpr TColor kNoPixel = 0xFFFFFF;
} // namespace

int SavePixelFormatColors(TKitSavePixelFormat format)
{
    switch (format) {
    case spfMono: return 2;
    case spf4bit: return 16;
    case spf8bit: return 256;
    default: return -1;
    }
}

std::uint8_t SavePixelFormatFlag(TKitSavePixelFormat format)
{
    switch (format) {
    case spfMono: return 0x10;
    case spf4bit: return 0x20;
    case spf8bit: return 0x40;
    default: return 0;
    }
}

TKitSavePixelFormat SavePixelFormatFromFlags(std::uint8_t flags)
{
    if (flags & 0x10)
        return spfMono;
    if (flags & 0x20)
        return spf4bit;
    if (flags & 0x40)
        return spf8bit;
    return spfDefault;
}

// ---- TKitBitmapListItem ----

TKitBitmapListItem::TKitBitmapListItem(QObject* AOwner)
    : TKitListItem(AOwner), FBitmap(std::make_unique<TBitmap>())
{
}

TKitBitmapListItem::~TKitBitmapListItem() = default;

TBitmap* TKitBitmapListItem::Bitmap()
{
    if (FBitmap->Empty() && !IsDesigning() && !IsLoading()) {
        const TKitCustomContainer* c = Container();
        if (c && c->StorageMode != 0) {
            // Fetching fills the cache; it is no change of the item.
            const bool locked = FUpdateLock;
            FUpdateLock = true;
            try {
                fetch(*c);
            } catch (...) {
                FUpdateLock = locked;
                throw;
            }
            FUpdateLock = locked;
        }
    }
    return FBitmap.get();
}

void TKitBitmapListItem::fetch(const TKitCustomContainer& c)
{
    switch (c.StorageMode) {
    case 1:
        LoadBitmapFromListFile(PathByPrefix(c.StoragePrefix, true) + c.StorageFileName, Ident, *FBitmap);
        break;
    case 2:
        FBitmap->LoadFromResourceName(QString::number(Ident));
        break;
    case 4: {
        const QString name = StorageItemFileName();
        QFile file(name);
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        const QImage image = DecodeBitmapImage(reinterpret_cast<const std::uint8_t*>(bytes.constData()), bytes.size());
        if (image.isNull())
            throw EFOpenError(QStringLiteral("Cannot open file \"%1\"").arg(name));
        FBitmap->Assign(image);
        break;
    }
    default:
        // A picture library (mode 3) supplies no picture here: nothing of
        // it is loaded, the bitmap stays empty.
        break;
    }
}

QString TKitBitmapListItem::StorageItemFileName() const
{
    const TKitCustomContainer* c = Container();
    if (!c)
        return QString();
    if (c->StoragePrefix == ppWindows || c->StoragePrefix == ppSystem)
        return c->StorageFileName;
    const QString folder = c->StoragePrefix == ppFixed ? AddTrailingBackslash(ExtractFilePath(c->StorageFileName))
                                                       : PathByPrefix(c->StoragePrefix, true);
    return folder + ExtractFileName(c->StorageFileName).left(3) + QString::number(Ident) + ItemFileExtension(1, true);
}

void TKitBitmapListItem::SetBitmap(const TBitmap& bitmap)
{
    *FBitmap = bitmap;
}

void TKitBitmapListItem::Clear()
{
    *FBitmap = TBitmap();
}

bool TKitBitmapListItem::IsEmpty() const
{
    return FBitmap->Empty();
}

std::uint8_t TKitBitmapListItem::GetFlags() const
{
    return TKitListItem::GetFlags() | SavePixelFormatFlag(PixelFormat) | (FBitmap->Empty() ? 0 : 0x08);
}

void TKitBitmapListItem::LoadFromStream(TStream& s)
{
    LoadAtomically(s, [&] {
        const TKitItemHeader h = ParseHeader(s);
        auto bitmap = std::make_shared<TBitmap>();
        const bool payload = h.Flags & 0x08;
        if (payload)
            LoadBitmapFromStream(s, *bitmap, h.Flags & 0x01);
        return [this, h, bitmap, payload] {
            ApplyHeader(h);
            PixelFormat = SavePixelFormatFromFlags(h.Flags);
            // Without a payload the item keeps the bitmap it has.
            if (payload)
                *FBitmap = *bitmap;
        };
    });
}

void TKitBitmapListItem::SaveToStream(TStream& s)
{
    WriteHeader(s);
    if (!FBitmap->Empty())
        SaveBitmapToStream(s, *FBitmap, Compressed, SavePixelFormatColors(PixelFormat));
}

void TKitBitmapListItem::Assign(const QObject* Source)
{
    if (const auto* src = qobject_cast<const TKitBitmapListItem*>(Source)) {
        if (src == this)
            return;
        AssignHeader(*src);
        // The source's reader: a picture kept elsewhere is fetched for it.
        *FBitmap = *const_cast<TKitBitmapListItem*>(src)->Bitmap();
        PixelFormat = src->PixelFormat;
        return;
    }
    TKitListItem::Assign(Source);
}

// ---- TKitImageListItem ----

TKitImageListItem::TKitImageListItem(QObject* AOwner) : TKitListItem(AOwner)
{
    FStrip.SetSize(0, FHeight);
}

TKitImageListItem::~TKitImageListItem() = default;

void TKitImageListItem::SetWidth(int value)
{
    if (value == FWidth || value <= 0)
        return;
    FWidth = value;
    ClearImages();
    Change();
}

void TKitImageListItem::SetHeight(int value)
{
    if (value == FHeight || value <= 0)
        return;
    FHeight = value;
    ClearImages();
    Change();
}

void TKitImageListItem::SetMasked(bool value)
{
    if (value == FMasked)
        return;
    FMasked = value;
    if (value) {
        FMask = TBitmap(FStrip.Width(), FHeight);
        FMaskMonochrome = true;
    } else {
        FMask.SetSize(0, FMask.Height());
        FMaskMonochrome = false;
    }
    rebuildEntries(Count());
    Change();
}

void TKitImageListItem::rebuildEntries(int count)
{
    FEntries.clear();
    FEntries.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i)
        FEntries.push_back((std::uint32_t(i * FWidth) & 0xFFFF) | (FMasked ? 0x10000u : 0u));
}

int TKitImageListItem::ImageX(int i) const
{
    if (i < 0 || i >= Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(i));
    return std::int16_t(FEntries[std::size_t(i)] & 0xFFFF);
}

void TKitImageListItem::ClearImages()
{
    FStrip = TBitmap();
    FStrip.SetSize(0, FHeight);
    FMask = TBitmap();
    FMask.SetSize(0, FHeight);
    FMaskMonochrome = FMasked;
    FUsedWidth = 0;
    FEntries.clear();
}

void TKitImageListItem::ReadImages(TStream& s)
{
    LoadAtomically(s, [&] {
        const std::int32_t n = StreamReadInteger(s);
        if (n < 0)
            throw EKitFormatError(QStringLiteral("Negative image count %1").arg(n));
        auto strip = std::make_shared<TBitmap>();
        auto mask = std::make_shared<TBitmap>();
        if (n > 0) {
            LoadBitmapFromStream(s, *strip, Compressed);
            if (FMasked)
                LoadBitmapFromStream(s, *mask, Compressed);
            // The images have to be in the pictures that came.
            const std::int64_t used = std::int64_t(n) * FWidth;
            const auto holds = [&](const TBitmap& b) { return b.Width() >= used && b.Height() >= FHeight; };
            if (used > MaxStripWidth || !holds(*strip) || (FMasked && !holds(*mask)))
                throw EKitFormatError(QStringLiteral("%1 images of %2 x %3 do not fit the stored pictures")
                                          .arg(n).arg(FWidth).arg(FHeight));
            makeMonochrome(*mask);
        }
        return [this, n, strip, mask] {
            ClearImages();
            if (n > 0) {
                FStrip = *strip;
                if (FMasked)
                    FMask = *mask;
            }
            // Images are appended behind the last one whatever the width of
            // the stored strip.
            FUsedWidth = n * FWidth;
            rebuildEntries(n);
        };
    });
}

void TKitImageListItem::WriteImages(TStream& s)
{
    const std::int32_t n = Count();
    StreamWriteInteger(s, n);
    if (n <= 0)
        return;
    resizeKeeping(FStrip, n * FWidth, FStrip.Height());
    FUsedWidth = n * FWidth;
    SaveBitmapToStream(s, FStrip, Compressed, SavePixelFormatColors(PixelFormat));
    if (FMasked)
        SaveBitmapToStream(s, FMask, Compressed, 2);
}

void TKitImageListItem::AddImages(const TKitImageListItem& source)
{
    if (source.FWidth != FWidth || source.FHeight != FHeight)
        throw EInvalidGraphicOperation(QStringLiteral("Invalid image size"));
    const int count = source.Count();
    if (count == 0)
        return;
    const std::int64_t newWidth = std::int64_t(count) * FWidth + FUsedWidth;
    if (newWidth > MaxStripWidth)
        throw EInvalidGraphicOperation(QStringLiteral("Too many images"));

    // Copies of what is taken, so that an item may add its own images.
    const TRect area(0, 0, count * FWidth, FHeight);
    TBitmap strip = source.FStrip;
    TBitmap mask = source.FMask;
    const std::vector<std::uint32_t> entries = source.FEntries;
    const bool bothMasked = FMasked && source.FMasked;

    BeginUpdate();
    if (FStrip.Width() < newWidth)
        resizeKeeping(FStrip, int(newWidth), FHeight);
    if (FMasked && FMask.Width() < newWidth)
        resizeKeeping(FMask, int(newWidth), FHeight);
    const TRect to = Bounds(FUsedWidth, 0, area.Width(), FHeight);
    copyArea(FStrip.Canvas(), to, strip.Canvas(), area);
    if (bothMasked)
        copyArea(FMask.Canvas(), to, mask.Canvas(), area);
    for (std::uint32_t e : entries)
        FEntries.push_back((e & 0xFFFF0000u) | (std::uint32_t(Count() * FWidth) & 0xFFFF));
    FUsedWidth = int(newWidth);
    EndUpdate(true);
}

TRect TKitImageListItem::ImageRect(int i) const
{
    return Bounds(ImageX(i), 0, FWidth, FHeight);
}

void TKitImageListItem::ImageToBitmap(int i, TBitmap* bitmap)
{
    if (!bitmap)
        return;
    const TRect from = ImageRect(i);
    bitmap->SetSize(FWidth, FHeight);
    copyArea(bitmap->Canvas(), TRect(0, 0, FWidth, FHeight), FStrip.Canvas(), from);
}

TColor TKitImageListItem::TransparentColorOf(int i)
{
    return FStrip.Canvas().Pixel(ImageX(i), FHeight - 1);
}

void TKitImageListItem::Draw(TCanvas* canvas, int x, int y, int i)
{
    if (!canvas)
        return;
    const TRect from = ImageRect(i);
    const TRect to = Bounds(x, y, FWidth, FHeight);
    if (!FMasked) {
        copyArea(*canvas, to, FStrip.Canvas(), from);
    } else if (ImageType == 1) {
        copyArea(*canvas, to, FMask.Canvas(), from);
    } else if ((DrawingStyle == 2 && BkColor == clNone) || DrawingStyle == 3) {
        const TCopyMode old = canvas->CopyMode;
        canvas->CopyMode = TCopyMode::cmSrcAnd;
        canvas->CopyRect(to, FMask.Canvas(), from);
        canvas->CopyMode = TCopyMode::cmSrcPaint;
        canvas->CopyRect(to, FStrip.Canvas(), from);
        canvas->CopyMode = old;
    } else {
        drawOnBackground(canvas, x, y, i);
    }
}

// A masked image over a background colour and, for the blended styles 0
// and 1, a dot pattern of the blend colour.
void TKitImageListItem::drawOnBackground(TCanvas* canvas, int x, int y, int i)
{
    const TRect from = ImageRect(i);
    TBitmap image(FWidth, FHeight);
    TCanvas& c = image.Canvas();
    c.Brush.Color = BkColor == clNone ? clWhite : BkColor;
    c.Brush.Style = TBrushStyle::bsSolid;
    c.FillRect(TRect(0, 0, FWidth, FHeight));
    const TRect all(0, 0, FWidth, FHeight);
    c.CopyMode = TCopyMode::cmSrcAnd;
    c.CopyRect(all, FMask.Canvas(), from);
    c.CopyMode = TCopyMode::cmSrcPaint;
    c.CopyRect(all, FStrip.Canvas(), from);
    c.CopyMode = TCopyMode::cmSrcCopy;
    if ((DrawingStyle == 0 || DrawingStyle == 1) && BlendColor != clNone) {
        for (int py = 0; py < FHeight; ++py)
            for (int px = 0; px < FWidth; ++px) {
                const bool dot = DrawingStyle == 1 ? ((px ^ py) & 1) != 0 : !((px & 1) && (py & 1));
                if (dot)
                    c.SetPixel(px, py, BlendColor);
            }
    }
    copyArea(*canvas, Bounds(x, y, FWidth, FHeight), c, all);
}

std::uint8_t TKitImageListItem::GetFlags() const
{
    return TKitListItem::GetFlags() | SavePixelFormatFlag(PixelFormat);
}

void TKitImageListItem::LoadFromStream(TStream& s)
{
    LoadAtomically(s, [&] {
        const TKitItemHeader h = ParseHeader(s);
        auto read = std::make_shared<TKitImageListItem>();
        read->ApplyHeader(h);
        read->PixelFormat = SavePixelFormatFromFlags(h.Flags);
        const std::int32_t height = StreamReadInteger(s);
        const std::int32_t width = StreamReadInteger(s);
        read->AllocBy = StreamReadInteger(s);
        read->FMasked = StreamReadByte(s) != 0;
        if (width <= 0 || width > MaxStripWidth || height <= 0)
            throw EKitFormatError(QStringLiteral("Invalid stored image size %1 x %2").arg(width).arg(height));
        read->FWidth = width;
        read->FHeight = height;
        read->ReadImages(s);
        return [this, read] {
            AssignHeader(*read);
            PixelFormat = read->PixelFormat;
            AllocBy = read->AllocBy;
            FHeight = read->FHeight;
            FWidth = read->FWidth;
            FMasked = read->FMasked;
            FStrip = read->FStrip;
            FMask = read->FMask;
            FMaskMonochrome = read->FMaskMonochrome;
            FUsedWidth = read->FUsedWidth;
            FEntries = read->FEntries;
        };
    });
}

void TKitImageListItem::SaveToStream(TStream& s)
{
    WriteHeader(s);
    StreamWriteInteger(s, FHeight);
    StreamWriteInteger(s, FWidth);
    StreamWriteInteger(s, AllocBy);
    StreamWriteByte(s, FMasked ? 1 : 0);
    WriteImages(s);
}

void TKitImageListItem::Assign(const QObject* Source)
{
    const auto* src = qobject_cast<const TKitImageListItem*>(Source);
    if (!src) {
        TKitListItem::Assign(Source);
        return;
    }
    if (src == this)
        return;
    AssignHeader(*src);
    PixelFormat = src->PixelFormat;
    AllocBy = src->AllocBy;
    BkColor = src->BkColor;
    BlendColor = src->BlendColor;
    DrawingStyle = src->DrawingStyle;
    FHeight = src->FHeight;
    ImageType = src->ImageType;
    FMasked = src->FMasked;
    FWidth = src->FWidth;
    ClearImages();
    AddImages(*src);
}

// ---- TKitBitmapList ----

TKitBitmapList::TKitBitmapList(QObject* AOwner) : TKitCustomImageList(AOwner)
{
    ItemClass = &TKitBitmapListItem::staticMetaObject;
    ListKind = 1;
}

TKitBitmapListItem* TKitBitmapList::BitmapItem(int ListIndex) const
{
    return static_cast<TKitBitmapListItem*>(Item(ListIndex));
}

TCanvas* TKitBitmapList::ImageCanvas(int ListIndex)
{
    return &BitmapItem(ListIndex)->Bitmap()->Canvas();
}

TRect TKitBitmapList::ImageRect(int ListIndex, int)
{
    const TBitmap* b = BitmapItem(ListIndex)->Bitmap();
    return TRect(0, 0, b->Width(), b->Height());
}

int TKitBitmapList::ImageDimension(int ListIndex, int Which)
{
    if (ListIndex >= Count())
        return 0;
    const TBitmap* b = BitmapItem(ListIndex)->Bitmap();
    return Which == 0 ? b->Width() : Which == 1 ? b->Height() : 0;
}

int TKitBitmapList::ImageCount(int ListIndex)
{
    if (ListIndex >= Count())
        return 0;
    return BitmapItem(ListIndex)->Bitmap()->Empty() ? 0 : 1;
}

bool TKitBitmapList::IsValidImage(int ListIndex, int)
{
    return ListIndex < Count() && !BitmapItem(ListIndex)->Bitmap()->Empty();
}

void TKitBitmapList::GetImage(int ListIndex, int, TBitmap* Dest)
{
    TBitmap* b = BitmapItem(ListIndex)->Bitmap();
    if (Dest)
        *Dest = *b;
}

bool TKitBitmapList::IsMasked(int)
{
    return false;
}

TKitPaletteHandle TKitBitmapList::ImagePalette(int ListIndex)
{
    // Bitmaps here are true-colour and carry no palette.
    if (ListIndex < Count())
        BitmapItem(ListIndex);
    return nullptr;
}

TColor TKitBitmapList::ImageTransparentColor(int ListIndex, int)
{
    if (ListIndex >= Count())
        return kNoPixel;
    TBitmap* b = BitmapItem(ListIndex)->Bitmap();
    return b->TransparentColor == clNone ? b->Canvas().Pixel(0, b->Height() - 1) : b->TransparentColor;
}

TColor TKitBitmapList::ImagePixel(const TPoint& Point, int ListIndex, int)
{
    if (ListIndex >= Count())
        return kNoPixel;
    return BitmapItem(ListIndex)->Bitmap()->Canvas().Pixel(Point.X, Point.Y);
}

void TKitBitmapList::Draw(TCanvas* Canvas, int X, int Y, int ListIndex, int)
{
    TBitmap* b = BitmapItem(ListIndex)->Bitmap();
    DrawBitmapInRect(Canvas, Bounds(X, Y, b->Width(), b->Height()), b, 0, 0);
}

void TKitBitmapList::DrawInRect(TCanvas* Canvas, const TRect& Rect, std::uint16_t Flags, int ListIndex,
                                int ImageIndex, TRect& PaintedRect)
{
    const TColor transparent = ImageTransparentColor(ListIndex, ImageIndex);
    DrawBitmapInRect(Canvas, Rect, BitmapItem(ListIndex)->Bitmap(), Flags, transparent, &PaintedRect);
}

void TKitBitmapList::DrawEx(TCanvas* Canvas, const TRect& Rect, std::uint16_t Flags, std::uint32_t ClipOffset,
                            TColor Colour, int ListIndex, int)
{
    DrawBitmapEx(Canvas, Rect, BitmapItem(ListIndex)->Bitmap(), Flags, ClipOffset, Colour);
}

// ---- TKitImageList ----

TKitImageList::TKitImageList(QObject* AOwner) : TKitCustomImageList(AOwner)
{
    ItemClass = &TKitImageListItem::staticMetaObject;
    ListKind = 0;
}

TKitImageListItem* TKitImageList::ImageItem(int ListIndex) const
{
    return static_cast<TKitImageListItem*>(Item(ListIndex));
}

TCanvas* TKitImageList::ImageCanvas(int ListIndex)
{
    return &ImageItem(ListIndex)->Strip().Canvas();
}

TRect TKitImageList::ImageRect(int ListIndex, int ImageIndex)
{
    return ImageItem(ListIndex)->ImageRect(ImageIndex);
}

int TKitImageList::ImageDimension(int ListIndex, int Which)
{
    if (ListIndex >= Count())
        return 0;
    const TKitImageListItem* item = ImageItem(ListIndex);
    return Which == 0 ? item->Width() : Which == 1 ? item->Height() : 0;
}

int TKitImageList::ImageCount(int ListIndex)
{
    if (ListIndex >= Count())
        return -1;
    return ImageItem(ListIndex)->Count();
}

bool TKitImageList::IsValidImage(int ListIndex, int ImageIndex)
{
    return ListIndex < Count() && ImageIndex >= 0 && ImageIndex < ImageItem(ListIndex)->Count();
}

void TKitImageList::GetImage(int ListIndex, int ImageIndex, TBitmap* Dest)
{
    TKitImageListItem* item = ImageItem(ListIndex);
    if (Dest)
        item->ImageToBitmap(ImageIndex, Dest);
}

bool TKitImageList::IsMasked(int ListIndex)
{
    return ImageItem(ListIndex)->Masked();
}

TKitPaletteHandle TKitImageList::ImagePalette(int ListIndex)
{
    if (ListIndex < Count())
        ImageItem(ListIndex);
    return nullptr;
}

TColor TKitImageList::ImageTransparentColor(int ListIndex, int ImageIndex)
{
    if (ListIndex >= Count())
        return kNoPixel;
    return ImageItem(ListIndex)->TransparentColorOf(ImageIndex);
}

TColor TKitImageList::ImagePixel(const TPoint& Point, int ListIndex, int ImageIndex)
{
    if (ListIndex >= Count())
        return kNoPixel;
    TKitImageListItem* item = ImageItem(ListIndex);
    if (ImageIndex < 0 || ImageIndex >= item->Count() || Point.X < 0 || Point.Y < 0 || Point.X >= item->Width() ||
        Point.Y >= item->Height())
        return kNoPixel;
    return item->Strip().Canvas().Pixel(item->ImageX(ImageIndex) + Point.X, Point.Y);
}

void TKitImageList::Draw(TCanvas* Canvas, int X, int Y, int ListIndex, int ImageIndex)
{
    ImageItem(ListIndex)->Draw(Canvas, X, Y, ImageIndex);
}

void TKitImageList::DrawInRect(TCanvas* Canvas, const TRect& Rect, std::uint16_t Flags, int ListIndex,
                               int ImageIndex, TRect& PaintedRect)
{
    PaintedRect = TRect();
    TKitImageListItem* item = ImageItem(ListIndex);
    const TRect from = item->ImageRect(ImageIndex);
    if (item->Masked())
        DrawBitmapCore(Canvas, Rect, &item->Strip().Canvas(), from, Flags | KIT_DF_MASKED, 0, nullptr, nullptr,
                       &item->Mask().Canvas(), &PaintedRect);
    else
        DrawBitmapCore(Canvas, Rect, &item->Strip().Canvas(), from, Flags,
                       item->TransparentColorOf(ImageIndex) | 0x02000000, nullptr, nullptr, nullptr, &PaintedRect);
}

void TKitImageList::DrawEx(TCanvas* Canvas, const TRect& Rect, std::uint16_t Flags, std::uint32_t ClipOffset,
                           TColor Colour, int ListIndex, int ImageIndex)
{
    TKitImageListItem* item = ImageItem(ListIndex);
    const TRect from = item->ImageRect(ImageIndex);
    if (item->Masked())
        DrawBitmapClipped(Canvas, Rect, &item->Strip().Canvas(), from, Flags | KIT_DF_MASKED, ClipOffset, 0, nullptr,
                          &item->Mask().Canvas());
    else
        DrawBitmapClipped(Canvas, Rect, &item->Strip().Canvas(), from, Flags, ClipOffset, Colour, nullptr);
}
