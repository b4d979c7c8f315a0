#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "components/kitwave.h"

#include "streambytes.h"

using namespace streambytes;

namespace {
Bytes dataOf(const TKitWave& w)
{
    return w.Data() ? w.Data()->Bytes() : Bytes{};
}
} // namespace

TEST(KitWave, HeaderCheck)
{
    TKitWaveInfo info;
    TMemoryStream stereo = streamOf(waveImage(16, 2, 1));
    EXPECT_TRUE(TKitWave::GetWaveData(&stereo, info));
    EXPECT_EQ(info.Channels, 2);
    EXPECT_TRUE(info.PCM);
    EXPECT_EQ(info.SamplesPerSec, 8000u);
    EXPECT_EQ(info.BlockAlign, 2);
    EXPECT_EQ(info.RIFFSize, 36u + 16);
    EXPECT_EQ(stereo.Position(), 0);

    // Compressed formats and odd channel counts are only reported.
    TMemoryStream odd = streamOf(waveImage(16, 5, 2));
    EXPECT_TRUE(TKitWave::GetWaveData(&odd, info));
    EXPECT_EQ(info.Channels, 0);
    EXPECT_FALSE(info.PCM);

    Bytes listFirst = waveImage();
    std::copy_n("LIST", 4, listFirst.begin() + 12);
    TMemoryStream lf = streamOf(listFirst);
    EXPECT_FALSE(TKitWave::GetWaveData(&lf, info));
    EXPECT_EQ(lf.Position(), 0);

    EXPECT_FALSE(TKitWave::GetWaveData(nullptr, info));
    TMemoryStream empty;
    EXPECT_FALSE(TKitWave::GetWaveData(&empty, info));

    // RIFF, WAVE and "fmt " but fewer than 34 bytes: a checking error.
    const Bytes full = waveImage();
    TMemoryStream shortOne = streamOf(Bytes(full.begin(), full.begin() + 33));
    EXPECT_THROW(TKitWave::GetWaveData(&shortOne, info), EErrorCheckingWave);
    EXPECT_EQ(shortOne.Position(), 0);
    try {
        TKitWave::GetWaveData(&shortOne, info);
    } catch (const EErrorCheckingWave& e) {
        EXPECT_EQ(e.Message, "GetWaveData: Cannot open file %s");
    }
}

TEST(KitWave, LoadingKeepsTheOldSoundOnBadData)
{
    TKitWave w;
    int changes = 0;
    w.OnChange = [&](TObject*) { ++changes; };
    TMemoryStream good = streamOf(waveImage());
    w.LoadFromStream(good);
    EXPECT_EQ(dataOf(w), waveImage());
    EXPECT_EQ(changes, 1);

    Bytes notRiff = waveImage();
    notRiff[0] = 'X';
    for (const Bytes& data : {notRiff, Bytes(notRiff.begin(), notRiff.begin() + 16)}) {
        TMemoryStream bad = streamOf(data);
        try {
            w.LoadFromStream(bad);
            FAIL();
        } catch (const EInvalidWave& e) {
            EXPECT_EQ(e.Message, "TKitWave: Cannot open file %s");
        }
        EXPECT_EQ(bad.Position(), 0);
        EXPECT_EQ(dataOf(w), waveImage());
    }

    // A length prefix larger than what is there: nothing is allocated for it.
    Bytes lying;
    putLE(lying, 0x7FFFFFF0, 4);
    const Bytes img = waveImage();
    lying.insert(lying.end(), img.begin(), img.end());
    TMemoryStream ls = streamOf(lying);
    EXPECT_THROW(w.LoadFromLengthPrefixedStream(ls), EReadError);
    EXPECT_EQ(ls.Position(), 0);
    EXPECT_EQ(dataOf(w), waveImage());
    EXPECT_EQ(changes, 1);

    // A sound block stream whose payload is no wave: the source is back
    // where it was, ready for the caller to read it otherwise.
    TMemoryStream notWave;
    StreamWriteByte(notWave, 0xEE);
    const std::int64_t at = notWave.Position();
    TMemoryStream payload = streamOf(notRiff);
    WriteBlockStream(payload, notWave, payload.Size());
    notWave.SetPosition(at);
    EXPECT_THROW(w.LoadFromCompressedStream(notWave), EInvalidWave);
    EXPECT_EQ(notWave.Position(), at);
    EXPECT_EQ(dataOf(w), waveImage());

    // Fewer bytes than the count.
    TMemoryStream cut = streamOf(Bytes(img.begin(), img.begin() + 40));
    EXPECT_THROW(w.ReadWave(60, cut), EReadError);
    EXPECT_EQ(dataOf(w), waveImage());

    // An empty source clears.
    TMemoryStream none;
    w.LoadFromStream(none);
    EXPECT_TRUE(w.IsEmpty());
    EXPECT_FALSE(w.HasDataProperty());
}

