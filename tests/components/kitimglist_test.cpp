#include <gtest/gtest.h>

#include "support/testutil.h"

#include "components/kitimglist.h"
#include "components/kitprocs.h"

#include "listfiles.h"
#include "streambytes.h"

using namespace streambytes;
using namespace listfiles;

namespace {
TBitmap filled(int w, int h, TColor color)
{
    TBitmap b(w, h);
    b.Canvas().Brush.Color = color;
    b.Canvas().FillRect(TRect(0, 0, w, h));
    return b;
}

TKitBitmapListItem* addBitmap(TKitBitmapList& list, const TBitmap& bitmap, std::uint16_t ident = 0)
{
    auto* item = list.BitmapItem(list.AddItem());
    item->SetBitmap(bitmap);
    item->Ident = ident;
    return item;
}

TKitImageListItem* addImages(TKitImageList& list, int n, bool masked = false, int w = 16, int h = 16)
{
    auto* item = list.ImageItem(list.AddItem());
    item->SetWidth(w);
    item->SetHeight(h);
    item->SetMasked(masked);
    fillImages(*item, n);
    return item;
}

template <class Item>
Bytes saved(Item& item)
{
    TMemoryStream s;
    item.SaveToStream(s);
    return s.Bytes();
}
} // namespace

TEST(BitmapItems, StoredFormAndRoundTrips)
{
    // Empty bitmap, no description, no ident: the flag byte alone.
    TKitBitmapListItem empty;
    EXPECT_EQ(saved(empty), Bytes{0x00});
    empty.Compressed = true;
    EXPECT_EQ(saved(empty), Bytes{0x01});
    empty.PixelFormat = spf4bit;
    EXPECT_EQ(saved(empty), Bytes{0x21});

    const TBitmap picture = filled(7, 3, clRed);
    const struct {
        TKitSavePixelFormat format;
        std::uint8_t flag;
    } formats[] = {{spfDefault, 0}, {spfMono, 0x10}, {spf4bit, 0x20}, {spf8bit, 0x40}};
    for (bool compressed : {false, true})
        for (const auto& f : formats) {
            TKitBitmapListItem item;
            item.SetBitmap(picture);
            item.Description = "red";
            item.Ident = 300;
            item.Compressed = compressed;
            item.PixelFormat = f.format;
            TMemoryStream s;
            item.SaveToStream(s);
            StreamWriteByte(s, 0x99); // what follows stays in step
            EXPECT_EQ(s.Bytes()[0], (compressed ? 0x01 : 0) | 0x02 | 0x04 | 0x08 | f.flag);
            s.SetPosition(0);
            TKitBitmapListItem back;
            back.LoadFromStream(s);
            EXPECT_EQ(StreamReadByte(s), 0x99);
            EXPECT_EQ(back.Description, "red");
            EXPECT_EQ(back.Ident, 300);
            EXPECT_EQ(back.Compressed, compressed);
            EXPECT_EQ(back.PixelFormat, f.format);
            ASSERT_EQ(back.HeldBitmap().Width(), 7);
            const TColor got = const_cast<TBitmap&>(back.HeldBitmap()).Canvas().Pixel(3, 1);
            if (f.format == spfMono)
                EXPECT_EQ(got, clBlack); // red is dark: in two colours it is black
            else
                EXPECT_EQ(got, clRed) << int(f.format);
        }
}

TEST(ListItems, ReadWithoutPayload)
{
    // Strings and waves are emptied, a bitmap is kept.
    TKitStringListItem strings;
    strings.Items = {"old"};
    TMemoryStream s1 = streamOf({0x00});
    strings.LoadFromStream(s1);
    EXPECT_TRUE(strings.Items.isEmpty());

    // A broken payload leaves header and strings alone.
    strings.Items = {"old"};
    strings.Ident = 5;
    TMemoryStream s2 = streamOf({0x08, 50, 0, 0, 0, 'a', 'b'});
    EXPECT_THROW(strings.LoadFromStream(s2), EReadError);
    EXPECT_EQ(strings.Items, QStringList{"old"});
    EXPECT_EQ(strings.Ident, 5);
    EXPECT_EQ(s2.Position(), 0);

    TKitWaveListItem wave;
    TMemoryStream img = streamOf(waveImage(6));
    wave.Wave()->LoadFromStream(img);
    TMemoryStream s3 = streamOf({0x08 | 0x04, 1, 0, 0, 0, 4, 0, 0, 0, 'J', 'U', 'N', 'K'});
    EXPECT_ANY_THROW(wave.LoadFromStream(s3));
    EXPECT_EQ(wave.Ident, 0);
    EXPECT_FALSE(wave.IsEmpty());
    TMemoryStream s4 = streamOf({0x04, 1, 0, 0, 0});
    wave.LoadFromStream(s4);
    EXPECT_TRUE(wave.IsEmpty());
    EXPECT_EQ(wave.Ident, 1);
}

