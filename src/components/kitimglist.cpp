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

TKitBitmapListItem::TKitBitmapListItem(QObject* AOwner) : TKitListItem(AOwner) {}

TKitBitmapListItem::~TKitBitmapListItem() = default;

TBitmap& TKitBitmapListItem::held()
{
    if (!m_bitmap)
        m_bitmap = std::make_unique<TBitmap>();
    return *m_bitmap;
}

const TBitmap& TKitBitmapListItem::HeldBitmap() const
{
    static const TBitmap none;
    return m_bitmap ? *m_bitmap : none;
}

TBitmap* TKitBitmapListItem::Bitmap()
{
    if (held().Empty() && !IsDesigning() && !IsLoading()) {
        const TKitCustomContainer* c = Container();
        if (c && c->StorageMode != 0) {
            // Fetching fills the cache; it is no change of the item.
            const bool locked = m_updateLock;
            m_updateLock = true;
            try {
                fetch(*c);
            } catch (...) {
                m_updateLock = locked;
                throw;
            }
            m_updateLock = locked;
        }
    }
    return m_bitmap.get();
}

void TKitBitmapListItem::fetch(const TKitCustomContainer& c)
{
    switch (c.StorageMode) {
    case 1:
        LoadBitmapFromListFile(PathByPrefix(c.StoragePrefix, true) + c.StorageFileName, Ident, *m_bitmap);
        break;
    case 2:
        m_bitmap->LoadFromResourceName(QString::number(Ident));
        break;
    case 4: {
        const QString name = StorageItemFileName();
        QFile file(name);
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        const QImage image = DecodeBitmapImage(reinterpret_cast<const std::uint8_t*>(bytes.constData()), bytes.size());
        if (image.isNull())
            throw EFOpenError(QStringLiteral("Cannot open file \"%1\"").arg(name));
        m_bitmap->Assign(image);
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
    held() = bitmap;
}

void TKitBitmapListItem::Clear()
{
    if (m_bitmap)
        *m_bitmap = TBitmap();
}

bool TKitBitmapListItem::IsEmpty() const
{
    return !m_bitmap || m_bitmap->Empty();
}

std::uint8_t TKitBitmapListItem::GetFlags() const
{
    return TKitListItem::GetFlags() | SavePixelFormatFlag(PixelFormat) | (IsEmpty() ? 0 : 0x08);
}

void TKitBitmapListItem::LoadFromStream(TStream& s)
{
    LoadAtomically(s, [&] {
        const TKitItemHeader h = ParseHeader(s);
        auto bitmap = std::make_shared<TBitmap>();
        // Without a payload the item keeps the bitmap it has. With one, it
        // gets a bitmap here, where the commit cannot fail yet; an empty one
        // is no change.
        TBitmap* target = nullptr;
        if (h.Flags & 0x08) {
            readmemory::Charge(kBitmapMemoryCost);
            LoadBitmapFromStream(s, *bitmap, h.Flags & 0x01);
            target = &held();
        }
        return [this, h, bitmap, target] {
            ApplyHeader(h);
            PixelFormat = SavePixelFormatFromFlags(h.Flags);
            if (target)
                ShareBitmapPicture(*target, *bitmap);
        };
    });
}

void TKitBitmapListItem::SaveToStream(TStream& s)
{
    WriteHeader(s);
    if (!IsEmpty())
        SaveBitmapToStream(s, *m_bitmap, Compressed, SavePixelFormatColors(PixelFormat));
}

void TKitBitmapListItem::Assign(const QObject* Source)
{
    if (const auto* src = qobject_cast<const TKitBitmapListItem*>(Source)) {
        if (src == this)
            return;
        AssignHeader(*src);
        // The source's reader: a picture kept elsewhere is fetched for it.
        held() = *const_cast<TKitBitmapListItem*>(src)->Bitmap();
        PixelFormat = src->PixelFormat;
        return;
    }
    TKitListItem::Assign(Source);
}

// ---- TKitImageListItem ----

TKitImageListItem::TKitImageListItem(QObject* AOwner) : TKitListItem(AOwner)
{
    m_strip.SetSize(0, m_height);
}

TKitImageListItem::~TKitImageListItem() = default;

void TKitImageListItem::SetWidth(int value)
{
    if (value == m_width || value <= 0)
        return;
    m_width = value;
    ClearImages();
    Change();
}

void TKitImageListItem::SetHeight(int value)
{
    if (value == m_height || value <= 0)
        return;
    m_height = value;
    ClearImages();
    Change();
}

void TKitImageListItem::SetMasked(bool value)
{
    if (value == m_masked)
        return;
    m_masked = value;
    if (value) {
        m_mask = TBitmap(m_strip.Width(), m_height);
        m_maskMonochrome = true;
    } else {
        m_mask.SetSize(0, m_mask.Height());
        m_maskMonochrome = false;
    }
    rebuildEntries(Count());
    Change();
}

std::vector<std::uint32_t> TKitImageListItem::entriesFor(int count) const
{
    std::vector<std::uint32_t> entries;
    entries.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i)
        entries.push_back((std::uint32_t(i * m_width) & 0xFFFF) | (m_masked ? 0x10000u : 0u));
    return entries;
}

void TKitImageListItem::rebuildEntries(int count)
{
    m_entries = entriesFor(count);
}

int TKitImageListItem::ImageX(int i) const
{
    if (i < 0 || i >= Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(i));
    return std::int16_t(m_entries[std::size_t(i)] & 0xFFFF);
}

void TKitImageListItem::ClearImages()
{
    m_strip = TBitmap();
    m_strip.SetSize(0, m_height);
    m_mask = TBitmap();
    m_mask.SetSize(0, m_height);
    m_maskMonochrome = m_masked;
    m_usedWidth = 0;
    m_entries.clear();
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
            if (m_masked)
                LoadBitmapFromStream(s, *mask, Compressed);
            // The images have to be in the pictures that came.
            const std::int64_t used = std::int64_t(n) * m_width;
            const auto holds = [&](const TBitmap& b) { return b.Width() >= used && b.Height() >= m_height; };
            if (used > MaxStripWidth || !holds(*strip) || (m_masked && !holds(*mask)))
                throw EKitFormatError(QStringLiteral("%1 images of %2 x %3 do not fit the stored pictures")
                                          .arg(n).arg(m_width).arg(m_height));
            makeMonochrome(*mask);
        }
        auto entries = std::make_shared<std::vector<std::uint32_t>>(entriesFor(n));
        return [this, n, strip, mask, entries] {
            ClearImages();
            if (n > 0) {
                ShareBitmapPicture(m_strip, *strip);
                if (m_masked)
                    ShareBitmapPicture(m_mask, *mask);
            }
            // Images are appended behind the last one whatever the width of
            // the stored strip.
            m_usedWidth = n * m_width;
            m_entries.swap(*entries);
        };
    });
}

