#pragma once
// The complete image of one RIFF WAVE sound file held in memory, checked on
// the way in, stored plain, length-prefixed or compressed.

#include <memory>

#include "components/kitclass.h"
#include "components/kitstream.h"

class EInvalidWave : public Exception {
public:
    using Exception::Exception;
};
class EErrorCheckingWave : public Exception {
public:
    using Exception::Exception;
};

struct TKitWaveInfo {
    std::uint32_t RIFFSize = 0;
    std::uint32_t SamplesPerSec = 0;
    std::uint8_t Channels = 0; // 1 mono, 2 stereo, 0 anything else
    bool PCM = false;
    std::uint16_t BlockAlign = 0;
};

class TKitWave : public TKitObject {
    Q_OBJECT
public:
    TKitWave();
    explicit TKitWave(const QString& fileName); // builds and loads the file
    ~TKitWave() override;

    bool IsEmpty() const;
    std::int64_t DataSize() const;
    // The data stream, or none; the wave owns it.
    TMemoryStream* Data() const { return m_data.get(); }
    // Adopts `stream` (none clears) and reports the change.
    void SetStream(std::unique_ptr<TMemoryStream> stream);
    void Clear();
    // Gives the data stream away (none when there is none) and reports the
    // change: the wave is empty then.
    std::unique_ptr<TMemoryStream> TakeStream();
    // Stops a sound playing from this data; nothing here plays sounds.
    void Stop();

    // Loads `count` bytes of `source` from its position. The old data stays
    // when the bytes are missing or are no WAVE image.
    void ReadWave(std::int64_t count, TStream& source);
    void WriteWave(TStream& dest, bool withLength);

    virtual void ReadData(TStream& s) { LoadFromLengthPrefixedStream(s); }
    virtual void WriteData(TStream& s) { SaveToLengthPrefixedStream(s); }
    virtual void LoadFromFile(const QString& fileName);
    virtual void LoadFromStream(TStream& s);
    virtual void SaveToFile(const QString& fileName);
    virtual void SaveToStream(TStream& s);
    void LoadFromLengthPrefixedStream(TStream& s);
    void SaveToLengthPrefixedStream(TStream& s);
    void LoadFromCompressedStream(TStream& s);
    void SaveToCompressedStream(TStream& s);

    void Assign(const QObject* Source) override;
    // The binary property "Data" is stored when a data stream exists.
    bool HasDataProperty() const { return m_data != nullptr; }

    // The header check: RIFF, WAVE, then the format chunk first. Leaves the
    // stream at position 0; raises EErrorCheckingWave when it ends early.
    static bool GetWaveData(TMemoryStream* stream, TKitWaveInfo& info);

private:
    // Makes `data` (at position 0) the data when it is a WAVE image, or
    // clears the data when it is empty; the old data stays otherwise.
    void adopt(std::unique_ptr<TMemoryStream> data);

    std::unique_ptr<TMemoryStream> m_data;
};

void SaveWaveToStream(TStream& s, TKitWave& wave, bool compressed);
void LoadWaveFromStream(TStream& s, TKitWave& wave, bool compressed);
