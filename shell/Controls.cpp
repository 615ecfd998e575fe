#include "shell/Controls.h"

#include <algorithm>
#include <cmath>

#include "engine/G3DAngles.h"
#include "engine/G3DState.h"
#include "game/GameClock.h"
#include "game/GameIni.h"
#include "game/StartUp.h"
#include "game/clips/ClipPlayback.h"
#include "game/level/CellGrid.h"
#include "game/level/HeroStuff.h"
#include "game/level/LevelStuff.h"
#include "game/media/Video.h"
#include "game/world/BlocDynamics.h"
#include "game/world/HeroInteraction.h"
#include "platform/window/Cursor.h"
#include "platform/window/Window.h"
#include "shell/ComStuff.h"
#include "support/Snd.h"
#include "support/WinFunc.h"

uint8_t MouseLeftDown = 0;
uint8_t MouseRightDown = 0;
int32_t CursorAnchorX = 0, CursorAnchorY = 0;
int32_t MouseDeltaX = 0, MouseDeltaY = 0;
int32_t HeroFloorType = -1;

namespace {

// Control flags by index.
enum Control : int32_t {
    kLookUp = 0,
    kLookDown,
    kMoveUp,
    kMoveDown,
    kLookLeft,
    kLookRight,
    kMoveLeft,
    kMoveRight,
    kButton1,
    kButton2,
    kButton3,
    kButton4,
    kInventory,
    kWeapon,
};

constexpr uint8_t kKeypadPlus = 107;
constexpr uint8_t kKeypadMinus = 109;
constexpr uint8_t kF12 = 123;
constexpr int32_t kSoundLevel = 254;
constexpr float kTurn = 32768.0f;
// Beyond this a yaw is brought back by whole turns: a single's steps grow
// past one angle unit there, and rounding it would soon leave 32 bits.
constexpr float kYawLimit = 16777216.0f;

// F12 was down in the previous frame.
uint8_t F12WasDown = 0;

int32_t Saturated(int64_t v) { return G3DClamp32(v); }

// Whether some source other than the keyboard holds control `c`.
bool OtherSource(int32_t c) {
    switch (c) {
        case kMoveUp:
            return JoyUp();
        case kMoveDown:
            return JoyDown();
        case kLookLeft:
            return JoyLeft();
        case kLookRight:
            return JoyRight();
        case kButton1:
        case kButton2:
        case kButton3:
        case kButton4:
            return JoyButton(static_cast<uint8_t>(c - kButton1 + 1));
        default:
            return false;
    }
}

void ReadMouse(platform::Window& form) {
    int x = 0, y = 0;
    platform::CursorScreenPosition(x, y);
    MouseDeltaX = Saturated(int64_t{CursorAnchorX} - x);
    MouseDeltaY = Saturated(int64_t{CursorAnchorY} - y);
    if (!form.Active() || !MouseMode) return;
    if (FullScreenActive) {
        CursorAnchorX = DStuff.Frame.Width / 2;
        CursorAnchorY = DStuff.Frame.Height / 2;
    } else {
        int left = 0, top = 0, width = 0, height = 0;
        form.OuterRect(left, top, width, height);
        CursorAnchorX = Saturated(int64_t{left} + width / 2);
        CursorAnchorY = Saturated(int64_t{top} + height / 2);
    }
    platform::MoveCursorTo(CursorAnchorX, CursorAnchorY);
}

bool Pressed(const HeroStuff& h, int32_t c) {
    return h.ControlFlags[c] != 0 && h.PreviousControlFlags[c] == 0;
}

bool AnyFlag(const HeroStuff& h) {
    return std::any_of(h.ControlFlags.begin(), h.ControlFlags.end(),
                       [](uint8_t f) { return f != 0; });
}

// The hero's cell on one axis.
int32_t HeroCell(float w) { return CellOfCoordinate(w); }

int32_t RoundedPosition(float w) { return G3DClamp32(G3DRound64(w)); }

void PlayAtHero(const HeroStuff& h, int32_t level, TSoundBuffer* sound) {
    PlaySound3D(RoundedPosition(h.X), RoundedPosition(h.Y), RoundedPosition(h.Z), level, sound,
                DStuff);
}

// The bloc type whose step sound the walk plays: the one under the hero, or
// the one last touched when that has none.
int32_t StepSoundType(const HeroStuff& h) {
    const int32_t y = Saturated(int64_t{HeroCell(h.Y)} - 1);
    int32_t s = GetCellType(HeroCell(h.X), y, HeroCell(h.Z));
    const bool silent = !IsBlocType(s) || Level.Blocs[s].StepSoundFile.empty();
    if (silent && HeroFloorType != -1) s = HeroFloorType;
    return s;
}

void StandOrFall(HeroStuff& h) {
    if (!AnyFlag(h)) {
        h.TargetAnim = 0;
        h.BlendDuration = 200;
    }
    if (h.OnGround == 0 && std::fabs(h.VerticalSpeed) > 30.0f) {
        h.TargetAnim = 5;
        h.BlendDuration = 100;
    }
    if (!MouseMode) {
        // |speed| ≤ 256/3, exactly: the float nearest 256/3 lies above it.
        const bool steady = std::fabs(double{h.VerticalSpeed}) * 3.0 <= 256.0;
        h.PitchTarget = steady ? 0.0f : h.VerticalSpeed * 40.0f * h.FallRotateFactor;
    }
    h.PitchTarget = std::clamp(h.PitchTarget, -8000.0f, 8000.0f);
    h.Pitch = std::clamp(h.Pitch, -8000.0f, 8000.0f);
    h.TiltTarget = 0;
}

void CameraDistanceKeys(HeroStuff& h) {
    const double step = CameraStep;
    if (IsKeyDown(kKeypadPlus) != 0 && CameraMinDistance + step <= h.CameraDistance) {
        PlaySoundBuffer(CameraSound, false);
        h.CameraDistance = static_cast<float>(h.CameraDistance - step);
    }
    if (IsKeyDown(kKeypadMinus) != 0 && CameraMaxDistance - step > h.CameraDistance) {
        PlaySoundBuffer(CameraSound, false);
        h.CameraDistance = static_cast<float>(h.CameraDistance + step);
    }
}

void Jump(HeroStuff& h) {
    if (h.ControlFlags[kButton1] == 0 || std::fabs(h.VerticalSpeed) >= 51.2f || h.OnGround == 0)
        return;
    h.VerticalSpeed = static_cast<float>(h.JumpG);
    h.OnGround = 0;
    PlaySound3D(G3DTrunc32(h.X), G3DTrunc32(h.Y), G3DTrunc32(h.Z), kSoundLevel, h.JumpSound,
                DStuff);
}

// The next bloc type after `selected`, cyclically over 0..256, that the hero
// holds and that is (or is not) a bullet; -1 when none. A selection outside
// 0..256 searches every type from 0.
int32_t NextHeld(const HeroStuff& h, int32_t selected, bool bullet) {
    const bool valid = IsBlocType(selected);
    const int32_t first = valid ? selected + 1 : 0;
    const int32_t count = valid ? kBlocTypeCount - 1 : kBlocTypeCount;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t t = (first + i) % kBlocTypeCount;
        if (h.Inventory[t] > 0 && (Level.Blocs[t].Bullet != 0) == bullet) return t;
    }
    return -1;
}

