// The interface texts: menu captions, dialog labels and messages, read from
// the dictionary in the chosen language.
#pragma once

// Reloads the dictionary and applies it to menus, dialog labels and messages.
void ApplyDictionary();
