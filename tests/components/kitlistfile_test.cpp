#include <gtest/gtest.h>

#include <functional>

#include "components/kitimglist.h"
#include "components/kitlistfile.h"

#include "listfiles.h"
#include "streambytes.h"

using namespace streambytes;
using namespace listfiles;

namespace {
Bytes signed8(const char* signature, std::int32_t n)
{
    Bytes b{8};
    for (int i = 0; i < 8; ++i)
        b.push_back(std::uint8_t(signature[i]));
    putLE(b, std::uint32_t(n), 4);
    return b;
}
} // namespace

TEST(ListFiles, KindsBySignature)
{
    QTemporaryDir dir;
    std::int32_t n = 0;
    std::vector<std::int32_t> offsets{42};

    EXPECT_EQ(ReadListFileHeader(writeFile(dir, "a", signed8("KITBML30", 0)), n, &offsets), 1);
    EXPECT_EQ(n, 0);
    EXPECT_TRUE(offsets.empty());
    const char* signatures[] = {"KITIML30", "KITBML30", "KITWVL30", "KITSLL30", "KITRTL30"};
    for (int kind = 0; kind < 5; ++kind) {
        EXPECT_EQ(ReadListFileHeader(writeFile(dir, "k", signed8(signatures[kind], 0)), n, nullptr), kind);
        EXPECT_EQ(ListFileSignature(kind), QByteArray(signatures[kind]));
    }

    // The last character differs: no list file, but N is read all the same.
    offsets = {42};
    EXPECT_EQ(ReadListFileHeader(writeFile(dir, "b", signed8("KITBML31", 7)), n, &offsets), 5);
    EXPECT_EQ(n, 7);
    EXPECT_EQ(offsets, std::vector<std::int32_t>{42});
    EXPECT_EQ(ReadListFileHeader(writeFile(dir, "c", signed8("kitbml30", 3)), n, nullptr), 5);

    // Too short for a signature or a count.
    EXPECT_EQ(ReadListFileHeader(writeFile(dir, "d", {8, 'K', 'I', 'T'}), n, nullptr), 5);
    EXPECT_EQ(n, -1);
    EXPECT_EQ(ReadListFileHeader(writeFile(dir, "e", {}), n, nullptr), 5);
    EXPECT_EQ(n, -1);
    Bytes cut = signed8("KITBML30", 0);
    cut.resize(11);
    EXPECT_THROW(ReadListFileHeader(writeFile(dir, "f", cut), n, nullptr), EKitFormatError);

    // Counts and offsets that do not fit the file leave the table alone.
    const auto refused = [&](const Bytes& b) {
        offsets = {42};
        EXPECT_THROW(ReadListFileHeader(writeFile(dir, "g", b), n, &offsets), EKitFormatError);
        EXPECT_EQ(offsets, std::vector<std::int32_t>{42});
    };
    refused(signed8("KITSLL30", -1));
    refused(signed8("KITSLL30", 1000000));
    Bytes before = signed8("KITSLL30", 1);
    putLE(before, 9, 4); // into the header
    before.push_back(0);
    refused(before);
    Bytes past = signed8("KITSLL30", 1);
    putLE(past, 18, 4); // past the end
    past.push_back(0);
    refused(past);

    EXPECT_THROW(ReadListFileHeader(dir.filePath("missing"), n, nullptr), EFOpenError);
    EXPECT_EQ(n, -1);
}

TEST(ListFiles, ItemFileExtensions)
{
    EXPECT_EQ(ItemFileExtension(1, true), ".bmp");
    EXPECT_EQ(ItemFileExtension(0, false), "iml");
    EXPECT_EQ(ItemFileExtension(2, true), ".wav");
    EXPECT_EQ(ItemFileExtension(3, false), "txt");
    EXPECT_EQ(ItemFileExtension(4, false), "rtf");
    EXPECT_EQ(ItemFileExtension(7, true), "");
    EXPECT_EQ(ItemFileExtension(-1, true), "");
}