void TKitImageListItem::WriteImages(TStream& s)
{
    const std::int32_t n = Count();
    StreamWriteInteger(s, n);
    if (n <= 0)
        return;
    resizeKeeping(m_strip, n * m_width, m_strip.Height());
    m_usedWidth = n * m_width;
    SaveBitmapToStream(s, m_strip, Compressed, SavePixelFormatColors(PixelFormat));
    if (m_masked)
        SaveBitmapToStream(s, m_mask, Compressed, 2);
}

void TKitImageListItem::AddImages(const TKitImageListItem& source)
{
    if (source.m_width != m_width || source.m_height != m_height)
        throw EInvalidGraphicOperation(QStringLiteral("Invalid image size"));
    const int count = source.Count();
    if (count == 0)
        return;
    const std::int64_t newWidth = std::int64_t(count) * m_width + m_usedWidth;
    if (newWidth > MaxStripWidth)
        throw EInvalidGraphicOperation(QStringLiteral("Too many images"));

    // Copies of what is taken, so that an item may add its own images.
    const TRect area(0, 0, count * m_width, m_height);
    TBitmap strip = source.m_strip;
    TBitmap mask = source.m_mask;
    const std::vector<std::uint32_t> entries = source.m_entries;
    const bool bothMasked = m_masked && source.m_masked;

    BeginUpdate();
    if (m_strip.Width() < newWidth)
        resizeKeeping(m_strip, int(newWidth), m_height);
    if (m_masked && m_mask.Width() < newWidth)
        resizeKeeping(m_mask, int(newWidth), m_height);
    const TRect to = Bounds(m_usedWidth, 0, area.Width(), m_height);
    copyArea(m_strip.Canvas(), to, strip.Canvas(), area);
    if (bothMasked)
        copyArea(m_mask.Canvas(), to, mask.Canvas(), area);
    for (std::uint32_t e : entries)
        m_entries.push_back((e & 0xFFFF0000u) | (std::uint32_t(Count() * m_width) & 0xFFFF));
    m_usedWidth = int(newWidth);
    EndUpdate(true);
}

