#include "components/kitstream.h"

#include <QDir>
#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#include "components/kitutils.h"

namespace {
QString readErrorText()
{
    return QStringLiteral("Stream read error");
}

// Windows-1251 bytes 0x80 to 0xBF; 0xC0 to 0xFF are А to я in order and
// 0x00 to 0x7F are ASCII. 0x98, which the code page leaves unused, stands
// for U+0098 so that every byte reads as some character and back.
constexpr char16_t kCp1251High[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // B8
};
constexpr char16_t kCp1251Letters = 0x0410; // А, byte 0xC0

// The byte for `c`, or -1 when the code page has none.
int cp1251Byte(char16_t c)
{
    if (c < 0x80)
        return c;
    if (c >= kCp1251Letters && c < kCp1251Letters + 64)
        return 0xC0 + (c - kCp1251Letters);
    for (int i = 0; i < 64; ++i)
        if (kCp1251High[i] == c)
            return 0x80 + i;
    return -1;
}

} // namespace

PositionGuard::~PositionGuard()
{
    if (!m_committed) {
        try {
            m_stream.SetPosition(m_start);
        } catch (...) {
        }
    }
}

// ---- TStream ----

TStream::~TStream() = default;

std::int64_t TStream::Size()
{
    const std::int64_t pos = Seek(0, TSeekOrigin::soCurrent);
    const std::int64_t size = Seek(0, TSeekOrigin::soEnd);
    Seek(pos, TSeekOrigin::soBeginning);
    return size;
}

void TStream::ReadBuffer(void* buffer, std::int64_t count)
{
    if (count < 0 || (count > 0 && Read(buffer, count) != count))
        throw EReadError(readErrorText());
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count)
{
    if (count < 0 || (count > 0 && Write(buffer, count) != count))
        throw EWriteError(QStringLiteral("Stream write error"));
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count)
{
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    const std::int64_t total = count;
    std::vector<std::uint8_t> buf(std::size_t(std::min<std::int64_t>(count, 61440)));
    while (count > 0) {
        const std::int64_t n = std::min<std::int64_t>(count, std::int64_t(buf.size()));
        source.ReadBuffer(buf.data(), n);
        WriteBuffer(buf.data(), n);
        count -= n;
    }
    return total;
}

// ---- TMemoryStream ----

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count)
{
    const std::int64_t size = std::int64_t(m_data.size());
    if (count <= 0 || m_pos >= size)
        return 0;
    const std::int64_t n = std::min(count, size - m_pos);
    std::memcpy(buffer, m_data.data() + m_pos, std::size_t(n));
    m_pos += n;
    return n;
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count)
{
    if (count <= 0)
        return 0;
    const std::int64_t end = m_pos + count;
    if (end > std::int64_t(m_data.size()))
        m_data.resize(std::size_t(end));
    std::memcpy(m_data.data() + m_pos, buffer, std::size_t(count));
    m_pos = end;
    return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    std::int64_t base = 0;
    switch (origin) {
    case TSeekOrigin::soBeginning: base = 0; break;
    case TSeekOrigin::soCurrent: base = m_pos; break;
    case TSeekOrigin::soEnd: base = std::int64_t(m_data.size()); break;
    }
    const std::int64_t pos = base + offset;
    if (pos < 0)
        throw EStreamError(QStringLiteral("Stream seek before the start"));
    m_pos = pos;
    return m_pos;
}

void TMemoryStream::SetSize(std::int64_t newSize)
{
    if (newSize < 0)
        throw EStreamError(QStringLiteral("Invalid stream size"));
    m_data.resize(std::size_t(newSize));
    m_pos = std::min(m_pos, newSize);
}

void TMemoryStream::Clear()
{
    m_data.clear();
    m_data.shrink_to_fit();
    m_pos = 0;
}

void TMemoryStream::LoadFromStream(TStream& source)
{
    source.SetPosition(0);
    const std::int64_t count = source.Size();
    std::vector<std::uint8_t> data(std::size_t(std::max<std::int64_t>(count, 0)));
    source.ReadBuffer(data.data(), count);
    m_data = std::move(data);
    m_pos = 0;
}

void TMemoryStream::SaveToStream(TStream& dest)
{
    dest.WriteBuffer(m_data.data(), std::int64_t(m_data.size()));
}

void TMemoryStream::LoadFromFile(const QString& fileName)
{
    TFileStream f(fileName, TFileMode::fmOpenRead);
    LoadFromStream(f);
}

