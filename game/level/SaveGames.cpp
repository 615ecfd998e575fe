#include "game/level/SaveGames.h"

#include "support/dircpy.h"

bool CopyGameFolder(const std::string& source, const std::string& target) {
    return CopyFolder(source, target);
}
