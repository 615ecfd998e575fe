#include "shell/LocalisationUnit.h"

void ApplyDictionary() {
    // Not built yet: the dictionary and the texts it sets.
}
