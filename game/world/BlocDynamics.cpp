#include "game/world/BlocDynamics.h"

#include <cmath>

#include "engine/G3DAngles.h"
#include "engine/G3DMesh.h"
#include "engine/G3DState.h"
#include "game/level/CellGrid.h"
#include "game/GameClock.h"
#include "game/level/LevelStuff.h"
#include "support/Snd.h"

namespace {

// Speed of a pushed bloc along its axis, per 90 ms.
constexpr float kPushSpeed = 95.0f;

int32_t CellOf(float w) { return CellOfCoordinate(w); }

bool InGrid(int32_t x, int32_t y, int32_t z) { return CellIndex(x, y, z, Level) >= 0; }

// The bloc type record of `type`, or nullptr for a type out of range.
BlocStuff* BlocOf(int32_t type) { return IsBlocType(type) ? &Level.Blocs[type] : nullptr; }

// True when the cell holds a known type without a shape: nothing is there.
bool HoldsNothing(int32_t x, int32_t y, int32_t z) {
    const BlocStuff* bloc = BlocOf(GetCellType(x, y, z));
    return bloc != nullptr && bloc->Undefined != 0;
}

// Calls visit(x, y, z) for every cell of `type`, x outermost, then y, then z,
// each from 0 upward, until visit returns false.
template <typename Visit>
void ForEachCellOfType(int32_t type, Visit&& visit) {
    // A grid with an empty side has long others and no cell at all.
    if (Level.CellCount <= 0) return;
    for (int32_t x = 0; x < Level.SizeX; ++x) {
        for (int32_t y = 0; y < Level.SizeY; ++y) {
            for (int32_t z = 0; z < Level.SizeZ; ++z) {
                if (GetCellType(x, y, z) == type && !visit(x, y, z)) return;
            }
        }
    }
}

// Appends a tile animation of `type` at world point (x, y, z), with its
// action sound, no final type and counting no instance; nullptr when the list
// is full or the type is out of range.
TileAnimationStuff* AddAnimationRow(int32_t type, float x, float y, float z) {
    const BlocStuff* bloc = BlocOf(type);
    if (bloc == nullptr) return nullptr;
    TileAnimationStuff* row = Level.TileAnimations.Add();
    if (row == nullptr) return nullptr;
    PlayActionSound(type, x, y, z);
    row->X = x;
    row->Y = y;
    row->Z = z;
    row->AnimType = type;
    row->FinalType = -1;
    row->StartTime = row->StartTime2 = GameTimeMs();
    row->FramePosition = bloc->MeshCount >= 1 ? 1.0f : 0.0f;
    row->PreviousFrame = 0;
    G3DCopyMesh(bloc->CurrentMesh, row->AnimMesh);
    return row;
}

// Takes the defined bloc of cell (x, y, z) out of the grid into a new moving
// bloc of `kind` at the cell centre, turned as the cell was; the bloc stays one
// instance of its type. nullptr, with nothing changed, when the list is full
// or the cell holds no defined bloc.
MovingBlocStuff* TakeBlocOut(int32_t x, int32_t y, int32_t z, uint8_t kind) {
    if (!InGrid(x, y, z) || Level.MovingBlocs.Full()) return nullptr;
    const int32_t type = GetCellType(x, y, z);
    BlocStuff* bloc = BlocOf(type);
    if (type == 0 || bloc == nullptr || bloc->Undefined) return nullptr;
    MovingBlocStuff* row = Level.MovingBlocs.Add();
    row->X = CellCentre(x);
    row->Y = CellCentre(y);
    row->Z = CellCentre(z);
    row->Angle = static_cast<float>(GetCellTurn(x, y, z) * 128);
    row->Pitch = 0;
    row->Kind = kind;
    row->BlocType = static_cast<uint16_t>(type);
    row->StartTime = GameTimeMs();
    ++bloc->InstanceCount;
    SetCellType(x, y, z, 0);
    return row;
}

// True when cell (x, y, z) holds a bloc that bodies collide with (a defined
// type other than 0 with Collision).
bool HoldsCollidingBloc(int32_t x, int32_t y, int32_t z) {
    const int32_t type = GetCellType(x, y, z);
    const BlocStuff* bloc = BlocOf(type);
    return type != 0 && bloc != nullptr && !bloc->Undefined && bloc->Collision;
}

// The height at which a bloc coming to rest in cell (x, y, z) is put: y itself,
// whatever walk-through bloc the cell holds (grass, water, a pick-up). Only a
// colliding bloc that took the cell meanwhile is kept: then the first cell
// above without one; SizeY (above the grid, where nothing is written) when the
// column is full. Outside the grid, y.
int32_t LandingHeight(int32_t x, int32_t y, int32_t z) {
    if (!InGrid(x, y, z)) return y;
    while (y < Level.SizeY && HoldsCollidingBloc(x, y, z)) ++y;
    return y;
}

// A key bloc has come to rest in cell (x, y, z): when it stands on its sensor,
// the sensor sounds at the bloc's position and, once every receptacle of that
// sensor holds its key, the sensor's doors open.
void CheckKeyOnSensor(const BlocStuff& key, int32_t x, int32_t y, int32_t z,
                      const MovingBlocStuff& bloc) {
    const int32_t sensor = key.BlockKeySensor;
    if (!key.BlockKey || !IsBlocType(sensor)) return;
    if (!InGrid(x, y, z) || GetCellType(x, y - 1, z) != sensor) return;
    PlayActionSound(sensor, bloc.X, bloc.Y, bloc.Z);
    if (ReceptaclesFilled(sensor)) OpenDoors(Level.Blocs[sensor].BlockSensorDoor);
}

// Puts a launched or lifted bloc back into the grid in the cell containing its
// position (see LandingHeight), with its orientation.
void PutBlocBack(const MovingBlocStuff& bloc) {
    BlocStuff* type = BlocOf(bloc.BlocType);
    if (type == nullptr) return;
    --type->InstanceCount;
    const int32_t x = CellOf(bloc.X);
    const int32_t z = CellOf(bloc.Z);
    const int32_t y = LandingHeight(x, CellOf(bloc.Y), z);
    SetCellType(x, y, z, bloc.BlocType);
    SetCellTurn(x, y, z, G3DTrunc32(static_cast<double>(bloc.Angle) / 128.0));
    CheckKeyOnSensor(*type, x, y, z, bloc);
}

// Keeps behaviour instances on their own blocs after row `removed` is gone:
// rows behind it moved down one place; an instance that owned it has none.
void FollowRemovedMovingBloc(int32_t removed) {
    for (BehaviourStuff& instance : Level.BehaviourInstances) {
        if (instance.MovingBlocRow == removed) {
            instance.MovingBlocRow = -1;
        } else if (instance.MovingBlocRow > removed) {
            --instance.MovingBlocRow;
        }
    }
}

// Sign of v as -1 or +1 (0 counts as +1).
float SignOf(float v) { return v < 0 ? -1.0f : 1.0f; }

}  // namespace