TRect TKitImageListItem::ImageRect(int i) const
{
    return Bounds(ImageX(i), 0, m_width, m_height);
}

void TKitImageListItem::ImageToBitmap(int i, TBitmap* bitmap)
{
    if (!bitmap)
        return;
    const TRect from = ImageRect(i);
    bitmap->SetSize(m_width, m_height);
    copyArea(bitmap->Canvas(), TRect(0, 0, m_width, m_height), m_strip.Canvas(), from);
}

TColor TKitImageListItem::TransparentColorOf(int i)
{
    return m_strip.Canvas().Pixel(ImageX(i), m_height - 1);
}

void TKitImageListItem::Draw(TCanvas* canvas, int x, int y, int i)
{
    if (!canvas)
        return;
    const TRect from = ImageRect(i);
    const TRect to = Bounds(x, y, m_width, m_height);
    if (!m_masked) {
        copyArea(*canvas, to, m_strip.Canvas(), from);
    } else if (ImageType == 1) {
        copyArea(*canvas, to, m_mask.Canvas(), from);
    } else if ((DrawingStyle == 2 && BkColor == clNone) || DrawingStyle == 3) {
        const TCopyMode old = canvas->CopyMode;
        canvas->CopyMode = TCopyMode::cmSrcAnd;
        canvas->CopyRect(to, m_mask.Canvas(), from);
        canvas->CopyMode = TCopyMode::cmSrcPaint;
        canvas->CopyRect(to, m_strip.Canvas(), from);
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
    TBitmap image(m_width, m_height);
    TCanvas& c = image.Canvas();
    c.Brush.Color = BkColor == clNone ? clWhite : BkColor;
    c.Brush.Style = TBrushStyle::bsSolid;
    c.FillRect(TRect(0, 0, m_width, m_height));
    const TRect all(0, 0, m_width, m_height);
    c.CopyMode = TCopyMode::cmSrcAnd;
    c.CopyRect(all, m_mask.Canvas(), from);
    c.CopyMode = TCopyMode::cmSrcPaint;
    c.CopyRect(all, m_strip.Canvas(), from);
    c.CopyMode = TCopyMode::cmSrcCopy;
    if ((DrawingStyle == 0 || DrawingStyle == 1) && BlendColor != clNone) {
        for (int py = 0; py < m_height; ++py)
            for (int px = 0; px < m_width; ++px) {
                const bool dot = DrawingStyle == 1 ? ((px ^ py) & 1) != 0 : !((px & 1) && (py & 1));
                if (dot)
                    c.SetPixel(px, py, BlendColor);
            }
    }
    copyArea(*canvas, Bounds(x, y, m_width, m_height), c, all);
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
        read->m_masked = StreamReadByte(s) != 0;
        if (width <= 0 || width > MaxStripWidth || height <= 0)
            throw EKitFormatError(QStringLiteral("Invalid stored image size %1 x %2").arg(width).arg(height));
        read->m_width = width;
        read->m_height = height;
        read->ReadImages(s);
        return [this, read] {
            AssignHeader(*read);
            PixelFormat = read->PixelFormat;
            AllocBy = read->AllocBy;
            m_height = read->m_height;
            m_width = read->m_width;
            m_masked = read->m_masked;
            ShareBitmapPicture(m_strip, read->m_strip);
            ShareBitmapPicture(m_mask, read->m_mask);
            m_maskMonochrome = read->m_maskMonochrome;
            m_usedWidth = read->m_usedWidth;
            m_entries.swap(read->m_entries);
        };
    });
}

void TKitImageListItem::SaveToStream(TStream& s)
{
    WriteHeader(s);
    StreamWriteInteger(s, m_height);
    StreamWriteInteger(s, m_width);
    StreamWriteInteger(s, AllocBy);
    StreamWriteByte(s, m_masked ? 1 : 0);
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
    m_height = src->m_height;
    ImageType = src->ImageType;
    m_masked = src->m_masked;
    m_width = src->m_width;
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

std::int64_t TKitImageList::ItemMemoryCost() const
{
    // A strip and a mask.
    return kListItemMemoryCost + 2 * kBitmapMemoryCost;
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