TEST(BitmapItems, ReadWithoutPayloadKeepsTheBitmap)
{
    TKitBitmapListItem item;
    item.SetBitmap(filled(4, 4, clBlue));
    TMemoryStream s = streamOf({0x04 | 0x10, 9, 0, 0, 0});
    item.LoadFromStream(s);
    EXPECT_EQ(item.Ident, 9);
    EXPECT_EQ(item.PixelFormat, spfMono);
    EXPECT_EQ(item.HeldBitmap().Width(), 4);

    // A broken payload: the item keeps everything, the stream its place.
    TMemoryStream bad = streamOf({0x02 | 0x08, 1, 'x', 5, 0, 0, 0, 'B', 'M'});
    EXPECT_THROW(item.LoadFromStream(bad), EReadError);
    EXPECT_EQ(bad.Position(), 0);
    EXPECT_EQ(item.Description, "");
    EXPECT_EQ(item.HeldBitmap().Width(), 4);
    // A list of pictures far larger than their pixels: refused at once.
    TKitBitmapList list;
    addBitmap(list, filled(4, 4, clBlue));
    TMemoryStream huge = streamOf(hugeClaimBitmapList(16));
    EXPECT_THROW(list.LoadFromStream(huge, false), EInvalidGraphic);
    EXPECT_EQ(list.Count(), 1);

    // Assignment copies header, bitmap and format; other items are refused.
    TKitBitmapListItem copy;
    copy.Assign(&item);
    EXPECT_EQ(copy.Ident, 9);
    EXPECT_EQ(copy.PixelFormat, spfMono);
    EXPECT_EQ(copy.HeldBitmap().Width(), 4);
    TKitStringListItem strings;
    EXPECT_THROW(copy.Assign(&strings), EConvertError);
    copy.Clear();
    EXPECT_TRUE(copy.IsEmpty());
}

TEST(BitmapItems, PicturesKeptElsewhereAreFetchedOnDemand)
{
    QTemporaryDir dir;
    TKitBitmapList onDisk;
    addBitmap(onDisk, filled(5, 5, clGreen));
    addBitmap(onDisk, filled(6, 2, clNavy));
    const QString file = writeFile(dir, "pics.kbl", listFileBytes(onDisk));

    TKitBitmapList list;
    auto* own = addBitmap(list, TBitmap(), 1);
    EXPECT_TRUE(own->Bitmap()->Empty()); // StorageMode 0: its own bitmap, empty or not

    list.StorageMode = 1;
    list.StoragePrefix = ppFixed;
    list.StorageFileName = file;
    int changes = 0;
    list.OnChange = [&](TObject*) { ++changes; };
    own->SetDesigning(true);
    EXPECT_TRUE(own->Bitmap()->Empty()); // nothing is fetched on a form being designed
    own->SetDesigning(false);
    EXPECT_EQ(own->Bitmap()->Width(), 6); // Ident is the position in the file
    EXPECT_EQ(own->Bitmap()->Canvas().Pixel(1, 1), clNavy);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(list.ImageDimension(0, 0), 6);

    // Single bitmap files: folder, three letters of the file name, ident.
    list.StorageMode = 4;
    list.StorageFileName = dir.filePath("picture.set");
    auto* fromFile = addBitmap(list, TBitmap(), 12);
    EXPECT_EQ(fromFile->StorageItemFileName(), dir.filePath("pic12.bmp"));
    EXPECT_THROW(fromFile->Bitmap(), EFOpenError);
    ASSERT_TRUE(filled(3, 3, clYellow).Image().save(dir.filePath("pic12.bmp"), "BMP"));
    EXPECT_EQ(fromFile->Bitmap()->Canvas().Pixel(2, 2), clYellow);

    list.StorageMode = 3; // a picture library supplies nothing here
    EXPECT_TRUE(addBitmap(list, TBitmap(), 4)->Bitmap()->Empty());
}