void PlayActionSound(int32_t type, float x, float y, float z) {
    const BlocStuff* bloc = BlocOf(type);
    if (bloc == nullptr) return;
    PlaySound3D(G3DTrunc32(x), G3DTrunc32(y), G3DTrunc32(z), bloc->ActionVolume,
                bloc->ActionSoundBuffer, DStuff);
}

void AddTileAnimation(int32_t x, int32_t y, int32_t z, int32_t animType, int32_t finalType) {
    TileAnimationStuff* row =
        AddAnimationRow(animType, CellCentre(x), CellCentre(y), CellCentre(z));
    if (row == nullptr) {
        // No animation to play: the cell takes the state it would end in.
        SetCellType(x, y, z, IsBlocType(finalType) ? finalType : 0);
        return;
    }
    row->FinalType = finalType;
    row->CountsInstance = 1;
    ++Level.Blocs[animType].InstanceCount;
    SetCellType(x, y, z, 0);
}

void AddTileAnimationAt(int32_t x, int32_t y, int32_t z, int32_t type) {
    AddAnimationRow(type, static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}

void RemoveTileAnimation(int32_t row) {
    if (!Level.TileAnimations.Valid(row)) return;
    const TileAnimationStuff& anim = Level.TileAnimations[row];
    if (anim.FinalType >= 0) {
        SetCellType(CellOf(anim.X), CellOf(anim.Y), CellOf(anim.Z), anim.FinalType);
    }
    if (anim.CountsInstance && IsBlocType(anim.AnimType)) {
        --Level.Blocs[anim.AnimType].InstanceCount;
    }
    Level.TileAnimations.Remove(row);
}

void OperateLever(int32_t x, int32_t y, int32_t z) {
    const int32_t type = GetCellType(x, y, z);
    const BlocStuff* lever = BlocOf(type);
    if (lever == nullptr || !lever->Lever) return;
    const int32_t anim = lever->LeverAnim;
    const int32_t open = lever->LeverOpen;
    const int32_t door = lever->LeverDoor;
    ForEachCellOfType(type, [&](int32_t cx, int32_t cy, int32_t cz) {
        AddTileAnimation(cx, cy, cz, anim, open);
        return true;
    });
    OpenDoors(door);
}

void OpenDoors(int32_t doorType) {
    const BlocStuff* door = BlocOf(doorType);
    if (door == nullptr || !door->Door) return;
    const int32_t anim = door->AnimDoor;
    const int32_t open = door->DoorOpen;
    ForEachCellOfType(doorType, [&](int32_t x, int32_t y, int32_t z) {
        AddTileAnimation(x, y, z, anim, open);
        return true;
    });
}

void DigCell(int32_t x, int32_t y, int32_t z, int32_t duration) {
    if (!InGrid(x, y, z)) return;
    const int32_t type = GetCellType(x, y, z);
    const BlocStuff* bloc = BlocOf(type);
    if (bloc == nullptr || !bloc->Dig || !HoldsNothing(x, y + 1, z)) return;
    DugCellStuff* dug = Level.DugCells.Add();
    if (dug == nullptr) return;
    dug->X = CellCentre(x);
    dug->Y = CellCentre(y);
    dug->Z = CellCentre(z);
    dug->BlocType = static_cast<uint16_t>(type);
    dug->StartTime = GameTimeMs();
    dug->Duration = duration;
    const int32_t anim = bloc->DigAnim;
    const bool recovers = bloc->Recover != 0;
    PlayActionSound(anim, dug->X, dug->Y, dug->Z);
    AddTileAnimation(x, y, z, anim, 0);
    if (!recovers) Level.DugCells.Remove(Level.DugCells.High());
}

void RecoverDugCell(int32_t row) {
    if (!Level.DugCells.Valid(row)) return;
    const DugCellStuff dug = Level.DugCells[row];
    Level.DugCells.Remove(row);
    const BlocStuff* former = BlocOf(dug.BlocType);
    const int32_t x = CellOf(dug.X), y = CellOf(dug.Y), z = CellOf(dug.Z);
    if (former == nullptr || !InGrid(x, y, z) || !HoldsNothing(x, y, z)) return;
    const int32_t anim = former->RecoverAnim;
    PlayActionSound(anim, dug.X, dug.Y, dug.Z);
    AddTileAnimation(x, y, z, anim, dug.BlocType);
}

void PushBloc(int32_t x, int32_t y, int32_t z, int32_t heading) {
    if (!InGrid(x, y, z)) return;
    const BlocStuff* bloc = BlocOf(GetCellType(x, y, z));
    if (bloc == nullptr || !bloc->CanPush) return;
    const BlocStuff* above = BlocOf(GetCellType(x, y + 1, z));
    if (above != nullptr && above->CanPush) return;
    const float s = G3DSin(heading);
    const float c = G3DCos(heading);
    if (std::fabs(s) > std::fabs(c)) {
        LaunchBloc(x, y, z, kPushSpeed * SignOf(s), 0, 0);
    } else {
        LaunchBloc(x, y, z, 0, 0, kPushSpeed * SignOf(c));
    }
}

void LaunchBloc(int32_t x, int32_t y, int32_t z, float vx, float vy, float vz) {
    MovingBlocStuff* row = TakeBlocOut(x, y, z, kMovingLaunched);
    if (row == nullptr) return;
    PlayActionSound(row->BlocType, row->X, row->Y, row->Z);
    row->StartX = row->X;
    row->StartY = row->Y;
    row->StartZ = row->Z;
    row->VelocityX = vx;
    row->VelocityY = vy;
    row->VelocityZ = vz;
}

int32_t LiftBloc(int32_t x, int32_t y, int32_t z) {
    return TakeBlocOut(x, y, z, kMovingOwned) == nullptr ? -1 : Level.MovingBlocs.High();
}

void FireProjectile(int32_t type, float x, float y, float z, float yaw, float pitch) {
    const BlocStuff* bloc = BlocOf(type);
    if (bloc == nullptr || Level.MovingBlocs.Full()) return;
    PlayActionSound(type, x, y, z);
    MovingBlocStuff* row = Level.MovingBlocs.Add();
    row->X = x;
    row->Y = y;
    row->Z = z;
    row->Angle = -yaw;
    row->Pitch = pitch;
    const int64_t yawAngle = G3DRound64(yaw);
    const int64_t pitchAngle = G3DRound64(pitch);
    const float speed = static_cast<float>(bloc->BulletSpeed);
    row->VelocityX = G3DSin(yawAngle) * speed * G3DCos(pitchAngle);
    row->VelocityY = G3DSin(pitchAngle) * speed;
    row->VelocityZ = G3DCos(yawAngle) * speed * G3DCos(pitchAngle);
    row->Kind = kMovingProjectile;
    row->BlocType = static_cast<uint16_t>(type);
    row->StartTime = GameTimeMs();
}

void RemoveMovingBloc(int32_t row) {
    if (!Level.MovingBlocs.Valid(row)) return;
    const MovingBlocStuff bloc = Level.MovingBlocs[row];
    if (bloc.Kind != kMovingProjectile) {
        PutBlocBack(bloc);
    } else if (const BlocStuff* type = BlocOf(bloc.BlocType)) {
        AddTileAnimationAt(G3DTrunc32(bloc.X), G3DTrunc32(bloc.Y), G3DTrunc32(bloc.Z),
                           type->BulletExplosion);
    }
    Level.MovingBlocs.Remove(row);
    FollowRemovedMovingBloc(row);
}

bool ReceptaclesFilled(int32_t sensorType) {
    bool filled = true;
    ForEachCellOfType(sensorType, [&](int32_t x, int32_t y, int32_t z) {
        const BlocStuff* above = BlocOf(GetCellType(x, y + 1, z));
        filled = above != nullptr && above->BlockKey && above->BlockKeySensor == sensorType;
        return filled;
    });
    return filled;
}