void TMemoryStream::SaveToFile(const QString& fileName)
{
    TFileStream f(fileName, TFileMode::fmCreate);
    SaveToStream(f);
}

// ---- TFileStream ----

TFileStream::TFileStream(const QString& fileName, TFileMode mode) : m_file(fileName)
{
    switch (mode) {
    case TFileMode::fmOpenRead:
        if (!m_file.open(QIODevice::ReadOnly))
            throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2")
                                  .arg(QDir::toNativeSeparators(fileName), m_file.errorString()));
        break;
    case TFileMode::fmOpenReadWrite:
        if (!m_file.open(QIODevice::ReadWrite))
            throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2")
                                  .arg(QDir::toNativeSeparators(fileName), m_file.errorString()));
        break;
    case TFileMode::fmCreate:
        if (!m_file.open(QIODevice::ReadWrite | QIODevice::Truncate))
            throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2")
                                    .arg(QDir::toNativeSeparators(fileName), m_file.errorString()));
        break;
    }
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count)
{
    if (count <= 0)
        return 0;
    return std::max<std::int64_t>(m_file.read(static_cast<char*>(buffer), count), 0);
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count)
{
    if (count <= 0)
        return 0;
    return std::max<std::int64_t>(m_file.write(static_cast<const char*>(buffer), count), 0);
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    std::int64_t base = 0;
    switch (origin) {
    case TSeekOrigin::soBeginning: base = 0; break;
    case TSeekOrigin::soCurrent: base = m_file.pos(); break;
    case TSeekOrigin::soEnd: base = m_file.size(); break;
    }
    if (base + offset < 0 || !m_file.seek(base + offset))
        throw EStreamError(QStringLiteral("Stream seek error"));
    return m_file.pos();
}

void TFileStream::SetSize(std::int64_t newSize)
{
    if (!m_file.resize(newSize))
        throw EStreamError(QStringLiteral("Cannot set the file size"));
}

// ---- Memory of a load ----

namespace {
thread_local std::int64_t tCharged = -1; // -1: no load open on this thread
}

readmemory::Load::Load() : m_opened(tCharged < 0)
{
    if (m_opened)
        tCharged = 0;
}

readmemory::Load::~Load()
{
    if (m_opened)
        tCharged = -1;
}

bool readmemory::TryCharge(std::int64_t count, std::int64_t each)
{
    const Load load;
    // Divided rather than multiplied: the count comes from the data and
    // the product may not fit.
    const std::int64_t left = kReadMemoryBudget - tCharged;
    if (count < 0 || each < 0 || (each > 0 && count > left / each))
        return false;
    tCharged += count * each;
    return true;
}

void readmemory::Charge(std::int64_t count, std::int64_t each)
{
    if (!TryCharge(count, each))
        throw EReadError(QStringLiteral("Loading the stored data would take more than %1 bytes of memory")
                             .arg(kReadMemoryBudget));
}

// ---- Block streams ----

void WriteBlockStream(TStream& source, TStream& dest, std::int64_t count)
{
    // Refused up front rather than looping on a source that has run dry.
    if (count < 0 || count > source.Remaining())
        throw EReadError(readErrorText());
    if (count > kBlockStreamMaxPayload)
        throw EWriteError(QStringLiteral("A block stream holds at most %1 bytes, not %2")
                              .arg(kBlockStreamMaxPayload).arg(count));
    std::vector<std::uint8_t> chunk(kBlockChunkSize);
    std::vector<std::uint8_t> block(kBlockChunkSize + kLZRWOverrun);
    const std::int64_t p = dest.Position();
    std::int32_t total = 0;
    StreamWriteInteger(dest, 0);
    while (count > 0) {
        const int n = int(std::min<std::int64_t>(count, kBlockChunkSize));
        source.ReadBuffer(chunk.data(), n);
        const std::uint32_t len = LZRWCompress(chunk.data(), std::uint16_t(n), block.data());
        StreamWriteInteger(dest, std::int32_t(len));
        dest.WriteBuffer(block.data(), len);
        total += std::int32_t(len) + 4;
        count -= n;
    }
    const std::int64_t end = dest.Position();
    dest.SetPosition(p);
    StreamWriteInteger(dest, total);
    dest.SetPosition(end);
}