TEST(ListFiles, EveryKindOfListRoundTrips)
{
    QTemporaryDir dir;
    TKitStringList strings;
    for (int i = 0; i < 3; ++i) {
        auto* item = static_cast<TKitStringListItem*>(strings.Item(strings.AddItem()));
        for (int line = 0; line < i; ++line)
            item->Items << QString("line %1").arg(line);
        item->Ident = std::uint16_t(i * 100);
        item->Compressed = i == 1;
    }
    TKitWaveList waves;
    auto* wave = static_cast<TKitWaveListItem*>(waves.Item(waves.AddItem()));
    TMemoryStream img = streamOf(waveImage(20));
    wave->Wave()->LoadFromStream(img);
    waves.AddItem();
    TKitBitmapList bitmaps;
    TBitmap picture(4, 3);
    picture.Canvas().Brush.Color = clTeal;
    picture.Canvas().FillRect(TRect(0, 0, 4, 3));
    bitmaps.AddItem();
    bitmaps.BitmapItem(bitmaps.AddItem())->SetBitmap(picture);
    TKitImageList images;
    auto* strip = images.ImageItem(images.AddItem());
    strip->SetMasked(true);
    fillImages(*strip, 5);

    const std::pair<TKitCustomContainer*, std::function<TKitCustomContainer*()>> lists[] = {
        {&strings, [] { return new TKitStringList; }},
        {&waves, [] { return new TKitWaveList; }},
        {&bitmaps, [] { return new TKitBitmapList; }},
        {&images, [] { return new TKitImageList; }},
    };
    for (const auto& [list, make] : lists) {
        const QString file = writeFile(dir, "list", listFileBytes(*list));
        std::int32_t n = 0;
        std::vector<std::int32_t> offsets;
        ASSERT_EQ(ReadListFileHeader(file, n, &offsets), list->ListKind);
        ASSERT_EQ(n, list->Count());

        // The whole list back from position 9.
        TMemoryStream s;
        s.LoadFromFile(file);
        s.SetPosition(9);
        std::unique_ptr<TKitCustomContainer> back(make());
        back->LoadFromStream(s, true);
        EXPECT_EQ(s.Position(), s.Size());
        ASSERT_EQ(back->Count(), list->Count());

        // Each item alone, by its offset, equals its stored form.
        for (int i = 0; i < n; ++i) {
            std::unique_ptr<TKitListItem> item(qobject_cast<TKitListItem*>(
                list->ItemClass->newInstance(Q_ARG(QObject*, nullptr))));
            EXPECT_TRUE(LoadListFileItem(file, list->ListKind, nullptr, *item, i));
            TMemoryStream mine, theirs, whole;
            item->SaveToStream(mine);
            list->Item(i)->SaveToStream(theirs);
            back->Item(i)->SaveToStream(whole);
            EXPECT_EQ(mine.Bytes(), theirs.Bytes()) << list->ListKind << " item " << i;
            EXPECT_EQ(whole.Bytes(), theirs.Bytes()) << list->ListKind << " item " << i;
            // With the table at hand the header is not read again.
            std::unique_ptr<TKitListItem> again(qobject_cast<TKitListItem*>(
                list->ItemClass->newInstance(Q_ARG(QObject*, nullptr))));
            EXPECT_TRUE(LoadListFileItem(file, 99, &offsets, *again, i));
        }
    }
}

TEST(ListFiles, LoadingOneBitmap)
{
    QTemporaryDir dir;
    TKitBitmapList bitmaps;
    bitmaps.AddItem(); // no bitmap
    TBitmap picture(6, 2);
    picture.Canvas().Brush.Color = clMaroon;
    picture.Canvas().FillRect(TRect(0, 0, 6, 2));
    bitmaps.BitmapItem(bitmaps.AddItem())->SetBitmap(picture);
    const QString file = writeFile(dir, "bitmaps", listFileBytes(bitmaps));

    TBitmap got(3, 3);
    EXPECT_TRUE(LoadBitmapFromListFile(file, 1, got));
    EXPECT_EQ(got.Width(), 6);
    EXPECT_EQ(got.Canvas().Pixel(5, 1), clMaroon);
    EXPECT_TRUE(LoadBitmapFromListFile(file, 0, got));
    EXPECT_TRUE(got.Empty());

    got = picture;
    EXPECT_THROW(LoadBitmapFromListFile(file, 2, got), EListError);
    EXPECT_THROW(LoadBitmapFromListFile(file, -1, got), EListError);
    EXPECT_EQ(got.Width(), 6);

    TKitImageList images;
    images.AddItem();
    const QString imageFile = writeFile(dir, "images", listFileBytes(images));
    try {
        LoadBitmapFromListFile(imageFile, 0, got);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, "Cannot open file %s: " + imageFile);
    }
    EXPECT_EQ(got.Width(), 6);

    // An item cut off in the file: nothing is loaded.
    Bytes bytes = listFileBytes(bitmaps);
    bytes.resize(bytes.size() - 10);
    EXPECT_THROW(LoadBitmapFromListFile(writeFile(dir, "cut", bytes), 1, got), EReadError);
    EXPECT_EQ(got.Canvas().Pixel(0, 0), clMaroon);
}
