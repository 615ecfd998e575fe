// Small services the game takes from the system: the mouse cursor, joystick 1,
// the key-state array and key names, the key bindings of the 14 controls, raw
// file access at explicit offsets for the binary file formats, and the flag
// telling whether the engine runs full screen.
#pragma once

#include <cstdint>
#include <string>

// 1 while the key of that virtual-key code is held; written by the main
// window's key events, read through IsKeyDown.
extern uint8_t KeyDown[256];
// The name shown for each virtual-key code; filled by InitWinFunc.
extern std::string KeyNames[256];
// Virtual-key codes of the 14 controls: LookUp, LookDown, MoveUp, MoveDown,
// LookLeft, LookRight, MoveLeft, MoveRight, Button1..Button4, Inventory, Weapon.
// Read from and written to game.ini's [Control] section.
extern uint8_t KeyBindings[14];
// True while the engine runs full screen; set and cleared by the engine.
extern bool FullScreenActive;
// Set at start when joystick 1 does not answer.
extern bool NoJoystick;

// Start of the unit (once, after the platform is up): cursor state shown, not
// full screen, joystick 1 opened, key names filled.
void InitWinFunc();

// Shows or hides the mouse cursor; does nothing when it is already so.
void SetCursorVisible(bool visible);

// Reads joystick 1's ranges and whether it answers.
void InitJoystick();
// Whether joystick 1 is pushed that way now (a quarter and three quarters of
// its range, measured from 0).
bool JoyLeft();
bool JoyRight();
bool JoyUp();
bool JoyDown();
// Whether button n (1 to 4) of joystick 1 is pressed now; other n: false.
bool JoyButton(uint8_t n);

// KeyDown[vk]; non-zero means held.
uint8_t IsKeyDown(uint8_t vk);

// Handle of a data file opened by OpenDataFile; -1 when none.
using DataFileHandle = int;

// Opens a data file for reading and writing (for reading only when it may not
// be written), creating it only when it is missing; an existing file is never
// emptied. Size is its length in bytes. False (handle -1, size 0) when it can
// be neither opened nor created.
bool OpenDataFile(const std::string& name, DataFileHandle& handle, int32_t& size);
// Closes a data file; -1 is ignored.
void CloseDataFile(DataFileHandle handle);
// Reads count bytes at offset into buffer. A short or failed read zero-fills
// the rest of the buffer and returns false.
bool ReadDataAt(void* buffer, DataFileHandle handle, int32_t offset, int32_t count);
// Writes count bytes from buffer at offset; false unless all were written.
bool WriteDataAt(const void* buffer, DataFileHandle handle, int32_t offset, int32_t count);
// Whether the file exists.
bool FileFound(const std::string& name);