void ReadBlockStream(TStream& source, TStream& dest)
{
    PositionGuard guard(source);
    std::int32_t total = StreamReadInteger(source);
    if (total < 0)
        throw EKitFormatError(QStringLiteral("Block stream with a negative length (%1)").arg(total));
    if (total > source.Remaining())
        throw EKitFormatError(QStringLiteral("Block stream of %1 bytes is longer than the %2 bytes left")
                                  .arg(total).arg(source.Remaining()));
    const readmemory::Load load;
    ReadWithinMemory([&] {
        std::vector<std::uint8_t> block(kBlockMaxLength);
        std::vector<std::uint8_t> chunk(kBlockChunkSize);
        // Kept chunk by chunk: one buffer grown to the payload would hold up
        // to three times it while it grows.
        std::vector<std::vector<std::uint8_t>> payload;
        std::int64_t size = 0;
        while (total > 0) {
            if (total < 4)
                throw EKitFormatError(QStringLiteral("Block stream ends inside a block length"));
            const std::int32_t len = StreamReadInteger(source);
            if (len < 1 || len > kBlockMaxLength || len > total - 4)
                throw EKitFormatError(QStringLiteral("Block length %1 out of range").arg(len));
            source.ReadBuffer(block.data(), len);
            std::uint32_t n = 0;
            try {
                n = LZRWDecompress(block.data(), std::uint32_t(len), chunk.data(), kBlockChunkSize);
            } catch (const ELZRWError& e) {
                throw EKitFormatError(e.Message);
            }
            if (size + n > kBlockStreamMaxPayload)
                throw EKitFormatError(QStringLiteral("Block stream expands beyond %1 bytes")
                                          .arg(kBlockStreamMaxPayload));
            readmemory::Charge(n);
            payload.emplace_back(chunk.begin(), chunk.begin() + n);
            size += n;
            total -= len + 4;
        }
        // `dest` is written only once the payload is whole, so that a
        // refusal leaves it untouched: for that moment the payload is held
        // twice. It grows to its new size at once, not doubling chunk by chunk.
        readmemory::Charge(size);
        const std::int64_t end = dest.Position() + size;
        if (size > 0 && end > dest.Size())
            dest.SetSize(end);
        for (const std::vector<std::uint8_t>& part : payload)
            dest.WriteBuffer(part.data(), std::int64_t(part.size()));
    });
    guard.Commit();
}

// ---- Fields ----

void StreamWriteInteger(TStream& s, std::int32_t value)
{
    const std::uint32_t v = std::uint32_t(value);
    const std::uint8_t b[4] = {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)};
    s.WriteBuffer(b, 4);
}

std::int32_t StreamReadInteger(TStream& s)
{
    std::uint8_t b[4];
    s.ReadBuffer(b, 4);
    return std::int32_t(std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) |
                        (std::uint32_t(b[3]) << 24));
}

void StreamWriteByte(TStream& s, std::uint8_t value)
{
    s.WriteBuffer(&value, 1);
}

std::uint8_t StreamReadByte(TStream& s)
{
    std::uint8_t b;
    s.ReadBuffer(&b, 1);
    return b;
}

void StreamWriteShortString(TStream& s, const QByteArray& value)
{
    if (value.size() > 255)
        throw EWriteError(QStringLiteral("A short string holds at most 255 bytes, not %1").arg(value.size()));
    StreamWriteByte(s, std::uint8_t(value.size()));
    s.WriteBuffer(value.constData(), value.size());
}

void StreamWriteShortString(TStream& s, const QString& value)
{
    StreamWriteShortString(s, ShortStringBytes(value));
}

QByteArray ShortStringBytes(const QString& value)
{
    const QByteArray bytes = StoredTextBytes(value);
    if (bytes.size() > 255)
        throw EWriteError(QStringLiteral("A short string holds at most 255 characters, not %1").arg(bytes.size()));
    return bytes;
}

QByteArray StreamReadShortString(TStream& s)
{
    PositionGuard guard(s);
    const int n = StreamReadByte(s);
    QByteArray text(n, '\0');
    s.ReadBuffer(text.data(), n);
    guard.Commit();
    return text;
}

std::int32_t StreamReadLength(TStream& s)
{
    const std::int32_t n = StreamReadInteger(s);
    if (n < 0 || n > s.Remaining())
        throw EKitFormatError(QStringLiteral("Stored length %1 does not fit the %2 bytes left")
                                  .arg(n).arg(s.Remaining()));
    return n;
}

// ---- Stored text ----

