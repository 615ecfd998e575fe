#include "shell/PlayFrame.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/G3DAngles.h"
#include "engine/G3DImages.h"
#include "engine/G3DState.h"
#include "game/GameClock.h"
#include "game/GameIni.h"
#include "game/StartUp.h"
#include "game/draw/HudText.h"
#include "game/level/CellGrid.h"
#include "game/level/HeroStuff.h"
#include "game/level/LevelStuff.h"
#include "game/script/BehaviourInterpreter.h"
#include "game/world/Collision.h"
#include "game/world/Golems.h"
#include "game/world/HeroInteraction.h"
#include "shell/ComStuff.h"
#include "shell/Controls.h"
#include "shell/GameForm.h"
#include "shell/GameScene.h"
#include "shell/LocalisationUnit.h"
#include "shell/MainMenu.h"
#include "support/Snd.h"

int32_t SaveCountShown = -1;

namespace {

constexpr int32_t kSoundLevel = 254;

// Halves a per-90-ms term every 90 ms, never past 0.
void Decay(float& term) {
    float d = FrameStepScale(term / 2.0f);
    if (std::fabs(d) > std::fabs(term)) d = term;
    term -= d;
}

int32_t Rounded(float w) { return G3DClamp32(G3DRound64(w)); }

std::string RoundedText(float w) { return std::to_string(G3DRound64(w)); }

void UpdateSaveCount(const HeroStuff& h) {
    if (h.SavesLeft == SaveCountShown) return;
    SaveCountShown = h.SavesLeft;
    MainMenu[MenuItemId::SaveGamePosition].caption =
        SaveCommandCaption(SaveCountShown, LocalisedMessages[0], LocalisedMessages[1]);
}

void RunHeroTimer(HeroStuff& h) {
    if (h.TimerOn == 0) return;
    // Run out: the scene frame has applied (or is to apply) its health change.
    if (h.TimerExpired != 0 && h.TimerValue <= 0) return;
    h.TimerExpired = 0;
    const auto step = static_cast<int64_t>(std::trunc(static_cast<double>(FrameStep) * TimeScale));
    h.TimerValue = G3DClamp32(int64_t{h.TimerValue} - step);
    if (h.TimerValue < 0) h.TimerExpired = 1;
}

bool OnExit(float x, float y, float z) {
    const int32_t t = GetCellType(CellOfCoordinate(x), CellOfCoordinate(y), CellOfCoordinate(z));
    return IsBlocType(t) && Level.Blocs[t].Exit != 0;
}

bool EveryoneOnExits(const HeroStuff& h) {
    if (!OnExit(h.X, h.Y, h.Z)) return false;
    return std::all_of(Level.Golems.begin(), Level.Golems.end(),
                       [](const GolemStuff& g) { return OnExit(g.X, g.Y, g.Z); });
}

void Land(HeroStuff& h) {
    if (h.VerticalSpeed < 0) h.OnGround = 1;
    if (h.VerticalSpeed < -static_cast<float>(h.LongJumpGValue)) {
        h.ActionLock = G3DClamp32(G3DRound64(std::fabs(h.VerticalSpeed)));
        PlaySound3D(Rounded(h.X), Rounded(h.Y), Rounded(h.Z), kSoundLevel, h.LongJumpSound, DStuff);
        h.Life += static_cast<float>(h.LongJumpHealthValue);
        h.TargetAnim = 6;
        h.BlendDuration = 300;
    }
    h.VerticalSpeed = 0;
}

void MoveHero(HeroStuff& h) {
    h.Yaw += h.YawSpeed;
    KeepYawInTurns(h.Yaw);
    Decay(h.YawSpeed);
    h.Pitch += FrameStepScale((h.PitchTarget - h.Pitch) / 5.0f);
    h.Tilt += FrameStepScale((h.TiltTarget - h.Tilt) / 5.0f);
    const bool landed = MoveWithCollision(
        h.X, h.Y, h.Z, FrameStepScale(h.SpeedX), FrameStepScale(h.SpeedY + h.VerticalSpeed),
        FrameStepScale(h.SpeedZ), h.HeroWidth, h.HeroHeight, h.HeroStep);
    HeroCarryOverlap = CarryOverlap;
    HeroFloorType = FirstTouchedType;
    Decay(h.SpeedX);
    Decay(h.SpeedY);
    Decay(h.SpeedZ);
    if (landed && std::fabs(h.VerticalSpeed) > 1.0f) Land(h);
}

void Simulate(platform::Window& form) {
    HeroStuff& h = Heroes[CurrentHero];
    UpdateSaveCount(h);
    if (CurrentHero == 0) ThinkGolems(Level);
    RunBehaviours(Level, form);
    if (h.ActionLock > 0) {
        h.ActionLock =
            static_cast<int32_t>(std::max<int64_t>(0, int64_t{h.ActionLock} - FrameStep));
    } else {
        PlayerActivation.Flag = 0;
        ControlHero(form);
    }
    MoveGolems(Level);
    RunHeroTimer(h);
    if (EveryoneOnExits(h)) {
        CheckLevelExit(form);
    } else {
        LevelExitRefused = 0;  // a refused level change may be tried again
    }
    const int32_t last = std::clamp(LastHero, 0, kHeroCount - 1);
    for (int32_t i = 0; i <= last; ++i) MoveHero(Heroes[i]);
}

// The held bloc type `type` when it may index the tables, else -1.
int32_t HeldType(int32_t type) { return IsBlocType(type) ? type : -1; }

void DrawWeaponView(const HeroStuff& h) {
    const int32_t w = HeldType(h.Weapon);
    if (w < 0 || h.Inventory[w] <= 0) return;
    const bool firing =
        static_cast<double>(int64_t{FrameTime} - h.LastShotTime) < Level.Blocs[w].ReloadTime / 2.0;
    G3DDrawImage((firing ? kWeaponFireIconSlot : kWeaponIconSlot) + w, true, 0, 0, 0, 1.0f, 1.0f,
                 DStuff);
}

void DrawCoordinates(const HeroStuff& h) {
    const std::string text = "COORDINATES:(" + RoundedText(h.X) + "," + RoundedText(h.Y) + "," +
                             RoundedText(h.Z) + "),(" + RoundedText(h.Yaw) + "," +
                             RoundedText(h.Pitch) + "," + RoundedText(h.Tilt) + ")";
    DrawOpaqueText(text, 0, 0.01f, 0.08f);
}

void DrawTimer(HeroStuff& h) {
    const int32_t t = h.TimerValue;
    if (h.TimerOn == 0 || t < 0) return;
    if (t > 20000 || t % 1000 > 500) {
        std::string minutes, seconds;
        ZeroPadInt(std::min(t / 60000, 99), 2, minutes);
        ZeroPadInt(t % 60000 / 1000, 2, seconds);
        DrawOpaqueText(minutes + ":" + seconds, 0, HudSettings.TimerLeft, HudSettings.TimerTop);
    }
    if (t > 11000) return;
    if (t < 10000) {
        const auto digit = static_cast<uint8_t>('0' + t / 1000 % 10);
        G3DDrawImage(GlyphSlot(1, digit), true, 70, 0.4f, 0.3f, 0.3f, 0.56f, DStuff);
    }
    if (t / 1000 != h.TimerTick) {
        h.TimerTick = t / 1000;
        PlaySoundBuffer(TimerSound, false);
    }
}

// An icon and the count beside it, both with the same transparency.
void DrawCounter(int32_t slot, int32_t alpha, float left, float top, float width, float height,
                 int64_t count, float textLeft, float textTop) {
    G3DDrawImage(slot, true, alpha, left, top, width, height, DStuff);
    DrawFontText(std::to_string(count), alpha, 1, textLeft, textTop);
}

void DrawInventory(const HeroStuff& h) {
    const HudSettingsStuff& s = HudSettings;
    const int32_t i = HeldType(h.SelectedObject);
    if (i >= 0) {
        const BlocStuff& b = Level.Blocs[i];
        const int32_t n = b.InventoryCountInvert != 0 ? b.InstanceCount : h.Inventory[i];
        if (n > 0 && !b.InventoryIcon.empty()) {
            DrawCounter(kInventoryIconSlot + i, s.InventoryAlpha, s.InventoryLeft, s.InventoryTop,
                        b.InventoryIconWidth, b.InventoryIconHeight, n, s.InventoryStringLeft,
                        s.InventoryStringTop);
        }
    }
    const int32_t w = HeldType(h.Weapon);
    if (w >= 0 && !Level.Blocs[w].InventoryIcon.empty()) {
        const BlocStuff& b = Level.Blocs[w];
        DrawCounter(kInventoryIconSlot + w, s.WeaponAlpha, s.WeaponLeft, s.WeaponTop,
                    b.InventoryIconWidth, b.InventoryIconHeight, h.Inventory[w], s.WeaponStringLeft,
                    s.WeaponStringTop);
    }
}

void DrawLevelCounts() {
    for (int32_t i = 0; i < kBlocTypeCount; ++i) {
        const BlocStuff& b = Level.Blocs[i];
        if (b.ShowLevelCount == 0) continue;
        DrawFontText(std::to_string(b.InstanceCount), 0, 1, b.ShowLevelCountLeft,
                     b.ShowLevelCountTop);
        if (b.InstanceCount != 0) {
            G3DDrawImage(kInventoryIconSlot + i, true, 0, b.ShowLevelCountIconLeft,
                         b.ShowLevelCountTopIcon, b.InventoryIconWidth, b.InventoryIconHeight,
                         DStuff);
        }
    }
}

}  // namespace

