// Writing the state dump as JSON with the game's own names as keys. Names
// are cp1250 in memory and written as UTF-8 JSON strings.
#include "shell/state_dump.h"

#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "media/cp1250.h"
#include "shell/replay.h"
#include "shell/world.h"

namespace {

// A small JSON writer: objects and arrays with commas placed for us.
class Json {
public:
    std::string out;

    void Key(const char* key) {
        Comma();
        out += '"';
        out += key;
        out += "\":";
        needComma = false;
    }
    void Open(char bracket) {
        Comma();
        out += bracket;
        needComma = false;
    }
    void Close(char bracket) {
        out += bracket;
        needComma = true;
    }
    void Int(int64_t v) {
        Comma();
        out += std::to_string(v);
        needComma = true;
    }
    void Hex(uint64_t v) {
        char buffer[24];
        std::snprintf(buffer, sizeof buffer, "%016" PRIx64, v);
        String(buffer);
    }
    void String(std::string_view utf8) {
        Comma();
        out += '"';
        for (unsigned char c : utf8) {
            if (c == '"' || c == '\\') {
                out += '\\';
                out += char(c);
            } else if (c < 0x20) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                out += buffer;
            } else {
                out += char(c);
            }
        }
        out += '"';
        needComma = true;
    }
    void Cp1250(std::string_view text) { String(Cp1250ToUtf8(text)); }
    void Field(const char* key, int64_t v) {
        Key(key);
        Int(v);
    }

private:
    bool needComma = false;
    void Comma() {
        if (needComma) out += ',';
    }
};

void WriteProgress(Json& j, const ProgressRecord& p) {
    j.Open('{');
    j.Field("PlayerX", p.PlayerX);
    j.Field("PlayerY", p.PlayerY);
    j.Field("SpeedX", p.SpeedX);
    j.Field("SpeedY", p.SpeedY);
    j.Field("Energy", p.Energy);
    j.Field("Score", p.Score);
    j.Field("Difficulty", p.Difficulty);
    j.Field("HasGoodLaser", p.HasGoodLaser);
    j.Field("HasDiagonalBalls", p.HasDiagonalBalls);
    j.Field("HasRockets", p.HasRockets);
    j.Field("HasSideBalls", p.HasSideBalls);
    j.Field("HasBombs", p.HasBombs);
    j.Field("LastWeapon", p.LastWeapon);
    j.Key("PlayerName");
    j.Cp1250(p.PlayerName.View());
    j.Field("Level", p.Level);
    j.Field("ScrollDistance", p.ScrollDistance);
    j.Key("ItemSlots");
    j.Open('[');
    for (int i = 1; i <= 3; ++i) j.Int(p.ItemSlots[i]);
    j.Close(']');
    j.Field("LevelEnd", p.LevelEnd);
    j.Key("WeaponPickupState");
    j.Open('[');
    for (int i = 1; i <= 5; ++i) j.Int(p.WeaponPickupState[i]);
    j.Close(']');
    j.Field("BlackBoxCount", p.BlackBoxCount);
    j.Field("ShipExplosionFrame", p.ShipExplosionFrame);
    j.Field("Lives", p.Lives);
    j.Close('}');
}

void WriteShot(Json& j, int index, const ShotRecord& s) {
    j.Open('{');
    j.Field("index", index);
    j.Field("X", s.X);
    j.Field("Y", s.Y);
    j.Field("StartX", s.StartX);
    j.Field("StartY", s.StartY);
    j.Field("Damage", s.Damage);
    j.Field("Mode", s.Mode);
    j.Field("Active", s.Active);
    j.Close('}');
}

void WriteShots(Json& j, const char* name, const ShotRecord* shots, int count) {
    j.Key(name);
    j.Open('[');
    for (int i = 0; i < count; ++i)
        if (shots[i].Active) WriteShot(j, i, shots[i]);
    j.Close(']');
}

}  // namespace

