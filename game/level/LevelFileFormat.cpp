#include "game/level/LevelFileFormat.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "game/level/CellGrid.h"
#include "game/level/HeroStuff.h"

namespace {

constexpr size_t kShortStringBytes = 256;

// Appends little-endian fields to a growing image.
class ByteWriter {
  public:
    explicit ByteWriter(size_t expected) { bytes_.reserve(expected); }

    void Byte(uint8_t v) { bytes_.push_back(static_cast<char>(v)); }
    void Word(uint16_t v) {
        Byte(static_cast<uint8_t>(v));
        Byte(static_cast<uint8_t>(v >> 8));
    }
    void Int(int32_t v) {
        const auto u = static_cast<uint32_t>(v);
        for (int shift = 0; shift < 32; shift += 8) Byte(static_cast<uint8_t>(u >> shift));
    }
    void Float(float v) { Int(std::bit_cast<int32_t>(v)); }
    void Zeros(size_t n) { bytes_.append(n, '\0'); }
    void Raw(const void* data, size_t n) { bytes_.append(static_cast<const char*>(data), n); }
    // A length byte and 255 characters (the text cut to 255, the rest zeros).
    void ShortString(const std::string& text) {
        const size_t length = std::min<size_t>(text.size(), kShortStringBytes - 1);
        Byte(static_cast<uint8_t>(length));
        bytes_.append(text, 0, length);
        Zeros(kShortStringBytes - 1 - length);
    }
    std::string Take() { return std::move(bytes_); }

  private:
    std::string bytes_;
};

// Reads little-endian fields from the start of a byte range. A read past the
// end gives 0 and makes Ok() false for good.
class ByteReader {
  public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

    bool Ok() const { return ok_; }
    // True when n more bytes are there (n of 0 or more).
    bool Has(int64_t n) const {
        return ok_ && n >= 0 && static_cast<uint64_t>(n) <= bytes_.size() - pos_;
    }
    std::string_view Take(int64_t n) {
        if (!Has(n)) {
            ok_ = false;
            return {};
        }
        const std::string_view part = bytes_.substr(pos_, static_cast<size_t>(n));
        pos_ += static_cast<size_t>(n);
        return part;
    }
    void Skip(int64_t n) { Take(n); }
    uint8_t Byte() {
        const std::string_view b = Take(1);
        return b.empty() ? 0 : static_cast<uint8_t>(b[0]);
    }
    uint16_t Word() {
        const std::string_view b = Take(2);
        if (b.empty()) return 0;
        return static_cast<uint16_t>(static_cast<uint8_t>(b[0]) | static_cast<uint8_t>(b[1]) << 8);
    }
    int32_t Int() {
        const std::string_view b = Take(4);
        uint32_t u = 0;
        for (size_t i = 0; i < b.size(); ++i) u |= uint32_t{static_cast<uint8_t>(b[i])} << (8 * i);
        return static_cast<int32_t>(u);
    }
    float Float() { return std::bit_cast<float>(Int()); }
    std::string ShortString() {
        const std::string_view b = Take(kShortStringBytes);
        if (b.empty()) return {};
        return std::string(b.substr(1, static_cast<uint8_t>(b[0])));
    }

