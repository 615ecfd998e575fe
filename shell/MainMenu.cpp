#include "shell/MainMenu.h"

#include <algorithm>

#include "engine/G3DBackend.h"
#include "platform/ui/Ui.h"

MainMenuStuff MainMenu = DesignedMainMenu();

namespace {

constexpr uint8_t kBackspace = 8, kEnter = 13, kEscape = 27, kDelete = 46;
constexpr uint8_t kF1 = 112;

MenuShortcut Key(uint8_t key) { return {key, false, false}; }
MenuShortcut Ctrl(uint8_t key) { return {key, false, true}; }
MenuShortcut Alt(uint8_t key) { return {key, true, false}; }

// The file menu's commands, in their order; the options menu's are drawn
// around the size submenu.
constexpr MenuItemId kFileCommands[] = {MenuItemId::Quitter1, MenuItemId::SaveGamePosition,
                                        MenuItemId::LoadGamePosition1, MenuItemId::TitleMenu};

std::optional<MenuChoice> DrawItem(platform::ui::Ui& ui, const MainMenuStuff& menu, MenuItemId id) {
    const MenuItemStuff& item = menu[id];
    if (ui.MenuItem(ShownCaption(item.caption), item.name, ShortcutText(item.shortcut),
                    item.enabled)) {
        return MenuChoice{id, {}};
    }
    return std::nullopt;
}

bool OpenMenu(platform::ui::Ui& ui, const MainMenuStuff& menu, MenuItemId id) {
    const MenuItemStuff& item = menu[id];
    return ui.BeginMenu(ShownCaption(item.caption), item.name, item.enabled);
}

std::optional<MenuChoice> DrawFileMenu(platform::ui::Ui& ui, const MainMenuStuff& menu) {
    std::optional<MenuChoice> choice;
    if (!OpenMenu(ui, menu, MenuItemId::Quit1)) return choice;
    for (MenuItemId id : kFileCommands) {
        if (auto chosen = DrawItem(ui, menu, id)) choice = chosen;
    }
    ui.EndMenu();
    return choice;
}

std::optional<MenuChoice> DrawScreenSizes(platform::ui::Ui& ui, const MainMenuStuff& menu) {
    std::optional<MenuChoice> choice;
    if (!OpenMenu(ui, menu, MenuItemId::ScreenSizeMenu)) return choice;
    for (const std::string& size : menu.screenSizes) {
        if (ui.MenuItem(size, "ScreenSize" + size, "", true)) {
            choice = MenuChoice{MenuItemId::ScreenSizeMenu, size};
        }
    }
    ui.EndMenu();
    return choice;
}

std::optional<MenuChoice> DrawOptionsMenu(platform::ui::Ui& ui, const MainMenuStuff& menu) {
    std::optional<MenuChoice> choice;
    if (!OpenMenu(ui, menu, MenuItemId::Options1)) return choice;
    if (auto chosen = DrawItem(ui, menu, MenuItemId::RenderingOptions1)) choice = chosen;
    if (auto chosen = DrawScreenSizes(ui, menu)) choice = chosen;
    for (MenuItemId id :
         {MenuItemId::WindowModeMenu, MenuItemId::SaveConfig1, MenuItemId::ModeSouris1,
          MenuItemId::MontrerCacherFPS1, MenuItemId::BasculerModeRelief1}) {
        if (auto chosen = DrawItem(ui, menu, id)) choice = chosen;
    }
    ui.EndMenu();
    return choice;
}

}  // namespace