std::string SaveCommandCaption(int32_t savesLeft, const std::string& saveText,
                               const std::string& countWord) {
    if (savesLeft >= kUnlimitedSaves) return saveText;
    return saveText + " (" + std::to_string(savesLeft) + " " + countWord + ")";
}

void DrawPlayHud() {
    HeroStuff& h = Heroes[CurrentHero];
    const HudSettingsStuff& s = HudSettings;
    DrawWeaponView(h);
    G3DDrawImage(kCrossIconSlot, true, s.CrossAlpha, s.CrossLeft, s.CrossTop, s.CrossWidth,
                 s.CrossHeight, DStuff);
    if (DebugDisplay != 0) DrawCoordinates(h);
    DrawTimer(h);
    h.Life = std::clamp(h.Life, 0.0f, 100.0f);
    DrawCounter(kLifeIconSlot, s.LifeAlpha, s.LifeLeft, s.LifeTop, s.LifeWidth, s.LifeHeight,
                G3DTrunc32(h.Life), s.LifeStringLeft, s.LifeStringTop);
    if (Level.GolemCount() > 0) {
        DrawCounter(kGolemIconSlot, s.GolemAlpha, s.GolemLeft, s.GolemTop, s.GolemWidth,
                    s.GolemHeight, Level.GolemCount(), s.GolemStringLeft, s.GolemStringTop);
    }
    DrawInventory(h);
    DrawLevelCounts();
}

void PlayFrame(platform::Window& form) {
    Simulate(form);
    RenderGameFrame(form);
    DrawPlayHud();
}