void ChooseItems(HeroStuff& h) {
    if (Pressed(h, kInventory)) {
        const int32_t t = NextHeld(h, h.SelectedObject, false);
        if (t >= 0) {
            h.SelectedObject = t;
            PlaySoundBuffer(h.InventorySound, false);
        }
    }
    if (Pressed(h, kWeapon)) {
        const int32_t t = NextHeld(h, h.Weapon, true);
        if (t >= 0) {
            h.Weapon = t;
            PlaySoundBuffer(h.WeaponSound, false);
        }
    }
}

void LookAround(HeroStuff& h) {
    if (MouseMode) {
        h.Yaw = static_cast<float>(h.Yaw - static_cast<double>(MouseDeltaX) * 15.0);
        KeepYawInTurns(h.Yaw);
        h.Pitch = static_cast<float>(h.Pitch + static_cast<double>(MouseDeltaY) * 8.0);
        h.PitchTarget = static_cast<float>(h.PitchTarget + static_cast<double>(MouseDeltaY) * 8.0);
    }
    if (h.ControlFlags[kLookUp] != 0) h.PitchTarget = 6000;
    if (h.ControlFlags[kLookDown] != 0) h.PitchTarget = -6000;
    if (h.ControlFlags[kLookRight] != 0) {
        h.YawSpeed = FrameStepScale(static_cast<float>(h.AngleSpeed));
        h.TiltTarget = 500;
    }
    if (h.ControlFlags[kLookLeft] != 0) {
        h.YawSpeed = -FrameStepScale(static_cast<float>(h.AngleSpeed));
        h.TiltTarget = -500;
    }
}

