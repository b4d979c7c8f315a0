#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <random>

#include "components/kitstream.h"
#include "components/kitutils.h"

#include "streambytes.h"

using namespace streambytes;

namespace {
Bytes blockStreamOf(const Bytes& payload)
{
    TMemoryStream src = streamOf(payload);
    TMemoryStream dst;
    WriteBlockStream(src, dst, src.Size());
    return dst.Bytes();
}

std::int32_t le32(const Bytes& b, std::size_t at)
{
    return std::int32_t(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t(b[at + 3]) << 24));
}
} // namespace

TEST(BlockStream, EmptyPayloadIsFourZeroBytes)
{
    EXPECT_EQ(blockStreamOf({}), (Bytes{0, 0, 0, 0}));
    TMemoryStream in = streamOf({0, 0, 0, 0, 0xAA});
    TMemoryStream out;
    ReadBlockStream(in, out);
    EXPECT_EQ(out.Size(), 0);
    EXPECT_EQ(in.Position(), 4);
}

TEST(BlockStream, ChunkSplitAt32781)
{
    std::mt19937 rng(7);
    Bytes one(32781), two(32782);
    for (auto& b : one)
        b = std::uint8_t(rng());
    for (auto& b : two)
        b = std::uint8_t(rng());

    const Bytes a = blockStreamOf(one);
    ASSERT_EQ(a.size(), 4u + 4 + 32782);
    EXPECT_EQ(le32(a, 0), 32782 + 4);
    EXPECT_EQ(le32(a, 4), 32782);
    EXPECT_EQ(a[8], 0x80);

    const Bytes b = blockStreamOf(two);
    // Two stored blocks; the second from a 1-byte chunk: 0x80 and the byte.
    ASSERT_EQ(b.size(), 4u + 4 + 32782 + 4 + 2);
    EXPECT_EQ(le32(b, 0), (32782 + 4) + (2 + 4));
    EXPECT_EQ(le32(b, 8 + 32782), 2);
    EXPECT_EQ(b[8 + 32782 + 4], 0x80);
    EXPECT_EQ(b.back(), two.back());

    for (const Bytes* payload : {&one, &two}) {
        TMemoryStream in = streamOf(blockStreamOf(*payload));
        TMemoryStream out;
        ReadBlockStream(in, out);
        EXPECT_EQ(out.Bytes(), *payload);
        EXPECT_EQ(in.Position(), in.Size());
    }
}

TEST(BlockStream, RoundTripsCompressibleAndLargePayloads)
{
    for (std::size_t n : {1u, 100u, 32780u, 65562u, 200000u}) {
        Bytes p(n);
        for (std::size_t i = 0; i < n; ++i)
            p[i] = std::uint8_t((i % 97) < 50 ? 'x' : (i * 7) & 0xFF);
        const Bytes stored = blockStreamOf(p);
        if (n > 1000) {
            EXPECT_LT(stored.size(), n);
        }
        // The stream stands behind what was written; data before it stays.
        TMemoryStream in;
        StreamWriteInteger(in, 1234);
        in.WriteBuffer(stored.data(), std::int64_t(stored.size()));
        StreamWriteByte(in, 0x5A);
        in.SetPosition(4);
        TMemoryStream out;
        StreamWriteByte(out, 0x11);
        ReadBlockStream(in, out);
        ASSERT_EQ(out.Size(), std::int64_t(n) + 1);
        EXPECT_TRUE(std::equal(p.begin(), p.end(), out.Bytes().begin() + 1));
        EXPECT_EQ(StreamReadByte(in), 0x5A);
    }
}

