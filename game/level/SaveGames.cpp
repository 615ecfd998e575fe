#include "game/level/SaveGames.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "game/level/HeroStuff.h"
#include "game/level/LevelFile.h"
#include "game/level/LevelFileFormat.h"
#include "game/level/LevelStuff.h"
#include "platform/fs/FileSystem.h"
#include "platform/fs/FolderSwap.h"
#include "platform/fs/PathResolver.h"
#include "platform/fs/TempName.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/text/Cp1252.h"
#include "platform/text/Printable.h"
#include "support/dircpy.h"

namespace fs = platform::fs;

namespace {

const char* const kWorkingFolder = "CURRENT_GAME";
const char* const kSaveFolder = "SAVEGAME";
const char* const kSaveFile = "savegame.bin";

// ---- savegame.bin: the hero's fields at their offsets ----

struct FloatField {
    int32_t offset;
    float HeroStuff::*member;
};
struct IntField {
    int32_t offset;
    int32_t HeroStuff::*member;
};

constexpr FloatField kFloatFields[] = {
    {0, &HeroStuff::X},
    {4, &HeroStuff::Y},
    {8, &HeroStuff::Z},
    {12, &HeroStuff::Yaw},
    {16, &HeroStuff::Pitch},
    {20, &HeroStuff::Tilt},
    {24, &HeroStuff::SpeedX},
    {28, &HeroStuff::SpeedY},
    {32, &HeroStuff::SpeedZ},
    {36, &HeroStuff::YawSpeed},
    {40, &HeroStuff::PitchTarget},
    {44, &HeroStuff::TiltTarget},
    {48, &HeroStuff::Life},
    {72, &HeroStuff::WalkPhase},
    {88, &HeroStuff::VerticalSpeed},
    {104, &HeroStuff::CameraX},
    {108, &HeroStuff::CameraY},
    {112, &HeroStuff::CameraZ},
    {116, &HeroStuff::CameraYaw},
    {120, &HeroStuff::CameraPitch},
    {128, &HeroStuff::CameraDistance},
    {132, &HeroStuff::DefaultCameraDistance},
    {136, &HeroStuff::LightRange},
    {156, &HeroStuff::MeshSpeed},
};

constexpr IntField kIntFields[] = {
    {52, &HeroStuff::CurrentAnim},
    {56, &HeroStuff::TargetAnim},
    {60, &HeroStuff::BlendDuration},
    {64, &HeroStuff::BlendStart},
    {68, &HeroStuff::PreviousTargetAnim},
    {76, &HeroStuff::HeroWidth},
    {80, &HeroStuff::HeroHeight},
    {84, &HeroStuff::HeroStep},
    {92, &HeroStuff::ActionLock},
    {96, &HeroStuff::LastShotTime},
    {100, &HeroStuff::PainSoundTime},
    {124, &HeroStuff::CameraRoll},
    {140, &HeroStuff::Speed},
    {144, &HeroStuff::AngleSpeed},
    {148, &HeroStuff::JumpG},
    {152, &HeroStuff::SolidHurt},
    {160, &HeroStuff::LongJumpHealthValue},
    {164, &HeroStuff::LongJumpGValue},
    {168, &HeroStuff::Weapon},
    {172, &HeroStuff::SelectedObject},
    {1205, &HeroStuff::TimerValue},
    {1209, &HeroStuff::TimerTick},
    {1469, &HeroStuff::SavesLeft},
};

constexpr int32_t kInventoryOffset = 176;
// Counts of one bloc type beyond this either way come from no game: the
// pick-ups and scripts of a level reach nothing near it.
constexpr int32_t kMostInventoryCount = 1000000000;
constexpr int32_t kTimerOnOffset = 1204;
constexpr int32_t kLevelNameOffset = 1213;
constexpr size_t kShortStringBytes = 256;

// Fields whose values index something: held to their ranges on reading.
struct RangeCheck {
    int32_t HeroStuff::*member;
    int32_t least, most;
    const char* what;
};
constexpr RangeCheck kRanges[] = {
    {&HeroStuff::Weapon, -1, kBlocTypeCount - 1, "weapon"},
    {&HeroStuff::SelectedObject, -1, kBlocTypeCount - 1, "selected object"},
    {&HeroStuff::CurrentAnim, 0, kHeroAnimCount - 1, "animation"},
    {&HeroStuff::TargetAnim, 0, kHeroAnimCount - 1, "animation"},
    {&HeroStuff::PreviousTargetAnim, 0, kHeroAnimCount - 1, "animation"},
};

void PutInt(std::string& bytes, int32_t offset, int32_t value) {
    const auto u = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<size_t>(offset + i)] = static_cast<char>(u >> (8 * i));
}

int32_t GetInt(std::string_view bytes, int32_t offset) {
    uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= uint32_t{static_cast<uint8_t>(bytes[static_cast<size_t>(offset + i)])} << (8 * i);
    return static_cast<int32_t>(u);
}

void PutFloat(std::string& bytes, int32_t offset, float value) {
    int32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    PutInt(bytes, offset, bits);
}