TEST(KitWave, EmptyWaveWrittenOutReadsBack)
{
    TKitWave w;
    TMemoryStream plain;
    w.SaveToStream(plain);
    EXPECT_EQ(plain.Size(), 0);
    EXPECT_TRUE(w.HasDataProperty()); // an empty data stream of its own now
    EXPECT_TRUE(w.IsEmpty());

    TMemoryStream prefixed;
    w.SaveToLengthPrefixedStream(prefixed);
    EXPECT_EQ(prefixed.Bytes(), (Bytes{0, 0, 0, 0}));
    StreamWriteByte(prefixed, 0xEE); // data that follows stays in step
    prefixed.SetPosition(0);
    TKitWave back;
    TMemoryStream img = streamOf(waveImage());
    back.LoadFromStream(img);
    back.LoadFromLengthPrefixedStream(prefixed);
    EXPECT_TRUE(back.IsEmpty());
    EXPECT_EQ(StreamReadByte(prefixed), 0xEE);

    TMemoryStream compressed;
    w.SaveToCompressedStream(compressed);
    EXPECT_EQ(compressed.Bytes(), (Bytes{0, 0, 0, 0}));
    compressed.SetPosition(0);
    back.LoadFromCompressedStream(compressed);
    EXPECT_TRUE(back.IsEmpty());
}

TEST(KitWave, StoredFormsAndFilesRoundTrip)
{
    TKitWave w;
    TMemoryStream img = streamOf(waveImage(3000, 2, 1));
    w.LoadFromStream(img);
    for (bool compressed : {false, true}) {
        TMemoryStream s;
        SaveWaveToStream(s, w, compressed);
        s.SetPosition(0);
        TKitWave back;
        LoadWaveFromStream(s, back, compressed);
        EXPECT_EQ(dataOf(back), dataOf(w));
        EXPECT_EQ(s.Position(), s.Size());
    }
    const QString path = QDir::temp().filePath("kitwave_test.wav");
    w.SaveToFile(path);
    TKitWave fromFile(path);
    EXPECT_EQ(dataOf(fromFile), dataOf(w));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.close();
    fromFile.LoadFromFile(path); // a file of 0 bytes clears
    EXPECT_TRUE(fromFile.IsEmpty());
    QFile::remove(path);
}

TEST(KitWave, Assignment)
{
    TKitWave a, b;
    TMemoryStream img = streamOf(waveImage());
    a.LoadFromStream(img);
    int changes = 0;
    b.OnChange = [&](TObject*) { ++changes; };
    b.Assign(&a);
    EXPECT_EQ(dataOf(b), dataOf(a));
    EXPECT_EQ(changes, 1);
    EXPECT_NE(b.Data(), a.Data());

    b.Assign(&b); // self-assignment keeps the data
    EXPECT_EQ(dataOf(b), waveImage());

    TKitWave empty;
    b.Assign(&empty);
    EXPECT_TRUE(b.IsEmpty());
    EXPECT_TRUE(b.HasDataProperty()); // empty but present

    b.Assign(nullptr);
    EXPECT_FALSE(b.HasDataProperty());

    QObject other;
    try {
        b.Assign(&other);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message, "Cannot assign a QObject to a TKitWave");
    }
}