TEST(BlockStream, MalformedStreamsRaiseAndLeaveTheTargetAlone)
{
    auto expectRefused = [](const Bytes& data) {
        TMemoryStream in = streamOf(data);
        TMemoryStream out;
        StreamWriteByte(out, 0x77);
        EXPECT_THROW(ReadBlockStream(in, out), EReadError);
        EXPECT_EQ(out.Bytes(), Bytes{0x77});
        EXPECT_EQ(out.Position(), 1);
        EXPECT_EQ(in.Position(), 0);
    };
    expectRefused({});                                     // ends inside T
    expectRefused({0xFF, 0xFF, 0xFF, 0xFF});               // negative total
    expectRefused({100, 0, 0, 0, 1, 0, 0, 0, 0x80});       // total past the end
    expectRefused({6, 0, 0, 0, 0, 0, 0, 0, 0x80, 0x00});   // block length 0
    expectRefused({9, 0, 0, 0, 0xFB, 0xFF, 0xFF, 0xFF, 0x80, 0, 0, 0, 0}); // negative length
    expectRefused({7, 0, 0, 0, 9, 0, 0, 0, 0x80, 1, 2});   // length past the total
    expectRefused({3, 0, 0, 0, 1, 0, 0});                  // total ends inside L
    // A copy from before the output start.
    expectRefused({9, 0, 0, 0, 5, 0, 0, 0, 0x40, 0x80, 0x00, 0x01, 0x00});
    // A block of more than one chunk's worth of runs.
    Bytes tooLong{0, 0, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0xFF};
    for (int i = 0; i < 16; ++i)
        for (std::uint8_t b : {0x00, 0x0F, 0xEF, 0x41})
            tooLong.push_back(b);
    const std::int32_t len = std::int32_t(tooLong.size() - 8);
    tooLong[4] = std::uint8_t(len);
    tooLong[0] = std::uint8_t(len + 4);
    expectRefused(tooLong);
    // Blocks of eight runs each, 35 bytes for 32 760, past the stated bound.
    Bytes runs{0x40, 0xFF, 0x00}, expanding;
    for (int i = 0; i < 8; ++i)
        runs.insert(runs.end(), {0x00, 0x0F, 0xEF, 'A'});
    for (std::int64_t n = 0; n <= kBlockStreamMaxPayload; n += 32760) {
        putLE(expanding, std::uint32_t(runs.size()), 4);
        expanding.insert(expanding.end(), runs.begin(), runs.end());
    }
    putLE(expanding, std::uint32_t(expanding.size()), 4);
    std::rotate(expanding.begin(), expanding.end() - 4, expanding.end());
    expectRefused(expanding);
    TMemoryStream in = streamOf(expanding), out;
    EXPECT_THROW(ReadBlockStream(in, out), EKitFormatError);
}

TEST(BlockStream, WriterRefusesACountBeyondTheSource)
{
    TMemoryStream src = streamOf({1, 2, 3});
    TMemoryStream dst;
    EXPECT_THROW(WriteBlockStream(src, dst, 4), EReadError);
    EXPECT_EQ(dst.Size(), 0);
}

TEST(StreamFields, IntegersBytesAndShortStrings)
{
    TMemoryStream s;
    StreamWriteInteger(s, -2);
    StreamWriteByte(s, 200);
    StreamWriteShortString(s, QByteArray("abc"));
    StreamWriteShortString(s, QByteArray(255, 'z'));
    EXPECT_EQ(s.Size(), 4 + 1 + 4 + 256);
    EXPECT_EQ((Bytes(s.Bytes().begin(), s.Bytes().begin() + 9)), (Bytes{0xFE, 0xFF, 0xFF, 0xFF, 200, 3, 'a', 'b', 'c'}));

    // Over 255 bytes is refused, nothing written.
    EXPECT_THROW(StreamWriteShortString(s, QByteArray(300, 'q')), EWriteError);
    EXPECT_EQ(s.Size(), 4 + 1 + 4 + 256);

    s.SetPosition(0);
    EXPECT_EQ(StreamReadInteger(s), -2);
    EXPECT_EQ(StreamReadByte(s), 200);
    EXPECT_EQ(StreamReadShortString(s), QByteArray("abc"));
    EXPECT_EQ(StreamReadShortString(s), QByteArray(255, 'z'));
    EXPECT_THROW(StreamReadByte(s), EReadError);

    // A short string whose characters end early leaves the position alone.
    TMemoryStream cut = streamOf({5, 'a', 'b'});
    EXPECT_THROW(StreamReadShortString(cut), EReadError);
    EXPECT_EQ(cut.Position(), 0);
}