float GetFloat(std::string_view bytes, int32_t offset) {
    const int32_t bits = GetInt(bytes, offset);
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// ---- Copies, with the seam the tests use ----

std::function<bool(const std::string&, const std::string&)>& Copier() {
    static std::function<bool(const std::string&, const std::string&)> copier;
    return copier;
}

bool Copy(const std::string& source, const std::string& target) {
    return Copier() ? Copier()(source, target) : CopyGameFolder(source, target);
}

// A slot's folder is named in UTF-8, as file names are on this system; the
// game holds its name in cp1252.
std::string SlotFolderName(const std::string& slot) { return platform::Cp1252ToUtf8(slot); }

std::string SlotPath(const std::string& slot) {
    return std::string(kSaveFolder) + "\\" + SlotFolderName(slot);
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool WriteSaveFile(const std::string& folder, const HeroStuff& hero) {
    return fs::WriteFileAtomic(folder + "/" + kSaveFile, EncodeSaveGame(hero));
}

// The current hero as the slot's savegame.bin would load it, the slot checked
// whole; false with the reason in `problem`.
bool ReadSlot(const std::string& slot, HeroStuff& hero, std::string& problem) {
    if (slot.empty() || slot == "." || slot == ".." ||
        std::any_of(slot.begin(), slot.end(), IsSeparator)) {
        problem = "it is not the name of a save game";
        return false;
    }
    const std::string path = SlotPath(slot);
    if (fs::IsLink(path)) {
        problem = "it is a symbolic link, not a folder of SAVEGAME\\";
        return false;
    }
    if (!fs::FolderExists(path)) {
        problem = "it is not a folder of SAVEGAME\\";
        return false;
    }
    std::string bytes;
    if (!fs::ReadWholeFile(path + "\\" + kSaveFile, bytes)) {
        problem = "its savegame.bin is missing or unreadable";
        return false;
    }
    hero = Heroes[CurrentHero];
    if (!DecodeSaveGame(bytes, hero, problem)) return false;
    std::string level;
    if (!fs::ReadWholeFile(path + "\\" + hero.LevelName, level) &&
        !fs::ReadWholeFile(std::string(kWorkingFolder) + "\\" + hero.LevelName, level)) {
        problem = "its level file " + hero.LevelName + " is missing";
        return false;
    }
    LevelFileImage image;
    if (!ParseLevelFile(level, image)) {
        problem = "its level file " + hero.LevelName + " is invalid";
        return false;
    }
    return true;
}

}  // namespace

bool CopyGameFolder(const std::string& source, const std::string& target) {
    return CopyFolder(source, target);
}

bool RenewWorkingCopy(const std::string& source) {
    fs::RecoverFolders(".", kWorkingFolder);
    const std::string fresh = fs::MakeNewVersionFolder(kWorkingFolder);
    if (fresh.empty()) return false;
    // Where a link leads is not the game's: nothing of it is taken over.
    const bool renewed = (fs::IsLink(kWorkingFolder) || Copy(kWorkingFolder, fresh)) &&
                         Copy(source, fresh) && fs::SwapInFolder(fresh, kWorkingFolder);
    if (!renewed) fs::RemoveFolderTree(fresh);
    return renewed;
}

bool WriteWorkingLevel(const std::string& name, std::string& reason) {
    if (fs::IsLink(kWorkingFolder)) {
        reason = "CURRENT_GAME is a link to another folder, which the game does not write into";
        return false;
    }
    return WriteLevelState(std::string(kWorkingFolder) + "\\" + name, Level, &reason);
}

std::string EncodeSaveGame(const HeroStuff& hero) {
    std::string bytes(kSaveGameBytes, '\0');
    for (const FloatField& f : kFloatFields) PutFloat(bytes, f.offset, hero.*f.member);
    for (const IntField& f : kIntFields) PutInt(bytes, f.offset, hero.*f.member);
    for (int32_t t = 0; t < kBlocTypeCount; ++t)
        PutInt(bytes, kInventoryOffset + 4 * t, hero.Inventory[static_cast<size_t>(t)]);
    bytes[kTimerOnOffset] = static_cast<char>(hero.TimerOn);
    const std::string name = hero.LevelName.substr(0, kShortStringBytes - 1);
    bytes[kLevelNameOffset] = static_cast<char>(name.size());
    name.copy(bytes.data() + kLevelNameOffset + 1, name.size());
    return bytes;
}

bool DecodeSaveGame(std::string_view bytes, HeroStuff& hero, std::string& problem) {
    if (bytes.size() < static_cast<size_t>(kSaveGameBytes)) {
        problem = "its savegame.bin is shorter than " + std::to_string(kSaveGameBytes) + " bytes";
        return false;
    }
    HeroStuff read = hero;
    for (const FloatField& f : kFloatFields) {
        const float v = GetFloat(bytes, f.offset);
        if (!std::isfinite(v) || std::fabs(v) > kLargestFileFloat) {
            problem =
                "its savegame.bin holds a number out of range at byte " + std::to_string(f.offset);
            return false;
        }
        read.*f.member = v;
    }
    for (const IntField& f : kIntFields) read.*f.member = GetInt(bytes, f.offset);
    for (const RangeCheck& r : kRanges) {
        if (read.*r.member < r.least || read.*r.member > r.most) {
            problem = std::string("its savegame.bin holds an invalid ") + r.what;
            return false;
        }
    }
    for (int32_t t = 0; t < kBlocTypeCount; ++t) {
        const int32_t count = GetInt(bytes, kInventoryOffset + 4 * t);
        if (count < -kMostInventoryCount || count > kMostInventoryCount) {
            problem = "its savegame.bin holds an invalid inventory count";
            return false;
        }
        read.Inventory[static_cast<size_t>(t)] = count;
    }
    read.TimerOn = static_cast<uint8_t>(bytes[kTimerOnOffset]);
    const auto length = static_cast<uint8_t>(bytes[kLevelNameOffset]);
    read.LevelName = std::string(bytes.substr(kLevelNameOffset + 1, length));
    if (!LevelNameStaysInGame(read.LevelName)) {
        problem = "its level name does not name a level of CURRENT_GAME\\";
        return false;
    }
    hero = std::move(read);
    return true;
}

std::string SlotNameProblem(const std::string& name) {
    if (name.empty()) return "the name is empty";
    if (name == "." || name == "..") return "\".\" and \"..\" are not names of folders";
    for (char c : name) {
        if (IsSeparator(c)) return "the name holds a \"/\" or a \"\\\"";
        if (platform::IsCp1252Control(static_cast<unsigned char>(c)))
            return "the name holds a control character";
    }
    const std::string folder = SlotFolderName(name);
    if (folder.size() > fs::kMaxSwappedName) return "the name is too long";
    if (fs::IsTemporaryName(folder)) return "the name is that of a temporary folder";
    if (fs::IsLink(SlotPath(name)))
        return "SAVEGAME\\" + name + " is a symbolic link, which a save does not write through";
    // The deepest file of the slot's new version, built under a longer name;
    // savegame.bin is written there under its temporary's name first.
    const size_t deepest =
        fs::Resolve(SlotPath(name)).size() + fs::kNewVersionNameExtra +
        std::max(fs::LongestPathBelow(kWorkingFolder), 1 + fs::TemporaryTemplate(kSaveFile).size());
    if (deepest >= PATH_MAX) return "the save game's files would have too long paths";
    return {};
}

std::vector<std::string> ListSaveSlots() {
    std::vector<std::string> names;
    if (!fs::FolderExists(kSaveFolder)) return names;
    fs::RecoverFolders(kSaveFolder);
    for (const fs::FolderEntry& entry : fs::ListFolder(kSaveFolder)) {
        // Only names the game can spell (in cp1252) lead back to their folder.
        const std::string name = platform::Utf8ToCp1252(entry.name);
        if (SlotFolderName(name) == entry.name) names.push_back(name);
    }
    return names;
}

bool SaveGame(const std::string& slot) {
    if (!SlotNameProblem(slot).empty() || !fs::CreateFolders(kSaveFolder)) return false;
    fs::RecoverFolders(kSaveFolder, SlotFolderName(slot));
    const HeroStuff& h = Heroes[CurrentHero];
    std::string reason;
    if (!LevelNameStaysInGame(h.LevelName) || !WriteWorkingLevel(h.LevelName, reason)) {
        return false;
    }
    const std::string path = SlotPath(slot);
    const bool oldSlot = fs::EntryExists(path);
    if (oldSlot && !fs::FolderExists(path)) return false;  // a plain file of that name stays
    const std::string fresh = fs::MakeNewVersionFolder(path);
    if (fresh.empty()) return false;
    // Files found only in the old slot survive in the new one.
    const bool built = (!oldSlot || Copy(path, fresh)) && Copy(kWorkingFolder, fresh) &&
                       WriteSaveFile(fresh, h) && fs::SwapInFolder(fresh, path);
    if (!built) fs::RemoveFolderTree(fresh);
    return built;
}

bool LoadGame(const std::string& slot, platform::Window& form, TDStuff& engine,
              const std::function<void()>& beforeChange) {
    HeroStuff saved;
    std::string problem;
    if (!ReadSlot(slot, saved, problem)) {
        platform::ShowMessage("The saved game \"" + slot + "\" cannot be loaded: " + problem + ".");
        return false;
    }
    if (beforeChange) beforeChange();
    if (!RenewWorkingCopy(SlotPath(slot))) {
        platform::ShowMessage("The saved game \"" + slot +
                              "\" could not be copied into CURRENT_GAME\\.");
        return false;
    }
    HeroStuff& h = Heroes[CurrentHero];
    h = std::move(saved);
    // The level read sets these two; the save's values are the ones kept.
    const float lightRange = h.LightRange;
    const int32_t lastShotTime = h.LastShotTime;
    const std::string quality = Level.LoadedQuality;  // the read replaces it
    ReadLevelState(std::string(kWorkingFolder) + "\\" + h.LevelName, quality, Level, form, engine);
    h.LightRange = lightRange;
    h.LastShotTime = lastShotTime;
    return true;
}

void SetSaveCopier(std::function<bool(const std::string&, const std::string&)> copier) {
    Copier() = std::move(copier);
}