MainMenuStuff DesignedMainMenu() {
    MainMenuStuff menu;
    const struct {
        const char* name;
        const char* caption;
        MenuShortcut shortcut;
    } designed[kMenuItemCount] = {
        {"Quit1", "&Fichier", {}},
        {"Quitter1", "Quitter", Ctrl('Q')},
        {"SaveGamePosition", "Sauver la partie", Key(kF1 + 1)},
        {"LoadGamePosition1", "Charger la partie", Key(kF1 + 2)},
        {"TitleMenu", "Ecran de titre", Key(kDelete)},
        {"Options1", "&Options", {}},
        {"RenderingOptions1", "Controles && Rendu ...", Ctrl('O')},
        {"ScreenSizeMenu",
         "Mode plein \xE9"
         "cran",
         {}},
        {"WindowModeMenu", "Mode fen\xEAtr\xE9", Alt(kBackspace)},
        {"SaveConfig1", "Sauver la config", Key(kF1 + 3)},
        {"ModeSouris1", "Mode Souris", Key(kF1 + 5)},
        {"MontrerCacherFPS1", "Montrer/Cacher FPS", Key(kF1 + 8)},
        {"BasculerModeRelief1", "Basculer Mode Relief", Key(kF1 + 7)},
        {"Aide1", "Aide", Key(kF1)},
    };
    for (int i = 0; i < kMenuItemCount; ++i) {
        MenuItemStuff& item = menu.items[static_cast<size_t>(i)];
        item.name = designed[i].name;
        item.caption = designed[i].caption;
        item.shortcut = designed[i].shortcut;
    }
    return menu;
}

std::optional<MenuChoice> DrawMainMenu(platform::ui::Ui& ui, const MainMenuStuff& menu) {
    std::optional<MenuChoice> choice;
    if (!ui.BeginMenuBar()) return choice;
    if (auto chosen = DrawFileMenu(ui, menu)) choice = chosen;
    if (auto chosen = DrawOptionsMenu(ui, menu)) choice = chosen;
    if (auto chosen = DrawItem(ui, menu, MenuItemId::Aide1)) choice = chosen;
    ui.EndMenuBar();
    return choice;
}

std::optional<MenuItemId> ShortcutItem(const MainMenuStuff& menu, uint8_t key, bool ctrl, bool alt,
                                       bool shift) {
    if (!menu.shown || key == 0 || shift) return std::nullopt;
    for (int i = 0; i < kMenuItemCount; ++i) {
        const MenuItemStuff& item = menu.items[static_cast<size_t>(i)];
        const MenuShortcut& s = item.shortcut;
        if (item.enabled && s.key == key && s.ctrl == ctrl && s.alt == alt) {
            return static_cast<MenuItemId>(i);
        }
    }
    return std::nullopt;
}

void BuildScreenSizeMenu(MainMenuStuff& menu, platform::Window& form) {
    auto add = [&menu](const std::string& caption) {
        if (std::find(menu.screenSizes.begin(), menu.screenSizes.end(), caption) ==
            menu.screenSizes.end()) {
            menu.screenSizes.push_back(caption);
        }
    };
    add("320x200");
    add("320x240");
    int32_t width = 0, height = 0;
    for (int32_t i = 0; G3DDisplayMode(form, i, width, height); ++i) {
        add(std::to_string(width) + "x" + std::to_string(height));
    }
}

std::string ShortcutText(const MenuShortcut& shortcut) {
    if (shortcut.key == 0) return {};
    std::string key;
    const uint8_t k = shortcut.key;
    if (k >= kF1 && k < kF1 + 24) {
        key = "F" + std::to_string(k - kF1 + 1);
    } else if (k == kEscape) {
        key = "Esc";
    } else if (k == kEnter) {
        key = "Enter";
    } else if (k == kBackspace) {
        key = "Backspace";
    } else if (k == kDelete) {
        key = "Del";
    } else {
        key = std::string(1, static_cast<char>(k));
    }
    return std::string(shortcut.ctrl ? "Ctrl+" : "") + (shortcut.alt ? "Alt+" : "") + key;
}

std::string ShownCaption(const std::string& caption) {
    std::string shown;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != '&') {
            shown += caption[i];
        } else if (i + 1 < caption.size() && caption[i + 1] == '&') {
            shown += '&';
            ++i;
        }
    }
    return shown;
}