// One walk's step of the walk animation, with the step sound of type s.
void WalkStep(HeroStuff& h, int32_t s) {
    h.WalkPhase += FrameStepScale(h.MeshSpeed);
    if (h.WalkPhase > 1.0f && h.OnGround != 0) {
        h.WalkPhase = 0;
        const int64_t next = int64_t{h.TargetAnim} + 1;
        h.TargetAnim = next < 1 ? 4 : next > 4 ? 1 : static_cast<int32_t>(next);
        h.BlendDuration = 200;
        if ((h.TargetAnim == 1 || h.TargetAnim == 3) && IsBlocType(s)) {
            PlayAtHero(h, kSoundLevel, Level.Blocs[s].StepSoundBuffer);
        }
    }
    if (h.OnGround != 0 && h.ControlFlags[kButton1] == 0) h.OnGround = 0;
}

void Walk(HeroStuff& h, int32_t s) {
    const int64_t yaw = G3DRound64(h.Yaw);
    const float sinSpeed = G3DSin(yaw) * static_cast<float>(h.Speed);
    const float cosSpeed = G3DCos(yaw) * static_cast<float>(h.Speed);
    if (h.ControlFlags[kMoveUp] != 0) {
        h.SpeedX += FrameStepScale(sinSpeed);
        h.SpeedZ += FrameStepScale(cosSpeed);
        WalkStep(h, s);
    }
    if (h.ControlFlags[kMoveDown] != 0) {
        h.SpeedX -= FrameStepScale(sinSpeed);
        h.SpeedZ -= FrameStepScale(cosSpeed);
        WalkStep(h, s);
    }
    if (h.ControlFlags[kMoveRight] != 0) {
        h.SpeedX += FrameStepScale(cosSpeed);
        h.SpeedZ -= FrameStepScale(sinSpeed);
        h.TiltTarget = 500;
        WalkStep(h, s);
    }
    if (h.ControlFlags[kMoveLeft] != 0) {
        h.SpeedX -= FrameStepScale(cosSpeed);
        h.SpeedZ += FrameStepScale(sinSpeed);
        h.TiltTarget = -500;
        WalkStep(h, s);
    }
}

void UseSelectedItem(HeroStuff& h) {
    const int32_t s = h.SelectedObject;
    if (!IsBlocType(s) || h.Inventory[s] <= 0) return;
    const BlocStuff& type = Level.Blocs[s];
    if (type.Medikit == 0) return;
    PlayAtHero(h, type.ActionVolume, type.ActionSoundBuffer);
    h.Life += static_cast<float>(type.MedikitHealth);
    h.Inventory[s] -= 1;
}

void Act(HeroStuff& h) {
    if (!Pressed(h, kButton3)) return;
    const int32_t above = Saturated(int64_t{h.TargetCellY} + 1);
    const bool acted = HeroAction(h.TargetCellX, h.TargetCellY, h.TargetCellZ, CurrentHero) ||
                       HeroAction(h.TargetCellX, above, h.TargetCellZ, CurrentHero);
    if (!acted) UseSelectedItem(h);
}

