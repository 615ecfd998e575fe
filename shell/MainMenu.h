// The main window's menu bar: its items with their captions, shortcuts and
// enabled states, the full-screen size submenu, the bar's description for the
// interface toolkit, and the items that keys choose.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {
class Window;
}
namespace platform::ui {
class Ui;
}

// A menu command's keyboard shortcut.
struct MenuShortcut {
    uint8_t key = 0;  // virtual-key code; 0: none
    bool alt = false;
    bool ctrl = false;
};

// The items, in the order of their dictionary entries (0..13).
enum class MenuItemId : int32_t {
    Quit1,  // the "file" menu
    Quitter1,
    SaveGamePosition,
    LoadGamePosition1,
    TitleMenu,
    Options1,  // the "options" menu
    RenderingOptions1,
    ScreenSizeMenu,  // the submenu of full-screen sizes
    WindowModeMenu,
    SaveConfig1,
    ModeSouris1,
    MontrerCacherFPS1,
    BasculerModeRelief1,
    Aide1,  // a command on the bar itself
};
constexpr int kMenuItemCount = 14;

struct MenuItemStuff {
    const char* name = "";  // the item's name, part of its toolkit id
    std::string caption;    // cp1252
    MenuShortcut shortcut;
    bool enabled = true;
};

struct MainMenuStuff {
    std::array<MenuItemStuff, kMenuItemCount> items;
    // Captions of the full-screen size submenu, each once, in the order added.
    std::vector<std::string> screenSizes;
    bool shown = true;  // the bar is on the window

    MenuItemStuff& operator[](MenuItemId id) { return items[static_cast<size_t>(id)]; }
    const MenuItemStuff& operator[](MenuItemId id) const { return items[static_cast<size_t>(id)]; }
};

// The main window's menu bar. Set to the designed one when the main window is
// made; captions replaced at every activation, the save command enabled in
// play mode only, shortcuts changed at the first activation, sizes added at
// every activation.
extern MainMenuStuff MainMenu;

// The menu bar as designed: its captions, shortcuts, all items enabled.
MainMenuStuff DesignedMainMenu();

// What was chosen in the bar: an item, and for the size submenu the caption
// of the size.
struct MenuChoice {
    MenuItemId item;
    std::string screenSize;
};

// Describes the bar through `ui`; the item chosen in this frame, if any.
std::optional<MenuChoice> DrawMainMenu(platform::ui::Ui& ui, const MainMenuStuff& menu);

// The enabled command item whose shortcut is `key` with exactly these
// modifiers; none while the bar is hidden.
std::optional<MenuItemId> ShortcutItem(const MainMenuStuff& menu, uint8_t key, bool ctrl, bool alt,
                                       bool shift);

// Adds the captions "320x200", "320x240" and then "<width>x<height>" of each
// of the display's modes that the submenu lacks.
void BuildScreenSizeMenu(MainMenuStuff& menu, platform::Window& form);

// The text shown beside an item for its shortcut ("Ctrl+Q", "F2", "Alt+Enter").
std::string ShortcutText(const MenuShortcut& shortcut);

// A caption as shown: "&" marks the next letter as the item's key in the
// designed captions and is dropped; "&&" shows one "&".
std::string ShownCaption(const std::string& caption);