QByteArray StoredTextBytes(const QString& text)
{
    QByteArray bytes(text.size(), '\0');
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int b = cp1251Byte(text[i].unicode());
        if (b < 0) {
            const char32_t code = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()
                                      ? QChar::surrogateToUcs4(text[i], text[i + 1])
                                      : text[i].unicode();
            const QString hex = QString::number(uint(code), 16).toUpper().rightJustified(4, QLatin1Char('0'));
            throw EWriteError(QStringLiteral("The character \"%1\" (U+%2) cannot be stored: "
                                             "the Windows-1251 code page has no byte for it")
                                  .arg(QString::fromUcs4(&code, 1), hex));
        }
        bytes[i] = char(b);
    }
    return bytes;
}

QString StoredTextString(const QByteArray& bytes)
{
    QString text(bytes.size(), QChar());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = std::uint8_t(bytes[i]);
        text[i] = QChar(b < 0x80 ? char16_t(b) : b < 0xC0 ? kCp1251High[b - 0x80] : char16_t(kCp1251Letters + b - 0xC0));
    }
    return text;
}

// ---- Payloads ----

namespace {
// What a line of a string list holds besides its characters: its place in
// the list and the string's own block with the allocator's share.
constexpr std::int64_t kLineCost = 64;

// The lines StringListFromText makes of `text`: one for every line end (CR,
// LF or CR LF) and one for a last line without.
qsizetype lineCount(const QByteArray& text)
{
    qsizetype n = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == size || text[i + 1] != '\n')))
            ++n;
    if (size > 0 && text[size - 1] != '\r' && text[size - 1] != '\n')
        ++n;
    return n;
}
} // namespace

QByteArray StringListText(const QStringList& list)
{
    QByteArray text;
    for (const QString& line : list) {
        text += StoredTextBytes(line);
        text += "\r\n";
    }
    return text;
}

QStringList StringListFromText(const QByteArray& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    while (start < n) {
        qsizetype i = start;
        while (i < n && text[i] != '\r' && text[i] != '\n')
            ++i;
        lines << StoredTextString(text.mid(start, i - start));
        if (i < n && text[i] == '\r')
            ++i;
        if (i < n && text[i] == '\n')
            ++i;
        start = i;
    }
    return lines;
}

void SavePayloadToStream(TStream& s, TMemoryStream& payload, bool compressed)
{
    if (compressed) {
        payload.SetPosition(0);
        WriteBlockStream(payload, s, payload.Size());
    } else {
        if (payload.Size() > std::numeric_limits<std::int32_t>::max())
            throw EWriteError(QStringLiteral("Payload too large for a 32-bit length"));
        StreamWriteInteger(s, std::int32_t(payload.Size()));
        payload.SaveToStream(s);
    }
}

std::unique_ptr<TMemoryStream> LoadPayloadFromStream(TStream& s, bool compressed)
{
    PositionGuard guard(s);
    auto payload = ReadWithinMemory([&] {
        auto tmp = std::make_unique<TMemoryStream>();
        if (compressed) {
            ReadBlockStream(s, *tmp);
        } else {
            const std::int32_t n = StreamReadLength(s);
            readmemory::Charge(n);
            tmp->SetSize(n);
            s.ReadBuffer(tmp->Memory(), n);
        }
        tmp->SetPosition(0);
        return tmp;
    });
    guard.Commit();
    return payload;
}

void SaveStringListToStream(TStream& s, const QStringList& list, bool compressed)
{
    SaveStringListTextToStream(s, StringListText(list), compressed);
}

void SaveStringListTextToStream(TStream& s, const QByteArray& text, bool compressed)
{
    TMemoryStream tmp;
    tmp.WriteBuffer(text.constData(), text.size());
    SavePayloadToStream(s, tmp, compressed);
}

void LoadStringListFromStream(TStream& s, QStringList& list, bool compressed)
{
    PositionGuard guard(s);
    const readmemory::Load load;
    ReadWithinMemory([&] {
        auto tmp = LoadPayloadFromStream(s, compressed);
        const QByteArray text = QByteArray::fromRawData(reinterpret_cast<const char*>(tmp->Memory()),
                                                        qsizetype(tmp->Size()));
        // Every character becomes two bytes, and every line a string of its
        // own: a payload of line ends alone is some fifty bytes a byte.
        readmemory::Charge(text.size(), 2);
        readmemory::Charge(lineCount(text), kLineCost);
        list = StringListFromText(text);
    });
    guard.Commit();
}