TEST(ImageItems, StoredForm)
{
    TKitImageListItem item;
    item.PixelFormat = spf8bit;
    EXPECT_EQ(saved(item), (Bytes{0x40, 16, 0, 0, 0, 16, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0}));

    TKitImageListItem back;
    fillImages(back, 2);
    TMemoryStream s = streamOf(saved(item));
    back.LoadFromStream(s);
    EXPECT_EQ(back.Count(), 0);
    EXPECT_EQ(back.Strip().Width(), 0);
    EXPECT_EQ(back.PixelFormat, spf8bit);

    for (bool compressed : {false, true})
        for (bool masked : {false, true}) {
            TKitImageListItem src;
            src.SetWidth(10);
            src.SetHeight(6);
            src.SetMasked(masked);
            src.Compressed = compressed;
            src.AllocBy = 9;
            src.Description = "icons";
            fillImages(src, 3);
            TMemoryStream t;
            src.SaveToStream(t);
            t.SetPosition(0);
            TKitImageListItem got;
            got.LoadFromStream(t);
            EXPECT_EQ(t.Position(), t.Size());
            EXPECT_EQ(got.Count(), 3);
            EXPECT_EQ(got.Width(), 10);
            EXPECT_EQ(got.Height(), 6);
            EXPECT_EQ(got.AllocBy, 9);
            EXPECT_EQ(got.Masked(), masked);
            EXPECT_EQ(got.Description, "icons");
            EXPECT_EQ(got.UsedWidth(), 30);
            for (int i = 0; i < 3; ++i)
                EXPECT_EQ(got.TransparentColorOf(i), imageColor(i));
            if (masked) {
                EXPECT_EQ(got.Mask().Canvas().Pixel(21, 2), clBlack);
                EXPECT_EQ(got.Mask().Canvas().Pixel(27, 2), clWhite);
                EXPECT_EQ(got.Entries()[2], 0x10000u | 20u);
            }
        }
}

TEST(ImageItems, MalformedImagesLeaveTheItemAsItWas)
{
    TKitImageListItem item;
    fillImages(item, 2);
    const auto expectRefused = [&](const Bytes& data) {
        TMemoryStream s = streamOf(data);
        EXPECT_THROW(item.LoadFromStream(s), EReadError);
        EXPECT_EQ(s.Position(), 0);
        EXPECT_EQ(item.Count(), 2);
        EXPECT_EQ(item.Width(), 16);
        EXPECT_EQ(item.TransparentColorOf(1), imageColor(1));
    };
    expectRefused({0x00, 16, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0}); // width 0
    expectRefused({0x00, 16, 0, 0, 0, 16, 0, 0, 0, 4, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}); // count < 0
    expectRefused({0x00, 16, 0, 0, 0, 16, 0, 0, 0, 4, 0, 0, 0, 0, 1, 0, 0}); // count cut off
    expectRefused({0x00, 16, 0, 0, 0, 16, 0, 0, 0, 4, 0, 0, 0, 0, 1, 0, 0, 0}); // no strip

    // Three images claimed, a strip of two stored.
    TMemoryStream s;
    item.SaveToStream(s);
    Bytes bytes = s.Bytes();
    bytes[14] = 3;
    expectRefused(bytes);
}

TEST(ImageItems, ImagesAddedBehindAWideStoredStripLandWhereTheirEntriesPoint)
{
    // One image stored with a strip of two image widths.
    TMemoryStream s;
    for (int v : {16, 16, 4})
        StreamWriteInteger(s, v);
    StreamWriteByte(s, 0);
    StreamWriteInteger(s, 1);
    TBitmap wide(32, 16);
    wide.Canvas().Brush.Color = clPurple;
    wide.Canvas().FillRect(TRect(0, 0, 32, 16));
    SaveBitmapToStream(s, wide, false, -1);
    TMemoryStream item = streamOf(Bytes{0x00});
    item.Seek(0, TSeekOrigin::soEnd);
    s.SetPosition(0);
    item.CopyFrom(s, 0);
    item.SetPosition(0);

    TKitImageListItem images;
    images.LoadFromStream(item);
    EXPECT_EQ(images.Count(), 1);
    EXPECT_EQ(images.UsedWidth(), 16);
    TKitImageListItem one;
    fillImages(one, 1);
    images.AddImages(one);
    EXPECT_EQ(images.ImageRect(1), Bounds(16, 0, 16, 16));
    EXPECT_EQ(images.TransparentColorOf(1), imageColor(0));
}

