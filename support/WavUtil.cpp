#include "support/WavUtil.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/fs/FileSystem.h"

namespace {

constexpr uint16_t kPcmTag = 1;
constexpr uint32_t kFmtBodySize = 16;  // the fixed part of a "fmt " chunk
constexpr uint32_t kHeaderSize = 18;   // that part and the 16-bit extra size

constexpr uint32_t FourCC(const char (&id)[5]) {
    return uint32_t(uint8_t(id[0])) | uint32_t(uint8_t(id[1])) << 8 |
           uint32_t(uint8_t(id[2])) << 16 | uint32_t(uint8_t(id[3])) << 24;
}

// One chunk of the file: where its body starts and how long it says it is.
// `End` never lies beyond the end of the file.
struct WaveChunk {
    uint32_t Id = 0;
    uint32_t Size = 0;
    uint64_t DataOffset = 0;
    uint64_t End = 0;
};

// The file's bytes and a read position.
struct WaveStream {
    std::string_view Bytes;
    uint64_t Pos = 0;

    bool Has(uint64_t offset, uint64_t count) const {
        return offset <= Bytes.size() && count <= Bytes.size() - offset;
    }
    uint32_t U32(uint64_t offset) const {
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = v << 8 | uint8_t(Bytes[offset + i]);
        return v;
    }
    uint16_t U16(uint64_t offset) const {
        return uint16_t(uint8_t(Bytes[offset]) | uint8_t(Bytes[offset + 1]) << 8);
    }
};

// Descends into the file's first chunk, which must be "RIFF" of form "WAVE".
// The chunk's end is cut to the file's end, so that every later search stays
// inside the bytes present.
WaveChunk DescendRiff(WaveStream& file) {
    if (!file.Has(0, 8)) throw TWaveError("mmioDescend Failed");
    WaveChunk riff;
    riff.Id = file.U32(0);
    riff.Size = file.U32(4);
    riff.DataOffset = 8;
    if (riff.Id == FourCC("RIFF") && !file.Has(8, 4)) throw TWaveError("mmioDescend Failed");
    if (riff.Id != FourCC("RIFF") || file.U32(8) != FourCC("WAVE")) {
        throw TWaveError("Not a wave file");
    }
    riff.End = std::min<uint64_t>(riff.DataOffset + riff.Size, file.Bytes.size());
    file.Pos = 12;
    return riff;
}

// Looks for the chunk `id` from the current position to the parent's end,
// skipping other chunks (with their pad byte when odd-sized). On success the
// position is at the found chunk's body.
bool FindChunk(WaveStream& file, const WaveChunk& parent, uint32_t id, WaveChunk& found) {
    uint64_t pos = file.Pos;
    while (pos + 8 <= parent.End) {
        const uint32_t chunkId = file.U32(pos);
        const uint32_t size = file.U32(pos + 4);
        if (chunkId == id) {
            found.Id = chunkId;
            found.Size = size;
            found.DataOffset = pos + 8;
            found.End = std::min<uint64_t>(found.DataOffset + size, file.Bytes.size());
            file.Pos = found.DataOffset;
            return true;
        }
        pos += 8 + uint64_t(size) + (size & 1);
    }
    return false;
}

// Reads the format block of the "fmt " chunk: the 16 fixed bytes, then, for a
// format other than PCM, the extra size and that many extra bytes. Nothing is
// read from beyond the chunk: a non-PCM chunk of 16 bytes has no extra bytes.
std::vector<uint8_t> ReadFormat(WaveStream& file, const WaveChunk& fmt) {
    if (fmt.Size < kFmtBodySize) throw TWaveError("Not a wave file");
    if (!file.Has(fmt.DataOffset, kFmtBodySize)) throw TWaveError("Error reading wave file");
    uint16_t extraSize = 0;
    if (file.U16(fmt.DataOffset) != kPcmTag && fmt.Size >= kHeaderSize) {
        if (!file.Has(fmt.DataOffset + kFmtBodySize, 2)) {
            throw TWaveError("Error reading wave file");
        }
        extraSize = file.U16(fmt.DataOffset + kFmtBodySize);
    }
    if (extraSize > 0 && (fmt.Size < kHeaderSize + uint32_t(extraSize) ||
                          !file.Has(fmt.DataOffset + kHeaderSize, extraSize))) {
        throw TWaveError("Not a wave file");
    }
    std::vector<uint8_t> format;
    try {
        format.resize(kHeaderSize + extraSize);
    } catch (const std::bad_alloc&) {
        throw TWaveError("Failed to allocate memory");
    }
    std::memcpy(format.data(), file.Bytes.data() + fmt.DataOffset, kFmtBodySize);
    format[16] = uint8_t(extraSize & 0xFF);
    format[17] = uint8_t(extraSize >> 8);
    if (extraSize > 0) {
        std::memcpy(format.data() + kHeaderSize, file.Bytes.data() + fmt.DataOffset + kHeaderSize,
                    extraSize);
    }
    return format;
}

// Opens the wave: checks the RIFF WAVE header and reads the format block.
std::vector<uint8_t> OpenWaveFile(WaveStream& file, WaveChunk& riff) {
    riff = DescendRiff(file);
    WaveChunk fmt;
    if (!FindChunk(file, riff, FourCC("fmt "), fmt)) throw TWaveError("Error reading wave file");
    return ReadFormat(file, fmt);
}

// Positions the stream on the "data" chunk, searched from the RIFF chunk's
// first sub-chunk whatever stands before it.
void StartDataRead(WaveStream& file, WaveChunk& dataChunk, const WaveChunk& riff) {
    file.Pos = riff.DataOffset + 4;
    if (!FindChunk(file, riff, FourCC("data"), dataChunk)) {
        throw TWaveError("Error reading wave file");
    }
}

// Copies up to `count` bytes of the data chunk into `buffer`; the chunk's
// declared size must be present in the file.
uint32_t ReadWaveData(WaveStream& file, uint32_t count, uint8_t* buffer,
                      const WaveChunk& dataChunk) {
    const uint32_t n = std::min(count, dataChunk.Size);
    if (!file.Has(dataChunk.DataOffset, n)) throw TWaveError("Corrupt Wave File");
    if (n > 0) std::memcpy(buffer, file.Bytes.data() + dataChunk.DataOffset, n);
    return n;
}

}  // namespace

