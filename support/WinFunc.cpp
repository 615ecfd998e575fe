#include "support/WinFunc.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/fs/FileSystem.h"
#include "platform/fs/PathResolver.h"
#include "platform/joystick/Joystick.h"
#include "platform/window/Cursor.h"

uint8_t KeyDown[256] = {};
std::string KeyNames[256];
uint8_t KeyBindings[14] = {};
bool FullScreenActive = false;
bool NoJoystick = true;

namespace {

bool CursorShown = true;
platform::JoystickCaps JoyCaps;

struct NamedKey {
    uint8_t code;
    const char* name;
};

constexpr NamedKey kNamedKeys[] = {
    {8, "DEL"},    {13, "RET"},     {16, "SHIFT"}, {17, "CTRL"}, {18, "ALT"},     {32, "SPACE"},
    {33, "PG.UP"}, {34, "PG.DOWN"}, {35, "END"},   {36, "HOME"}, {37, "LEFT"},    {38, "UP"},
    {39, "RIGHT"}, {40, "DOWN"},    {45, "INS"},   {46, "SUP"},  {96, "NUM INS"}, {110, "NUM SUP"},
};

void FillKeyNames() {
    for (int code = 0; code < 256; ++code) KeyNames[code] = std::string(1, static_cast<char>(code));
    for (const NamedKey& key : kNamedKeys) KeyNames[key.code] = key.name;
    for (int f = 0; f < 12; ++f) KeyNames[112 + f] = "F" + std::to_string(f + 1);
}

// Current position of joystick 1, or false when it does not answer.
bool JoyPosition(platform::JoystickPosition& position) {
    if (NoJoystick) return false;
    return platform::ReadJoystick1(position);
}

int64_t HalfRange(uint32_t minimum, uint32_t maximum) {
    return static_cast<int64_t>(static_cast<uint32_t>(maximum - minimum) >> 1);
}

}  // namespace

void InitWinFunc() {
    CursorShown = true;
    FullScreenActive = false;
    InitJoystick();
    FillKeyNames();
}

void SetCursorVisible(bool visible) {
    if (visible == CursorShown) return;
    platform::ShowSystemCursor(visible);
    CursorShown = visible;
}

void InitJoystick() {
    platform::JoystickPosition position;
    NoJoystick = !platform::OpenJoystick1(JoyCaps) || !platform::ReadJoystick1(position);
}

namespace {

enum class Axis { X, Y };

// Position of joystick 1 on an axis and the half of that axis's range; false
// when the joystick does not answer.
bool AxisState(Axis axis, int64_t& position, int64_t& half) {
    platform::JoystickPosition p;
    if (!JoyPosition(p)) return false;
    position = static_cast<int32_t>(axis == Axis::X ? p.x : p.y);
    half = axis == Axis::X ? HalfRange(JoyCaps.xMin, JoyCaps.xMax)
                           : HalfRange(JoyCaps.yMin, JoyCaps.yMax);
    return true;
}

// Below a quarter of the axis's range, measured from 0.
bool AxisLow(Axis axis) {
    int64_t position = 0, half = 0;
    return AxisState(axis, position, half) && position < half / 2;
}

// Above three quarters of the axis's range, measured from 0.
bool AxisHigh(Axis axis) {
    int64_t position = 0, half = 0;
    return AxisState(axis, position, half) && position > half * 3 / 2;
}

}  // namespace

bool JoyLeft() { return AxisLow(Axis::X); }
bool JoyRight() { return AxisHigh(Axis::X); }
bool JoyUp() { return AxisLow(Axis::Y); }
bool JoyDown() { return AxisHigh(Axis::Y); }

bool JoyButton(uint8_t n) {
    if (n < 1 || n > 4) return false;
    platform::JoystickPosition p;
    if (!JoyPosition(p)) return false;
    return (p.buttons & (1u << (n - 1))) != 0;
}

uint8_t IsKeyDown(uint8_t vk) { return KeyDown[vk]; }

bool OpenDataFile(const std::string& name, DataFileHandle& handle, int32_t& size) {
    handle = -1;
    size = 0;
    std::string real = platform::fs::Resolve(name);
    // O_NONBLOCK keeps the open from waiting on a pipe, which fstat then
    // refuses; it changes nothing for a regular file.
    int fd = open(real.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM))
        fd = open(real.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);  // writes will then fail
    if (fd < 0 && errno == ENOENT)
        fd = open(real.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return false;
    }
    // The binary formats address their fields with 32-bit offsets.
    size = info.st_size > INT32_MAX ? INT32_MAX : static_cast<int32_t>(info.st_size);
    lseek(fd, 0, SEEK_END);
    handle = fd;
    return true;
}

void CloseDataFile(DataFileHandle handle) {
    if (handle >= 0) close(handle);
}

bool ReadDataAt(void* buffer, DataFileHandle handle, int32_t offset, int32_t count) {
    if (count <= 0) return count == 0;
    char* bytes = static_cast<char*>(buffer);
    size_t done = 0;
    const size_t wanted = static_cast<size_t>(count);
    if (handle >= 0 && offset >= 0) {
        while (done < wanted) {
            ssize_t n =
                pread(handle, bytes + done, wanted - done, static_cast<off_t>(offset) + done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            done += static_cast<size_t>(n);
        }
    }
    if (done < wanted) std::memset(bytes + done, 0, wanted - done);
    return done == wanted;
}

bool WriteDataAt(const void* buffer, DataFileHandle handle, int32_t offset, int32_t count) {
    if (count <= 0) return count == 0;
    if (handle < 0 || offset < 0) return false;
    const char* bytes = static_cast<const char*>(buffer);
    size_t done = 0;
    const size_t wanted = static_cast<size_t>(count);
    while (done < wanted) {
        ssize_t n = pwrite(handle, bytes + done, wanted - done, static_cast<off_t>(offset) + done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool FileFound(const std::string& name) { return platform::fs::FileExists(name); }