TEST(StoredText, OneBytePerCharacterInTheRussianCodePage)
{
    // Every byte reads as a character and writes back as the same byte.
    QByteArray all(256, '\0');
    for (int b = 0; b < 256; ++b)
        all[b] = char(b);
    EXPECT_EQ(StoredTextBytes(StoredTextString(all)), all);

    // Bytes as a Russian Windows program writes them: "Опис", "Ёё", "№".
    TMemoryStream file = streamOf({4, 0xCE, 0xEF, 0xE8, 0xF1, 2, 0xA8, 0xB8, 1, 0xB9});
    EXPECT_EQ(StoredTextString(StreamReadShortString(file)), QString("Опис"));
    EXPECT_EQ(StoredTextString(StreamReadShortString(file)), QString("Ёё"));
    EXPECT_EQ(StoredTextString(StreamReadShortString(file)), QString("№"));

    // 255 Cyrillic letters fit in a short string of 256 bytes.
    QString longest;
    for (int i = 0; i < 255; ++i)
        longest += QChar(u'а' + i % 32);
    TMemoryStream s;
    StreamWriteShortString(s, longest);
    EXPECT_EQ(s.Size(), 256);
    s.SetPosition(0);
    EXPECT_EQ(StoredTextString(StreamReadShortString(s)), longest);
    EXPECT_THROW(StreamWriteShortString(s, longest + "я"), EWriteError);
    EXPECT_EQ(s.Size(), 256);

    // A character the code page lacks is refused by name; nothing is written.
    TMemoryStream t;
    StreamWriteByte(t, 7);
    for (const QString& text : {QString("R = 5 Ω"), QString("ноты ♪"), QString("\U0001F600")}) {
        try {
            StreamWriteShortString(t, text);
            ADD_FAILURE() << text.toStdString();
        } catch (const EWriteError& e) {
            EXPECT_TRUE(e.Message.contains("Windows-1251")) << e.Message.toStdString();
        }
    }
    try {
        SaveStringListToStream(t, {"первая", "R = 5 Ω"}, true);
        ADD_FAILURE();
    } catch (const EWriteError& e) {
        EXPECT_TRUE(e.Message.contains("\"Ω\" (U+03A9)")) << e.Message.toStdString();
    }
    EXPECT_EQ(t.Bytes(), Bytes{7});
}

TEST(StreamPayloads, StringListsInBothForms)
{
    const QStringList lines{"first", "", "третья строка"};
    for (bool compressed : {false, true}) {
        TMemoryStream s;
        SaveStringListToStream(s, lines, compressed);
        if (!compressed) {
            EXPECT_EQ(le32(s.Bytes(), 0), std::int32_t(StringListText(lines).size()));
        }
        s.SetPosition(0);
        QStringList back{"old"};
        LoadStringListFromStream(s, back, compressed);
        EXPECT_EQ(back, lines);
        EXPECT_EQ(s.Position(), s.Size());

        // Empty lists are the four bytes 0 in either form and read back empty.
        TMemoryStream e;
        SaveStringListToStream(e, {}, compressed);
        EXPECT_EQ(e.Bytes(), (Bytes{0, 0, 0, 0}));
        e.SetPosition(0);
        LoadStringListFromStream(e, back, compressed);
        EXPECT_TRUE(back.isEmpty());
    }
    // A plain length beyond the stream keeps the old lines.
    TMemoryStream bad = streamOf({50, 0, 0, 0, 'a', '\r', '\n'});
    QStringList keep{"keep"};
    EXPECT_THROW(LoadStringListFromStream(bad, keep, false), EReadError);
    EXPECT_EQ(keep, QStringList{"keep"});
    EXPECT_EQ(bad.Position(), 0);
}

TEST(StreamClasses, MemoryAndFileStreams)
{
    TMemoryStream m;
    m.WriteBuffer("hello", 5);
    m.SetPosition(10);
    m.WriteBuffer("!", 1);
    EXPECT_EQ(m.Size(), 11);
    EXPECT_EQ(m.Bytes()[7], 0);
    m.SetPosition(3);
    char buf[16];
    EXPECT_EQ(m.Read(buf, 16), 8);
    EXPECT_THROW(m.Seek(-1, TSeekOrigin::soBeginning), EStreamError);

    const QString path = QDir::temp().filePath("kitstream_test.bin");
    m.SaveToFile(path);
    TMemoryStream back;
    back.LoadFromFile(path);
    EXPECT_EQ(back.Bytes(), m.Bytes());
    QFile::remove(path);
    EXPECT_THROW(TFileStream(path, TFileMode::fmOpenRead), EFOpenError);
}
