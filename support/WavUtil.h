// TIWave: reads one RIFF WAVE sound file whole, its format header and all of
// its sample bytes. The chunks are looked up by name inside the RIFF chunk, so
// other chunks may stand before or between "fmt " and "data". Its only user is
// the sound buffer of the positional sound unit (Snd), which copies the samples
// and then drops the TIWave.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A failure while opening a wave file. what() is one of "mmioOpen Failed",
// "mmioDescend Failed", "Not a wave file", "Error reading wave file",
// "Failed to allocate memory" (and, inside the data read, "Corrupt Wave File").
class TWaveError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The 18-byte header of a wave format block, field by field.
struct TWaveFormatHeader {
    uint16_t FormatTag = 0;  // 1: PCM
    uint16_t Channels = 0;
    uint32_t SamplesPerSec = 0;
    uint32_t AvgBytesPerSec = 0;
    uint16_t BlockAlign = 0;
    uint16_t BitsPerSample = 0;
    uint16_t ExtraSize = 0;  // bytes of format-specific data after the header
};

class TIWave {
  public:
    // Reads and parses the file `fileName`. Throws TWaveError when the file
    // cannot be read, is not RIFF WAVE or has a broken "fmt " chunk. A missing,
    // truncated or unreadable "data" chunk leaves the object without format and
    // data instead (Channels() and BitsPerSample() answer 0).
    explicit TIWave(const std::string& fileName);
    // The same from the file's bytes already in memory; `fileName` is only kept.
    TIWave(const std::string& fileName, std::string_view bytes);

    std::string FileName;
    // The format block: the 16 bytes of the "fmt " chunk, the 16-bit extra size
    // and the extra bytes. Empty when nothing was loaded.
    std::vector<uint8_t> Format;
    uint32_t FormatSize = 0;  // bytes of Format: 18 + extra size; 0 when empty
    uint32_t DataSize = 0;    // sample bytes held in Data
    std::vector<uint8_t> Data;

    // Channel count and sample width from the format; 0 when there is none.
    int Channels() const;
    int BitsPerSample() const;
    // The 18-byte header of the format (without extra bytes); all zero when the
    // object holds no format.
    void GetFormat(TWaveFormatHeader& header) const;

  private:
    void LoadWave(std::string_view bytes);
};