  private:
    std::string_view bytes_;
    size_t pos_ = 0;
    bool ok_ = true;
};

bool WorldFloat(float v) { return std::isfinite(v) && std::fabs(v) <= kLargestFileFloat; }

bool WorldFloats(std::initializer_list<float> values) {
    return std::all_of(values.begin(), values.end(), WorldFloat);
}

// ---- Records: each writer and reader side by side, offsets in the comments ----

void WriteTileAnimation(ByteWriter& w, const TileAnimationStuff& t) {
    w.Float(t.X);  // 0
    w.Float(t.Y);
    w.Float(t.Z);
    w.Int(t.AnimType);  // 12
    w.Int(t.FinalType);
    w.Int(t.StartTime);  // 20
    w.Int(t.StartTime2);
    w.Zeros(4);  // 28: mesh handle
    w.Float(t.FramePosition);
    w.Int(t.PreviousFrame);  // 36
}

// The previous frame at offset 36 is a whole frame number. A row that holds it
// as a float instead (a frame position copied unrounded) is taken by its whole
// part rather than refusing the level: apart from 0, the bits of a normal float
// in 0..32 never read as an integer in 0..32. -1 when neither reading fits.
int32_t StoredPreviousFrame(int32_t stored) {
    if (stored >= 0 && stored < kBlocMeshSlots) return stored;
    const float frame = std::bit_cast<float>(stored);
    if (std::isnormal(frame) && frame > 0 && frame < static_cast<float>(kBlocMeshSlots)) {
        return static_cast<int32_t>(frame);
    }
    return -1;
}

bool ReadTileAnimation(ByteReader& r, TileAnimationStuff& t) {
    t.X = r.Float();
    t.Y = r.Float();
    t.Z = r.Float();
    t.AnimType = r.Int();
    t.FinalType = r.Int();
    t.StartTime = r.Int();
    t.StartTime2 = r.Int();
    r.Skip(4);
    t.FramePosition = r.Float();
    t.PreviousFrame = StoredPreviousFrame(r.Int());
    return IsBlocType(t.AnimType) && t.FinalType < kBlocTypeCount && WorldFloats({t.X, t.Y, t.Z}) &&
           t.FramePosition >= 0 && t.FramePosition <= static_cast<float>(kBlocMeshSlots) &&
           t.PreviousFrame >= 0 && t.PreviousFrame < kBlocMeshSlots;
}

void WriteDugCell(ByteWriter& w, const DugCellStuff& d) {
    w.Float(d.X);  // 0
    w.Float(d.Y);
    w.Float(d.Z);
    w.Word(d.BlocType);  // 12
    w.Zeros(2);
    w.Int(d.StartTime);  // 16
    w.Int(d.Duration);
}

bool ReadDugCell(ByteReader& r, DugCellStuff& d) {
    d.X = r.Float();
    d.Y = r.Float();
    d.Z = r.Float();
    d.BlocType = r.Word();
    r.Skip(2);
    d.StartTime = r.Int();
    d.Duration = r.Int();
    return IsBlocType(d.BlocType) && WorldFloats({d.X, d.Y, d.Z});
}

void WriteGolem(ByteWriter& w, const GolemStuff& g) {
    w.Word(g.GolemBloc);  // 0
    w.Zeros(2);
    for (float v : {g.X, g.Y, g.Z, g.Heading, g.Pitch, g.Speed, g.VerticalSpeed, g.TargetX,
                    g.TargetY, g.TargetZ, g.WantedHeading, g.WantedPitch}) {
        w.Float(v);  // 4..48
    }
    for (int32_t v : {g.CellX, g.CellY, g.CellZ, g.State, g.ResetMark, g.OutOfSight,
                      g.LastSoundTime, g.TargetHero}) {
        w.Int(v);  // 52..80
    }
    w.Byte(g.Blocked);  // 84
    w.Zeros(3 + 4);     // spare, then 88: mesh handle
    w.Float(g.AnimPhase);
    w.Int(g.BlockedTime);  // 96
}

bool ReadGolem(ByteReader& r, GolemStuff& g) {
    g.GolemBloc = r.Word();
    r.Skip(2);
    for (float* v : {&g.X, &g.Y, &g.Z, &g.Heading, &g.Pitch, &g.Speed, &g.VerticalSpeed, &g.TargetX,
                     &g.TargetY, &g.TargetZ, &g.WantedHeading, &g.WantedPitch}) {
        *v = r.Float();
        if (!WorldFloat(*v)) return false;
    }
    for (int32_t* v : {&g.CellX, &g.CellY, &g.CellZ, &g.State, &g.ResetMark, &g.OutOfSight,
                       &g.LastSoundTime, &g.TargetHero}) {
        *v = r.Int();
    }
    g.Blocked = r.Byte();
    r.Skip(3 + 4);
    g.AnimPhase = r.Float();
    g.BlockedTime = r.Int();
    return IsBlocType(g.GolemBloc) && g.TargetHero >= 0 && g.TargetHero < kHeroCount &&
           WorldFloat(g.AnimPhase);
}

void WriteMovingBloc(ByteWriter& w, const MovingBlocStuff& m) {
    for (float v :
         {m.X, m.Y, m.Z, m.Angle, m.Pitch, m.VelocityX, m.VelocityY, m.VelocityZ, m.StartX,
          m.StartY, m.StartZ, m.StartAngle, m.TargetX, m.TargetY, m.TargetZ, m.TargetAngle}) {
        w.Float(v);  // 0..60
    }
    w.Word(m.BlocType);  // 64
    w.Byte(m.Kind);
    w.Zeros(1);
    w.Int(m.StartTime);  // 68
    w.Int(m.Duration);
    w.Int(m.Spare);  // 76
}

bool ReadMovingBloc(ByteReader& r, MovingBlocStuff& m) {
    for (float* v : {&m.X, &m.Y, &m.Z, &m.Angle, &m.Pitch, &m.VelocityX, &m.VelocityY, &m.VelocityZ,
                     &m.StartX, &m.StartY, &m.StartZ, &m.StartAngle, &m.TargetX, &m.TargetY,
                     &m.TargetZ, &m.TargetAngle}) {
        *v = r.Float();
        if (!WorldFloat(*v)) return false;
    }
    m.BlocType = r.Word();
    m.Kind = r.Byte();
    r.Skip(1);
    m.StartTime = r.Int();
    m.Duration = r.Int();
    m.Spare = r.Int();
    return IsBlocType(m.BlocType);
}

void WriteBehaviourInstance(ByteWriter& w, const BehaviourStuff& b) {
    for (int32_t v : {b.BehaviourType, b.CellX, b.CellY, b.CellZ, b.Pc, b.PcTime}) w.Int(v);
    w.Byte(b.Phase);  // 24
    w.Zeros(3 + 16);
    w.Int(b.MoveDuration);  // 44
    w.Zeros(8);
    w.Int(b.MovingBlocRow);  // 56
    w.Float(b.InstanceHealth);
}

bool ReadBehaviourInstance(ByteReader& r, BehaviourStuff& b) {
    for (int32_t* v : {&b.BehaviourType, &b.CellX, &b.CellY, &b.CellZ, &b.Pc, &b.PcTime}) {
        *v = r.Int();
    }
    b.Phase = r.Byte();
    r.Skip(3 + 16);
    b.MoveDuration = r.Int();
    r.Skip(8);
    b.MovingBlocRow = r.Int();
    b.InstanceHealth = r.Float();
    // Any behaviour number and program counter are kept: play leaves idle
    // instances outside 0..255 and 0..256, and the interpreter checks both
    // before they index anything.
    return b.MovingBlocRow >= -1 && b.MovingBlocRow < kListRows && std::isfinite(b.InstanceHealth);
}

// ---- Whole file ----

void WriteGrid(ByteWriter& w, const LevelStuff& level) {
    const size_t cells = level.CellCount > 0 ? static_cast<size_t>(level.CellCount) : 0;
    for (size_t i = 0; i < cells; ++i) w.Word(level.CellTypes[i]);
    for (const CellBlock<uint8_t>* layer :
         {&level.LightLayer, &level.CornerXLayer, &level.CornerYLayer, &level.CornerZLayer,
          &level.TurnLayer}) {
        w.Raw(layer->get(), cells);
    }
}

void WriteTables(ByteWriter& w, const LevelStuff& level) {
    for (const ClipZoneStuff& zone : level.ClipZones) {
        for (int32_t v : {zone.ZoneX, zone.ZoneY, zone.ZoneZ, zone.ZoneClip}) w.Int(v);
    }
    for (const CameraPointStuff& point : level.CameraPoints) {
        for (int32_t v : {point.CameraX, point.CameraY, point.CameraZ}) w.Int(v);
    }
    w.ShortString(level.Banner1);
    w.ShortString(level.Banner2);
    w.Byte(level.CurrentSky);
    w.Int(level.RandSeed);
    w.Byte(level.BackRed);
    w.Byte(level.BackGreen);
    w.Byte(level.BackBlue);
    w.Int(level.LightDepth);
    for (const LevelExitStuff& exit : level.LevelExits) {
        w.ShortString(exit.ExitLevel);
        for (int32_t v : {exit.ExitX, exit.ExitY, exit.ExitZ}) w.Int(v);
    }
}

void WriteLists(ByteWriter& w, const LevelStuff& level) {
    w.Int(level.TileAnimationHigh());
    for (const TileAnimationStuff& row : level.TileAnimations) WriteTileAnimation(w, row);
    w.Int(level.DugCellHigh());
    for (const DugCellStuff& row : level.DugCells) WriteDugCell(w, row);
    w.Int(level.GolemCount());
    for (const GolemStuff& golem : level.Golems) WriteGolem(w, golem);
    w.Int(level.MovingBlocHigh());
    for (const MovingBlocStuff& row : level.MovingBlocs) WriteMovingBloc(w, row);
    w.Int(level.BehaviourCount());
    for (const BehaviourStuff& instance : level.BehaviourInstances) {
        WriteBehaviourInstance(w, instance);
    }
}

bool ReadHeader(ByteReader& r, LevelFileImage& image) {
    image.DefinitionFile = r.ShortString();
    for (int32_t* v : {&image.SizeX, &image.SizeY, &image.SizeZ, &image.StartX, &image.StartY,
                       &image.StartZ, &image.StartAngle}) {
        *v = r.Int();
    }
    if (!r.Ok()) return false;
    const int64_t cells = GridCellCount(image.SizeX, image.SizeY, image.SizeZ);
    if (cells < 0) return false;
    image.CellCount = static_cast<int32_t>(cells);
    return true;
}

bool ReadGrid(ByteReader& r, LevelFileImage& image) {
    if (!r.Has(kLevelBytesPerCell * image.CellCount)) return false;
    image.CellTypes = r.Take(int64_t{2} * image.CellCount);
    for (std::string_view& layer : image.Layers) layer = r.Take(image.CellCount);
    const auto* types = reinterpret_cast<const uint8_t*>(image.CellTypes.data());
    for (size_t i = 0; i < image.CellTypes.size(); i += 2) {
        if (!IsBlocType(types[i] | types[i + 1] << 8)) return false;
    }
    return true;
}

bool ReadTables(ByteReader& r, LevelFileImage& image) {
    if (!r.Has(kLevelTableBytes + 4)) return false;
    for (ClipZoneStuff& zone : image.ClipZones) {
        for (int32_t* v : {&zone.ZoneX, &zone.ZoneY, &zone.ZoneZ, &zone.ZoneClip}) *v = r.Int();
    }
    for (CameraPointStuff& point : image.CameraPoints) {
        for (int32_t* v : {&point.CameraX, &point.CameraY, &point.CameraZ}) *v = r.Int();
    }
    image.Banner1 = r.ShortString();
    image.Banner2 = r.ShortString();
    image.CurrentSky = r.Byte();
    image.RandSeed = r.Int();
    image.BackRed = r.Byte();
    image.BackGreen = r.Byte();
    image.BackBlue = r.Byte();
    image.LightDepth = r.Int();
    for (LevelExitStuff& exit : image.LevelExits) {
        exit.ExitLevel = r.ShortString();
        for (int32_t* v : {&exit.ExitX, &exit.ExitY, &exit.ExitZ}) *v = r.Int();
    }
    image.GameTime = r.Float();
    return r.Ok() && WorldFloat(image.GameTime);
}

// Reads a list's number and its records: `rows` records, where rows is the
// number plus `extra` (1 for a high index, 0 for a count) and no records when
// that is 0 or less. False when rows passes `capacity`, the bytes end, or a
// record is refused.
template <typename T>
bool ReadList(ByteReader& r, int32_t extra, int32_t capacity, int64_t recordBytes,
              bool (*read)(ByteReader&, T&), std::vector<T>& rows) {
    const int64_t count = std::max<int64_t>(int64_t{r.Int()} + extra, 0);
    if (!r.Ok() || count > capacity || !r.Has(count * recordBytes)) return false;
    rows.assign(static_cast<size_t>(count), T{});
    return std::all_of(rows.begin(), rows.end(), [&](T& row) { return read(r, row); });
}

// Every behaviour instance owns one of the file's moving blocs, or none.
bool InstancesOwnListedBlocs(const LevelFileImage& image) {
    const auto rows = static_cast<int32_t>(image.MovingBlocs.size());
    return std::all_of(
        image.BehaviourInstances.begin(), image.BehaviourInstances.end(),
        [rows](const BehaviourStuff& instance) { return instance.MovingBlocRow < rows; });
}

}  // namespace