TEST(ImageItems, AddingImages)
{
    TKitImageListItem item, other;
    other.SetWidth(8);
    fillImages(other, 1);
    try {
        item.AddImages(other);
        FAIL();
    } catch (const EInvalidGraphicOperation& e) {
        EXPECT_EQ(e.Message, "Invalid image size");
    }

    TKitImageListItem half;
    fillImages(half, 1024); // a strip of 16 384 pixels
    int changes = 0;
    item.OnChange = [&](TObject*) { ++changes; };
    item.AddImages(half);
    item.AddImages(half); // 32 768 exactly
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(item.Count(), 2048);
    EXPECT_EQ(item.UsedWidth(), 32768);
    EXPECT_EQ(item.ImageRect(2047), Bounds(32752, 0, 16, 16));
    EXPECT_EQ(item.TransparentColorOf(1024 + 5), imageColor(5));
    TKitImageListItem one;
    fillImages(one, 1);
    try {
        item.AddImages(one);
        FAIL();
    } catch (const EInvalidGraphicOperation& e) {
        EXPECT_EQ(e.Message, "Too many images");
    }
    EXPECT_EQ(item.Count(), 2048);

    // An item may add its own images; masks travel when both are masked.
    TKitImageListItem masked;
    masked.SetMasked(true);
    fillImages(masked, 2);
    masked.AddImages(masked);
    EXPECT_EQ(masked.Count(), 4);
    EXPECT_EQ(masked.TransparentColorOf(3), imageColor(1));
    EXPECT_EQ(masked.Mask().Canvas().Pixel(3 * 16 + 3, 0), clBlack);
    EXPECT_EQ(masked.Mask().Canvas().Pixel(3 * 16 + 12, 0), clWhite);
    EXPECT_EQ(masked.Entries()[3], 0x10000u | 48u);

    // Assignment: the settings, then copies of the images.
    TKitImageListItem copy;
    copy.SetWidth(4);
    copy.Assign(&masked);
    EXPECT_EQ(copy.Width(), 16);
    EXPECT_TRUE(copy.Masked());
    EXPECT_EQ(copy.Count(), 4);
    EXPECT_EQ(copy.TransparentColorOf(2), imageColor(0));
}

TEST(ImageItems, SizeAndMaskSetters)
{
    TKitImageListItem item;
    fillImages(item, 3);
    int changes = 0;
    item.OnChange = [&](TObject*) { ++changes; };
    item.SetWidth(16);
    item.SetWidth(0);
    item.SetHeight(-2);
    EXPECT_EQ(item.Count(), 3);
    EXPECT_EQ(changes, 0);

    item.SetMasked(true);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(item.Count(), 3);
    EXPECT_EQ(item.TransparentColorOf(2), imageColor(2));
    EXPECT_TRUE(item.MaskMonochrome());
    EXPECT_EQ(item.Mask().Width(), 48);
    EXPECT_EQ(item.Mask().Height(), 16);
    EXPECT_EQ(item.Entries()[1], 0x10000u | 16u);
    item.SetMasked(false);
    EXPECT_EQ(item.Mask().Width(), 0);
    EXPECT_EQ(item.Entries()[1], 16u);

    item.SetWidth(20);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(item.Count(), 0);
    EXPECT_EQ(item.Strip().Width(), 0);
    EXPECT_EQ(item.Strip().Height(), 16);
    EXPECT_THROW(item.ImageRect(0), EListError);
}