std::string StateDumpJson(const World& w) {
    const GameState& g = w.game;
    const Shell& s = w.shell;
    const FrontEnd& f = w.front;
    Json j;
    j.Open('{');
    j.Key("CurrentScene");
    j.String(s.CurrentScene);
    j.Key("Progress");
    WriteProgress(j, g.Progress);

    // Counters of a running game (those the new-game reset sets).
    j.Field("ArrivalWidth", g.ArrivalWidth);
    j.Field("ArrivalHeight", g.ArrivalHeight);
    j.Field("StarMode", g.StarMode);
    j.Field("ItemSlotToUse", g.ItemSlotToUse);
    j.Field("InvulnerableEnergy", g.InvulnerableEnergy);
    j.Field("InvulnerableTimer", g.InvulnerableTimer);
    j.Field("FireHeld", g.FireHeld);
    j.Field("VolleyTick", g.VolleyTick);
    j.Field("RocketTick", g.RocketTick);
    j.Field("BallTick", g.BallTick);
    j.Field("WeaponEnergy", g.WeaponEnergy);
    j.Field("ReloadTimer", g.ReloadTimer);
    j.Field("ShipHitTimer", g.ShipHitTimer);
    j.Field("WingmanTimer", g.WingmanTimer);
    j.Field("EnergyRefill", g.EnergyRefill);
    j.Key("CommanderText");
    j.Cp1250(IsNoText(g.CommanderText) ? std::string_view() : g.CommanderText.View());
    j.Field("CommanderTextPos", g.CommanderTextPos);
    j.Field("CommanderStep", g.CommanderStep);
    j.Field("CommanderTimer", g.CommanderTimer);
    j.Field("TextScreenLine", g.TextScreenLine);
    j.Field("BombTick", g.BombTick);

    // The shell's settings and counters.
    j.Field("SoundEnabled", s.SoundEnabled);
    j.Field("MusicEnabled", s.MusicEnabled);
    j.Field("MusicVolume", s.MusicVolume);
    j.Field("MusicChannel", s.MusicChannel);
    j.Field("ShowFrameRate", s.ShowFrameRate);
    j.Field("FinishPassed", s.FinishPassed);
    j.Field("FinishLightOn", s.FinishLightOn);
    j.Field("FinishLightTimer", s.FinishLightTimer);
    j.Field("FlagFrame", s.FlagFrame);
    j.Field("FlagTick", s.FlagTick);

    j.Field("MenuPage", f.MenuPage);
    j.Field("IdleTimer", f.IdleTimer);
    j.Field("GameActive", f.GameActive);
    j.Field("MouseX", f.MouseX);
    j.Field("MouseY", f.MouseY);
    j.Field("CurrentProfile", w.saved.CurrentProfile);

    j.Key("ScoreTable");
    j.Open('[');
    for (int i = 1; i <= 10; ++i) {
        j.Open('{');
        j.Field("rank", i);
        j.Field("Score", w.saved.ScoreTable.Scores[i]);
        j.Key("Name");
        j.Cp1250(w.saved.ScoreTable.Names[i].View());
        j.Close('}');
    }
    j.Close(']');
    j.Key("ProfileTable");
    j.Open('[');
    for (int k = 1; k <= 6; ++k) {
        j.Open('{');
        j.Field("slot", k);
        j.Key("Progress");
        WriteProgress(j, w.saved.ProfileTable[k]);
        j.Close('}');
    }
    j.Close(']');

    j.Key("LevelObjects");
    j.Open('[');
    for (int i = 1; i <= kLevelObjectCount; ++i) {
        const LevelObject& o = g.LevelObjects[i];
        if (o.X == 0 && o.Y == 0 && o.Energy == 0 && o.Picture == 0 && o.Visible == 0) continue;
        j.Open('{');
        j.Field("index", i);
        j.Field("X", o.X);
        j.Field("Y", o.Y);
        j.Field("Energy", o.Energy);
        j.Field("Picture", o.Picture);
        j.Field("Speed", o.Speed);
        j.Field("Hit", o.Hit);
        j.Field("Content", o.Content);
        j.Field("Visible", o.Visible);
        j.Field("CollisionDamage", o.CollisionDamage);
        j.Field("ShotDamage", o.ShotDamage);
        j.Field("Score", o.Score);
        j.Field("Fires", o.Fires);
        j.Field("ShotSpeed", o.ShotSpeed);
        j.Field("FireInterval", o.FireInterval);
        j.Field("ShotKind", o.ShotKind);
        j.Field("ShotSpread", o.ShotSpread);
        j.Close('}');
    }
    j.Close(']');

    j.Key("Stars");
    j.Open('[');
    for (int i = 0; i < kStarCount; ++i) {
        const Star& star = g.Stars[i];
        j.Open('{');
        j.Field("index", i);
        j.Field("X", star.X);
        j.Field("Y", star.Y);
        j.Field("Colour", star.Colour);
        j.Field("Speed", star.Speed);
        j.Close('}');
    }
    j.Close(']');

    WriteShots(j, "LaserShots", g.LaserShots, kShotCount);
    WriteShots(j, "RocketShots", g.RocketShots, kShotCount);
    WriteShots(j, "SideBallShots", g.SideBallShots, kShotCount);
    WriteShots(j, "DiagonalBallShots", g.DiagonalBallShots, kShotCount);
    WriteShots(j, "BombShots", g.BombShots, kShotCount);
    WriteShots(j, "ShieldOrbs", g.ShieldOrbs, kOrbCount);
    WriteShots(j, "HomingDiscs", &g.HomingDiscs[0][0], kDiscGroups * kDiscsPerGroup);  // index = group * 8 + disc
    WriteShots(j, "EggBeams", g.EggBeams, kEggBeamCount);

    j.Key("EnemyShots");
    j.Open('[');
    for (int i = 0; i < kEnemyShotCount; ++i) {
        const EnemyShotRecord& e = g.EnemyShots[i];
        if (!e.Active) continue;
        j.Open('{');
        j.Field("index", i);
        j.Field("X", e.X);
        j.Field("Y", e.Y);
        j.Field("Active", e.Active);
        j.Field("Damage", e.Damage);
        j.Field("Speed", e.Speed);
        j.Field("Kind", e.Kind);
        j.Field("BurstFrame", e.BurstFrame);
        j.Close('}');
    }
    j.Close(']');

    j.Key("Wingmen");
    j.Open('[');
    for (int i = 0; i < 3; ++i) {
        const WingmanRecord& m = g.Wingmen[i];
        if (m.State == 0) continue;
        j.Open('{');
        j.Field("index", i);
        j.Field("X", m.X);
        j.Field("Y", m.Y);
        j.Field("State", m.State);
        j.Close('}');
    }
    j.Close(']');

    j.Key("CityGrid");
    j.Open('[');
    for (int column = 1; column <= 9; ++column) {
        for (int cell = 0; cell < 9; ++cell) {
            const CityCell& c = g.CityGrid[column][size_t(cell)];
            if (c.Picture == -1) continue;
            j.Open('{');
            j.Field("column", column);
            j.Field("cell", cell);
            j.Field("Picture", c.Picture);
            j.Field("Frame", c.Frame);
            j.Close('}');
        }
    }
    j.Close(']');

    // The mother ship of level 9: its position and the parts still standing.
    j.Key("MotherShip");
    j.Open('{');
    j.Field("X", g.MotherShip.X);
    j.Field("Y", g.MotherShip.Y);
    j.Field("DestructionCounter", g.DestructionCounter);
    j.Key("Parts");
    j.Open('[');
    for (int i = 0; i < 30; ++i) {
        const ShipPart& part = g.MotherShipParts[i];
        if (part.Energy == 0 && part.Width == 0 && part.Height == 0) continue;
        j.Open('{');
        j.Field("index", i);
        j.Field("X", part.X);
        j.Field("Y", part.Y);
        j.Field("Width", part.Width);
        j.Field("Height", part.Height);
        j.Field("Energy", part.Energy);
        j.Field("Hit", part.Hit);
        j.Close('}');
    }
    j.Close(']');
    j.Close('}');

    j.Key("GameStateHash");
    j.Hex(GameStateHash(w));
    j.Key("SurfaceHash");
    j.Hex(SurfaceHash(*w.media.back));
    j.Close('}');
    j.out += '\n';
    return j.out;
}

void WriteStateDump(const World& w, const std::string& path) {
    const std::string json = StateDumpJson(w);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << json;
    out.close();
    if (!out) throw std::runtime_error("cannot write the state dump '" + path + "'");
}
