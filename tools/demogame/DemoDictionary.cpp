#include "tools/demogame/DemoDictionary.h"

#include "tools/demogame/IniText.h"

namespace demo {

namespace {

// Entries 0..52 of the dictionary, in cp1252; entries 53..256 are unused.
const char* const kEntries[] = {
    // 0..13: the menus.
    "&Fichier",
    "Quitter",
    "Sauver la partie",
    "Charger la partie",
    "Ecran de titre",
    "&Options",
    "Contr\xF4les && Rendu ...",
    ("Mode plein \xE9"
     "cran"),
    "Mode fen\xEAtr\xE9",
    "Sauver la configuration",
    "Mode souris",
    "Montrer/Cacher FPS",
    "Basculer le relief",
    "Aide",
    // 14..20: the save command's count, the dialogs.
    "sauvegardes restantes",
    "Donnez un nom \xE0 la sauvegarde.",
    "Sauver la partie",
    "Sauver",
    "Annuler",
    "Charger une partie",
    "Charger",
    // 21..38: the options dialog.
    "Avancer",
    "Reculer",
    "Gauche",
    "Droite",
    "Sauter",
    "Coucher golem",
    "Inventaire",
    "Regarder haut",
    "Regarder bas",
    "Tourner gauche",
    "Tourner droite",
    "Action",
    "Tirer",
    "Arme",
    "Distance de vue:",
    "Musique",
    "Commandes",
    "Options",
    // 39..52: the HUD messages.
    "Musique coupee",
    "Musique en marche",
    "Niveau",
    "-",
    "-",
    "Plein ecran",
    "Relief rouge/cyan",
    "Relief vert/rouge",
    "Relief coupe",
    "Partie sauvee",
    "Partie chargee",
    "Configuration sauvee",
    "Mode souris en marche",
    "Mode souris coupe",
};

}  // namespace

std::string DictionaryText() {
    IniText ini;
    ini.Section("Config");
    ini.Key("Language", kDictionaryLanguage);
    ini.Section(kDictionaryLanguage);
    int entry = 0;
    for (const char* text : kEntries) ini.Key(std::to_string(entry++), text);
    return ini.Text();
}

std::string HelpText() {
    return "Demo Quest\r\n"
           "\r\n"
           "Arrow keys: walk and turn. A, D: step sideways. Page Up, Page Down: look.\r\n"
           "Space: jump. Enter: act. F: shoot. Tab, W: items and weapons.\r\n"
           "F2: save, F3: load, Ctrl+O: options, F4: save the configuration.\r\n"
           "Alt+Enter: window mode. Esc: title screen.\r\n";
}

}  // namespace demo