TIWave::TIWave(const std::string& fileName) : FileName(fileName) {
    std::string bytes;
    if (!platform::fs::ReadWholeFile(fileName, bytes)) throw TWaveError("mmioOpen Failed");
    LoadWave(bytes);
}

TIWave::TIWave(const std::string& fileName, std::string_view bytes) : FileName(fileName) {
    LoadWave(bytes);
}

void TIWave::LoadWave(std::string_view bytes) {
    WaveStream file{bytes};
    WaveChunk riff;
    std::vector<uint8_t> format = OpenWaveFile(file, riff);  // errors reach the caller
    try {
        WaveChunk dataChunk;
        StartDataRead(file, dataChunk, riff);
        // The declared size is checked against the bytes present before
        // anything is allocated from it.
        if (!file.Has(dataChunk.DataOffset, dataChunk.Size)) throw TWaveError("Corrupt Wave File");
        std::vector<uint8_t> data(dataChunk.Size);
        const uint32_t read = ReadWaveData(file, dataChunk.Size, data.data(), dataChunk);
        data.resize(read);
        Data = std::move(data);
        DataSize = read;
        Format = std::move(format);
        FormatSize = uint32_t(Format.size());
    } catch (const std::exception&) {
        // A missing or unreadable data chunk gives an empty wave.
        Data.clear();
        Format.clear();
        DataSize = 0;
        FormatSize = 0;
    }
}

int TIWave::Channels() const {
    TWaveFormatHeader header;
    GetFormat(header);
    return header.Channels;
}

int TIWave::BitsPerSample() const {
    TWaveFormatHeader header;
    GetFormat(header);
    return header.BitsPerSample;
}

void TIWave::GetFormat(TWaveFormatHeader& header) const {
    header = TWaveFormatHeader{};
    if (Format.size() < kHeaderSize) return;
    WaveStream f{std::string_view(reinterpret_cast<const char*>(Format.data()), Format.size())};
    header.FormatTag = f.U16(0);
    header.Channels = f.U16(2);
    header.SamplesPerSec = f.U32(4);
    header.AvgBytesPerSec = f.U32(8);
    header.BlockAlign = f.U16(12);
    header.BitsPerSample = f.U16(14);
    header.ExtraSize = f.U16(16);
}