// How far ahead of the hero a shot of type w starts.
int64_t ShotDistance(const HeroStuff& h, const BlocStuff& w) {
    const int64_t body = std::max<int64_t>(h.HeroWidth, h.HeroHeight / 2);
    const int64_t extent = std::llabs(int64_t{w.Xmax} - w.Xmin) +
                           std::llabs(int64_t{w.Ymax1} - w.Ymin) +
                           std::llabs(int64_t{w.Zmax} - w.Zmin);
    return static_cast<int64_t>(std::trunc(static_cast<double>(body + extent / 3) * 1.1));
}

void Shoot(HeroStuff& h) {
    const int32_t w = h.Weapon;
    if (!Pressed(h, kButton4) || !IsBlocType(w) || h.Inventory[w] <= 0) return;
    if (int64_t{FrameTime} - h.LastShotTime <= Level.Blocs[w].ReloadTime) return;
    const float pitch = h.CameraDistance > 0 ? 0.0f : h.Pitch;
    const int64_t yaw = G3DRound64(h.Yaw);
    const int64_t shotPitch = G3DRound64(pitch);
    const double dx = double{G3DSin(yaw)} * G3DCos(shotPitch);
    const double dy = G3DSin(shotPitch);
    const double dz = double{G3DCos(yaw)} * G3DCos(shotPitch);
    const double d = static_cast<double>(ShotDistance(h, Level.Blocs[w]));
    const double x = double{h.X} + h.SpeedX + d * dx;
    const double y = double{h.Y} + h.SpeedY + h.VerticalSpeed + d * dy;
    const double z = double{h.Z} + h.SpeedZ + d * dz;
    FireProjectile(w, static_cast<float>(x), static_cast<float>(y), static_cast<float>(z), h.Yaw,
                   pitch);
    h.TargetAnim = 11;
    h.Inventory[w] -= 1;
    h.LastShotTime = FrameTime;
}

}  // namespace

void KeepYawInTurns(float& yaw) {
    if (!std::isfinite(yaw)) {
        yaw = 0;
        return;
    }
    if (std::fabs(yaw) > kYawLimit) yaw = std::fmod(yaw, kTurn);
}

void ReadControls(platform::Window& form) {
    ReadMouse(form);
    HeroStuff& h = Heroes[CurrentHero];
    for (int32_t c = kButton3; c <= kWeapon; ++c) h.PreviousControlFlags[c] = h.ControlFlags[c];
    for (int32_t c = 0; c < kControlCount; ++c) {
        h.ControlFlags[c] = IsKeyDown(KeyBindings[c]) != 0 || OtherSource(c) ? 1 : 0;
    }
    if (MouseMode) {
        if (MouseLeftDown != 0) h.ControlFlags[kButton4] = 1;
        if (MouseRightDown != 0) h.ControlFlags[kButton1] = 1;
    }
}

void GlobalKeys(platform::Window& form) {
    const HeroStuff& h = Heroes[CurrentHero];
    const bool button = h.ControlFlags[kButton1] != 0 || h.ControlFlags[kButton2] != 0 ||
                        h.ControlFlags[kButton3] != 0 || h.ControlFlags[kButton4] != 0;
    // While a video plays nothing else happens; only play mode lets it be skipped.
    if (VideoPlaying != 0) {
        if ((button || MouseLeftDown != 0) && GameMode == ModePlay) StopVideo(form);
        return;
    }
    if (KeyFramesRunning != 0 && button) {
        KeyFramesRunning = 0;
        PlayClip(NextClip, form);
    }
    // One toggle per press, however many frames the key is held.
    const uint8_t f12 = IsKeyDown(kF12) != 0 ? 1 : 0;
    if (f12 != 0 && F12WasDown == 0) DebugDisplay = DebugDisplay != 0 ? 0 : 1;
    F12WasDown = f12;
}

void ControlHero(platform::Window& /*form*/) {
    HeroStuff& h = Heroes[CurrentHero];
    HeroTouchEffects(CurrentHero);
    const int32_t s = StepSoundType(h);
    StandOrFall(h);
    CameraDistanceKeys(h);
    Jump(h);
    ChooseItems(h);
    LookAround(h);
    Walk(h, s);
    Act(h);
    if (h.ControlFlags[kButton2] != 0) HeroMakeGolemLieDown(CurrentHero);
    Shoot(h);
}
