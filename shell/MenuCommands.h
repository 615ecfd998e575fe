// The menu commands of the main window and its window events other than keys
// and mouse buttons: each command runs whole between two frames and confirms
// itself with a HUD message from the dictionary; refusals and failures get
// message boxes.
#pragma once

#include <cstdint>
#include <string>

#include "shell/MainMenu.h"

namespace platform {
class Window;
}

// The stereo relief mode last chosen: 0 off, 1 red/cyan, 2 green/red. Kept
// for the run; changed only by the relief command.
extern uint8_t ReliefMode;

// The commands; `form` is the main window.
void Quitter1Click(platform::Window& form);
// Saves into the slot chosen in the dialog when saves are left and the
// command is enabled (play mode); counts the save only when it worked.
void SaveGamePositionClick(platform::Window& form);
// Loads the slot chosen in the dialog, from any mode: the screen's clips,
// music and video end first, then play mode.
void LoadGamePosition1Click(platform::Window& form);
void TitleMenuClick(platform::Window& form);
void RenderingOptions1Click();
void WindowModeMenuClick(platform::Window& form);
// Writes game.ini: message 19 when it worked, a message box naming the file
// when it did not.
void SaveConfig1Click(platform::Window& form);
void ModeSouris1Click();
void MontrerCacherFPS1Click();
void BasculerModeRelief1Click(platform::Window& form);
// Opens game.ini's help file with the desktop's viewer when it is a document
// inside the game's folder; otherwise, and when no viewer can be started,
// says why on stderr. Nothing when unnamed.
void Aide1Click();
// Full screen at the size "<width>x<height>" of a submenu caption; a caption
// that is no size does nothing, and a size the display refuses puts the
// window back as it was, without a message.
void ScreenSizeClick(platform::Window& form, const std::string& caption);

// Runs the command of a menu choice.
void RunMenuChoice(const MenuChoice& choice, platform::Window& form);
// Runs the command whose shortcut the key pressed is (modifiers from the
// key-state array; a key held down chooses its command once); false when it
// is none, the key then being the game's.
bool RunMenuShortcut(uint8_t virtualKey, bool repeat, platform::Window& form);

// The window's client area changed (after the first activation): the engine
// takes the new size, rounded down to a multiple of 4 across; a size of 0 is
// ignored.
void FormResize(platform::Window& form, int clientWidth, int clientHeight);
// A typed character: 178 hides the menu bar or shows it again.
void FormKeyPress(platform::Window& form, char character);