TEST(PictureLists, CountsAndValidity)
{
    TKitBitmapList bitmaps;
    addBitmap(bitmaps, filled(9, 4, clRed));
    addBitmap(bitmaps, TBitmap());
    TKitImageList images;
    addImages(images, 3, false, 12, 5);

    EXPECT_EQ(bitmaps.ImageCount(0), 1);
    EXPECT_EQ(bitmaps.ImageCount(1), 0);
    EXPECT_EQ(bitmaps.ImageCount(2), 0);
    EXPECT_EQ(images.ImageCount(0), 3);
    EXPECT_EQ(images.ImageCount(1), -1);

    EXPECT_TRUE(bitmaps.IsValidImage(0, 77)); // the image index means nothing here
    EXPECT_TRUE(bitmaps.IsValidImage(0, -1));
    EXPECT_FALSE(bitmaps.IsValidImage(1, 0));
    EXPECT_FALSE(bitmaps.IsValidImage(2, 0));
    EXPECT_TRUE(images.IsValidImage(0, 2));
    EXPECT_FALSE(images.IsValidImage(0, 3));
    EXPECT_FALSE(images.IsValidImage(0, -1));
    EXPECT_FALSE(images.IsValidImage(1, 0));

    EXPECT_EQ(bitmaps.ImageDimension(0, 0), 9);
    EXPECT_EQ(bitmaps.ImageDimension(0, 1), 4);
    EXPECT_EQ(bitmaps.ImageDimension(0, 2), 0);
    EXPECT_EQ(bitmaps.ImageDimension(5, 0), 0);
    EXPECT_EQ(images.ImageDimension(0, 0), 12);
    EXPECT_EQ(images.ImageDimension(0, 1), 5);
    EXPECT_EQ(bitmaps.ImageRect(0, 3), TRect(0, 0, 9, 4));
    EXPECT_EQ(images.ImageRect(0, 2), TRect(24, 0, 36, 5));
    EXPECT_FALSE(bitmaps.IsMasked(0));
    EXPECT_FALSE(images.IsMasked(0));
    EXPECT_EQ(images.ImagePalette(0), nullptr);

    EXPECT_EQ(bitmaps.ImageTransparentColor(0, 0), clRed);
    EXPECT_EQ(bitmaps.ImageTransparentColor(3, 0), TColor(0xFFFFFF));
    EXPECT_EQ(images.ImageTransparentColor(0, 1), imageColor(1));
    EXPECT_EQ(bitmaps.ImagePixel(TPoint(2, 2), 0, 0), clRed);
    EXPECT_EQ(bitmaps.ImagePixel(TPoint(2, 2), 4, 0), TColor(0xFFFFFF));
    EXPECT_EQ(images.ImagePixel(TPoint(1, 1), 0, 2), imageColor(2));
    EXPECT_EQ(images.ImagePixel(TPoint(12, 1), 0, 2), TColor(0xFFFFFF));
    EXPECT_EQ(images.ImagePixel(TPoint(1, 1), 0, 3), TColor(0xFFFFFF));

    // No lower bound: a negative list index is the list's index error.
    EXPECT_THROW(bitmaps.ImageCount(-1), EListError);
    EXPECT_THROW(images.IsValidImage(-1, 0), EListError);
    EXPECT_THROW(images.ImageCanvas(1), EListError);
    EXPECT_THROW(bitmaps.GetImage(2, 0, nullptr), EListError);

    TBitmap got;
    images.GetImage(0, 1, &got);
    EXPECT_EQ(got.Width(), 12);
    EXPECT_EQ(got.Canvas().Pixel(11, 4), imageColor(1));
    bitmaps.GetImage(0, 0, &got);
    EXPECT_EQ(got.Width(), 9);
    images.GetImage(0, 0, nullptr);
}

