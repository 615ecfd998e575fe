// The game's folders of state: the working copy of the running game in
// CURRENT_GAME\, and the save slots in SAVEGAME\: a slot is a copy of
// CURRENT_GAME\ (the level being played written into it first) plus the file
// savegame.bin, which holds the current hero. A save builds the slot's new
// version beside it and swaps it in whole, and a load checks the slot whole
// before the running game changes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct HeroStuff;
struct TDStuff;

namespace platform {
class Window;
}

// Size of savegame.bin: the hero's fields, little-endian, unpadded.
constexpr int32_t kSaveGameBytes = 1473;

// Copies every file and subfolder of `source` (a data path such as "LEVEL\")
// into `target` (created when missing), replacing what is there; true when
// everything was copied.
bool CopyGameFolder(const std::string& source, const std::string& target);

// Renews the running game's working copy from `source` (a data path such as
// "LEVEL"): CURRENT_GAME\'s new version, its old files with those of `source`
// copied over them, is built beside it and swapped in whole. A CURRENT_GAME
// that is a link is replaced by a folder of the game's own, built from
// `source` alone: nothing is read from or written to where the link leads.
// False, with CURRENT_GAME\ as it was, when a step failed (a full disk).
bool RenewWorkingCopy(const std::string& source);

// Writes the level being played (`Level`) into the working copy as
// CURRENT_GAME\<name>, replacing the old file whole. False, with the old file
// untouched and the reason in `reason`, when it could not be written; a
// CURRENT_GAME that is a link is never written through.
bool WriteWorkingLevel(const std::string& name, std::string& reason);

// The bytes of savegame.bin for `hero`.
std::string EncodeSaveGame(const HeroStuff& hero);

// Reads the bytes of a savegame.bin into `hero`. False, with `hero`
// untouched and the reason in `problem`, when there are fewer than
// kSaveGameBytes, a float is not finite or passes 1e9, the weapon or
// selected type is outside -1..256, an animation outside 0..13, an inventory
// count beyond a thousand million either way, or the level
// name is empty, rooted or climbs out of CURRENT_GAME\. Bytes past the
// record are ignored.
bool DecodeSaveGame(std::string_view bytes, HeroStuff& hero, std::string& problem);

// Why `name` (cp1252), typed as a slot to save to, is refused; empty when it
// may be saved to. Refused: what cannot be one folder name inside SAVEGAME
// (an empty name, "." and "..", "/" or "\", control characters, a name too
// long for the file system or whose files' paths would be), the names of
// temporaries, and a slot that is a symbolic link. The slot's folder is named
// in UTF-8.
std::string SlotNameProblem(const std::string& name);

// The entries of SAVEGAME\ (folders and plain files alike; temporaries of
// unfinished saves never), sorted by name, after tidying what killed saves
// left there; their UTF-8 names given in cp1252, and names that cp1252 cannot
// spell left out.
std::vector<std::string> ListSaveSlots();

// Saves the running game into the slot `slot`: the current level into
// CURRENT_GAME\, then the slot's new version (the old slot, with
// CURRENT_GAME\ over it and savegame.bin) swapped in. False when a step failed: the old slot
// is then as it was.
bool SaveGame(const std::string& slot);

// Loads the slot `slot`. The slot is checked first: a folder (not a link) of SAVEGAME\ with
// a whole savegame.bin of values in range, whose level file is there (in the
// slot, or in CURRENT_GAME\) and valid; a refused slot shows a message box
// with the reason and changes nothing. Once the check has passed,
// `beforeChange` (when given) runs, before anything of the running game
// changes; it must leave the current hero alone. Then the slot's files are
// merged over CURRENT_GAME\, savegame.bin read into the current hero, and the
// hero's level read, the light range and last shot time staying those of the
// save. False when the slot was refused or CURRENT_GAME\ could not be
// updated.
bool LoadGame(const std::string& slot, platform::Window& form, TDStuff& engine,
              const std::function<void()>& beforeChange = {});

// Tests: replaces the copier that saves, loads and new games use (CopyGameFolder when
// empty), so that a copy can be made to fail or stop midway.
void SetSaveCopier(
    std::function<bool(const std::string& source, const std::string& target)> copier);
