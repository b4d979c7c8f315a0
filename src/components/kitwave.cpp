#include "components/kitwave.h"

#include <cstring>

namespace {
const QString kCannotOpen = QStringLiteral("Cannot open file %s");
}

TKitWave::TKitWave() = default;

TKitWave::TKitWave(const QString& fileName)
{
    LoadFromFile(fileName);
}

TKitWave::~TKitWave()
{
    if (m_data)
        Stop();
}

bool TKitWave::IsEmpty() const
{
    return !m_data || m_data->Size() == 0;
}

std::int64_t TKitWave::DataSize() const
{
    return IsEmpty() ? 0 : m_data->Size();
}

void TKitWave::SetStream(std::unique_ptr<TMemoryStream> stream)
{
    if (m_data)
        Stop();
    m_data = std::move(stream);
    if (m_data)
        m_data->SetPosition(0);
    Change();
}

void TKitWave::Clear()
{
    SetStream(nullptr);
}

std::unique_ptr<TMemoryStream> TKitWave::TakeStream()
{
    if (m_data)
        Stop();
    std::unique_ptr<TMemoryStream> data = std::move(m_data);
    Change();
    return data;
}

void TKitWave::Stop() {}

void TKitWave::ReadWave(std::int64_t count, TStream& source)
{
    if (source.Size() == 0) {
        SetStream(nullptr);
        return;
    }
    // An empty wave is written as a zero length; it reads back empty.
    if (count == 0) {
        SetStream(nullptr);
        return;
    }
    // The count is checked before anything is allocated for it.
    if (count < 0 || count > source.Remaining())
        throw EReadError(QStringLiteral("Stream read error"));
    readmemory::Charge(count);
    auto tmp = ReadWithinMemory([&] {
        auto data = std::make_unique<TMemoryStream>();
        data->SetSize(count);
        return data;
    });
    source.ReadBuffer(tmp->Memory(), count);
    adopt(std::move(tmp));
}

void TKitWave::adopt(std::unique_ptr<TMemoryStream> data)
{
    if (data->Size() == 0) {
        SetStream(nullptr);
        return;
    }
    TKitWaveInfo info;
    if (!GetWaveData(data.get(), info))
        throw EInvalidWave(KitClassName(this) + QStringLiteral(": ") + kCannotOpen);
    SetStream(std::move(data));
}

void TKitWave::WriteWave(TStream& dest, bool withLength)
{
    if (!m_data)
        m_data = std::make_unique<TMemoryStream>();
    const std::int64_t n = m_data->Size();
    if (withLength) {
        if (n > std::numeric_limits<std::int32_t>::max())
            throw EWriteError(QStringLiteral("Wave too large for a 32-bit length"));
        StreamWriteInteger(dest, std::int32_t(n));
    }
    if (n > 0)
        dest.WriteBuffer(m_data->Memory(), n);
}

void TKitWave::LoadFromFile(const QString& fileName)
{
    TFileStream f(fileName, TFileMode::fmOpenRead);
    ReadWave(f.Size(), f);
}

void TKitWave::LoadFromStream(TStream& s)
{
    PositionGuard guard(s);
    ReadWave(s.Size() - s.Position(), s);
    guard.Commit();
}

void TKitWave::SaveToFile(const QString& fileName)
{
    TFileStream f(fileName, TFileMode::fmCreate);
    SaveToStream(f);
}

void TKitWave::SaveToStream(TStream& s)
{
    WriteWave(s, false);
}

void TKitWave::LoadFromLengthPrefixedStream(TStream& s)
{
    PositionGuard guard(s);
    const std::int32_t n = StreamReadLength(s);
    ReadWave(n, s);
    guard.Commit();
}

void TKitWave::SaveToLengthPrefixedStream(TStream& s)
{
    WriteWave(s, true);
}

void TKitWave::LoadFromCompressedStream(TStream& s)
{
    // The block stream itself may be sound while its payload is no wave.
    // The payload becomes the data as it is: a copy would hold it twice.
    PositionGuard guard(s);
    adopt(LoadPayloadFromStream(s, true));
    guard.Commit();
}

void TKitWave::SaveToCompressedStream(TStream& s)
{
    TMemoryStream tmp;
    SaveToStream(tmp);
    SavePayloadToStream(s, tmp, true);
}

void TKitWave::Assign(const QObject* Source)
{
    if (!Source) {
        Clear();
        return;
    }
    const auto* src = qobject_cast<const TKitWave*>(Source);
    if (!src) {
        TKitObject::Assign(Source);
        return;
    }
    // The copy is made before the own stream goes, so that assigning a wave
    // to itself keeps its data.
    auto copy = std::make_unique<TMemoryStream>();
    const std::int64_t n = src->DataSize();
    if (n > 0) {
        copy->SetSize(n);
        std::memcpy(copy->Memory(), src->m_data->Memory(), std::size_t(n));
        src->m_data->SetPosition(0);
    }
    if (m_data)
        Stop();
    m_data = std::move(copy);
    Change();
}

bool TKitWave::GetWaveData(TMemoryStream* stream, TKitWaveInfo& info)
{
    if (!stream || stream->Size() == 0)
        return false;
    struct Rewind {
        TMemoryStream* s;
        ~Rewind() { s->SetPosition(0); }
    } rewind{stream};
    auto read = [stream](void* buf, int n) {
        if (stream->Read(buf, n) != n)
            throw EErrorCheckingWave(QStringLiteral("GetWaveData: ") + kCannotOpen);
    };
    auto tag = [&](const char* expected) {
        char t[4];
        read(t, 4);
        return std::memcmp(t, expected, 4) == 0;
    };
    auto le = [](const std::uint8_t* p, int n) {
        std::uint32_t v = 0;
        for (int i = n - 1; i >= 0; --i)
            v = (v << 8) | p[i];
        return v;
    };
    std::uint8_t b[12];
    if (!tag("RIFF"))
        return false;
    read(b, 4);
    info.RIFFSize = le(b, 4);
    if (!tag("WAVE") || !tag("fmt "))
        return false;
    read(b, 4); // format chunk size
    read(b, 12);
    const std::uint32_t formatTag = le(b, 2);
    const std::uint32_t channels = le(b + 2, 2);
    info.SamplesPerSec = le(b + 4, 4);
    read(b, 2);
    info.BlockAlign = std::uint16_t(le(b, 2));
    info.PCM = formatTag == 1;
    info.Channels = channels == 1 ? 1 : channels == 2 ? 2 : 0;
    return true;
}

void SaveWaveToStream(TStream& s, TKitWave& wave, bool compressed)
{
    if (compressed)
        wave.SaveToCompressedStream(s);
    else
        wave.SaveToLengthPrefixedStream(s);
}

void LoadWaveFromStream(TStream& s, TKitWave& wave, bool compressed)
{
    if (compressed)
        wave.LoadFromCompressedStream(s);
    else
        wave.LoadFromLengthPrefixedStream(s);
}