std::string BuildLevelFile(const LevelStuff& level, float gameTime) {
    const size_t expected =
        static_cast<size_t>(kLevelHeaderBytes + kLevelBytesPerCell * level.CellCount +
                            kLevelTableBytes + 24 + kGolemBytes * level.GolemCount()) +
        static_cast<size_t>(kMovingBlocBytes * level.MovingBlocs.Count() +
                            kTileAnimationBytes * level.TileAnimations.Count());
    ByteWriter w(expected);
    w.ShortString(level.DefinitionFile);
    for (int32_t v : {level.SizeX, level.SizeY, level.SizeZ, level.StartX, level.StartY,
                      level.StartZ, level.StartAngle}) {
        w.Int(v);
    }
    WriteGrid(w, level);
    WriteTables(w, level);
    w.Float(gameTime);
    WriteLists(w, level);
    return w.Take();
}

bool ParseLevelFile(std::string_view bytes, LevelFileImage& image) {
    ByteReader r(bytes);
    return ReadHeader(r, image) && ReadGrid(r, image) && ReadTables(r, image) &&
           ReadList(r, 1, kListRows, kTileAnimationBytes, ReadTileAnimation,
                    image.TileAnimations) &&
           ReadList(r, 1, kListRows, kDugCellBytes, ReadDugCell, image.DugCells) &&
           ReadList(r, 0, kMaxGolems, kGolemBytes, ReadGolem, image.Golems) &&
           ReadList(r, 1, kListRows, kMovingBlocBytes, ReadMovingBloc, image.MovingBlocs) &&
           ReadList(r, 0, kMaxBehaviourInstances, kBehaviourInstanceBytes, ReadBehaviourInstance,
                    image.BehaviourInstances) &&
           r.Ok() && InstancesOwnListedBlocs(image);
}