TEST(PictureLists, AssignmentCopiesItemsAndSettings)
{
    TKitImageList images;
    addImages(images, 2, true);
    images.DefaultPixelFormat = spf4bit;
    images.DefaultCompressed = true;
    TKitImageList copy;
    TKitChangeLink link;
    int heard = 0;
    link.OnChange = [&](TObject*) { ++heard; };
    copy.AddChangeLink(&link);
    copy.Assign(&images);
    EXPECT_GT(heard, 0);
    EXPECT_EQ(copy.DefaultPixelFormat, spf4bit);
    EXPECT_TRUE(copy.DefaultCompressed);
    ASSERT_EQ(copy.Count(), 1);
    EXPECT_EQ(copy.ImageCount(0), 2);
    EXPECT_TRUE(copy.IsMasked(0));
    EXPECT_EQ(copy.ImageTransparentColor(0, 1), imageColor(1));

    TKitBitmapList bitmaps;
    addBitmap(bitmaps, filled(3, 3, clOlive), 8);
    TKitBitmapList bitmapCopy;
    bitmapCopy.Assign(&bitmaps);
    EXPECT_EQ(bitmapCopy.BitmapItem(0)->Ident, 8);
    EXPECT_EQ(bitmapCopy.ImagePixel(TPoint(1, 1), 0, 0), clOlive);
    EXPECT_THROW(bitmapCopy.Assign(&images), EConvertError);
}

TEST(PictureLists, Drawing)
{
    TKitImageList images;
    addImages(images, 2, true, 10, 10);
    addImages(images, 2, false, 10, 10);
    TKitBitmapList bitmaps;
    addBitmap(bitmaps, filled(10, 10, clRed));

    TBitmap canvas = filled(80, 40, clWhite);
    TCanvas& c = canvas.Canvas();
    c.CopyMode = TCopyMode::cmSrcInvert;
    images.Draw(&c, 0, 0, 0, 1); // masked: left half the image, right half clear
    EXPECT_EQ(c.CopyMode, TCopyMode::cmSrcInvert);
    c.CopyMode = TCopyMode::cmSrcCopy;
    EXPECT_EQ(c.Pixel(2, 5), imageColor(1));
    EXPECT_EQ(c.Pixel(7, 5), clWhite);
    images.Draw(&c, 10, 0, 1, 0); // plain copy
    EXPECT_EQ(c.Pixel(11, 5), imageColor(0));
    bitmaps.Draw(&c, 20, 0, 0, 0);
    EXPECT_EQ(c.Pixel(25, 5), clRed);

    TRect painted(1, 1, 2, 2);
    images.DrawInRect(&c, TRect(30, 0, 50, 20), KIT_DF_CENTER, 0, 0, painted);
    EXPECT_EQ(painted, TRect(35, 5, 45, 15));
    EXPECT_EQ(c.Pixel(36, 10), imageColor(0));
    EXPECT_EQ(c.Pixel(43, 10), clWhite);
    images.DrawInRect(&c, TRect(50, 0, 70, 20), KIT_DF_STRETCH, 1, 1, painted);
    EXPECT_EQ(painted, TRect(50, 0, 70, 20));
    EXPECT_EQ(c.Pixel(55, 15), imageColor(1));
    bitmaps.DrawInRect(&c, TRect(0, 20, 10, 30), 0, 0, 0, painted);
    EXPECT_EQ(c.Pixel(5, 25), clRed);

    images.DrawEx(&c, TRect(10, 20, 20, 30), 0, 0, clNone, 0, 1);
    EXPECT_EQ(c.Pixel(12, 25), imageColor(1));
    EXPECT_EQ(c.Pixel(18, 25), clWhite);
    images.DrawEx(&c, TRect(20, 20, 30, 30), 0, 0, clNone, 1, 0);
    EXPECT_EQ(c.Pixel(22, 25), imageColor(0));
    bitmaps.DrawEx(&c, TRect(30, 20, 40, 30), 0, 0, clNone, 0, 0);
    EXPECT_EQ(c.Pixel(35, 25), clRed);
    EXPECT_THROW(images.Draw(&c, 0, 0, 0, 2), EListError);
    canvas.Image().scaled(320, 160).save(testutil::outputDir() + "/picture_lists_drawing.png");

    // Blended styles over a background colour.
    auto* item = images.ImageItem(0);
    item->BkColor = clYellow;
    item->BlendColor = clBlue;
    item->DrawingStyle = 1;
    TBitmap blended = filled(10, 10, clWhite);
    images.Draw(&blended.Canvas(), 0, 0, 0, 0);
    EXPECT_EQ(blended.Canvas().Pixel(2, 2), imageColor(0));
    EXPECT_EQ(blended.Canvas().Pixel(3, 2), clBlue);
    EXPECT_EQ(blended.Canvas().Pixel(8, 2), clYellow);
    EXPECT_EQ(blended.Canvas().Pixel(9, 2), clBlue);
}
