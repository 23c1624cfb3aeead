// The one list of the game's state fields, walked by the state dump (JSON with
// the game's names), by the replay hash and by the starting state a kept
// replay carries (written from the list and read back into it). A visitor
// sees, in order:
//   Int(name, field)   a field all take;     Hidden(name, field)  a field the dump leaves out;
//   Text(name, field), HiddenText(name, field)  texts (a computed text, passed as a
//                      string_view, is shown and hashed but not carried);
//   Index(name, i)     an element's number, shown and hashed, not state;
//   Carried(name, field)  state only the starting state takes (neither shown nor hashed);
//   Key(name), BeginObject/EndObject, BeginArray/EndArray;
//   Element(inUse)     before an array element: the dump lists the elements in
//                      use, the hash and the starting state take every element.
// The record arguments are const for the dump and the hash and mutable for
// reading a starting state back, so every field passed is a real field.
#pragma once
#include <string_view>

#include "state/world.h"

// For visitors that take every field in order and no structure (the hash and
// the starting state): keys, objects and arrays pass, every element counts.
struct FlatFieldVisitor {
    void Key(const char*) {}
    void BeginObject() {}
    void EndObject() {}
    void BeginArray(const char*) {}
    void EndArray() {}
    bool Element(bool) { return true; }
};

// The text of a text field as the dump and the hash read it.
inline std::string_view FieldText(std::string_view text) { return text; }
inline std::string_view FieldText(const ShortString20& text) { return text.View(); }
template <int Capacity>
std::string_view FieldText(const FixedString<Capacity>& text) {
    return text.View();
}
inline std::string_view FieldText(Scene scene) { return SceneName(scene); }

namespace state_fields {

template <class V, class P>
void Progress(V& v, P& p) {
    v.BeginObject();
    v.Int("PlayerX", p.PlayerX);
    v.Int("PlayerY", p.PlayerY);
    v.Int("SpeedX", p.SpeedX);
    v.Int("SpeedY", p.SpeedY);
    v.Int("Energy", p.Energy);
    v.Int("Score", p.Score);
    v.Int("Difficulty", p.Difficulty);
    v.Int("HasGoodLaser", p.HasGoodLaser);
    v.Int("HasDiagonalBalls", p.HasDiagonalBalls);
    v.Int("HasRockets", p.HasRockets);
    v.Int("HasSideBalls", p.HasSideBalls);
    v.Int("HasBombs", p.HasBombs);
    v.Int("LastWeapon", p.LastWeapon);
    v.Text("PlayerName", p.PlayerName);
    v.Int("Level", p.Level);
    v.Int("ScrollDistance", p.ScrollDistance);
    v.BeginArray("ItemSlots");
    for (int i = 1; i <= 3; ++i) v.Int(nullptr, p.ItemSlots[i]);
    v.EndArray();
    v.Int("LevelEnd", p.LevelEnd);
    v.BeginArray("WeaponPickupState");
    for (int i = 1; i <= 5; ++i) v.Int(nullptr, p.WeaponPickupState[i]);
    v.EndArray();
    v.Int("BlackBoxCount", p.BlackBoxCount);
    v.Int("ShipExplosionFrame", p.ShipExplosionFrame);
    v.Int("Lives", p.Lives);
    v.EndObject();
}

template <class V, class S>
void Shots(V& v, const char* name, S* shots, int count) {
    v.BeginArray(name);
    for (int i = 0; i < count; ++i) {
        S& s = shots[i];
        if (!v.Element(s.Active != 0)) continue;
        v.BeginObject();
        v.Index("index", i);
        v.Int("X", s.X);
        v.Int("Y", s.Y);
        v.Int("StartX", s.StartX);
        v.Int("StartY", s.StartY);
        v.Int("Damage", s.Damage);
        v.Int("Mode", s.Mode);
        v.Int("Active", s.Active);
        v.EndObject();
    }
    v.EndArray();
}

template <class V, class G>
void RunningGameCounters(V& v, G& g) {
    v.Int("ArrivalWidth", g.ArrivalWidth);
    v.Int("ArrivalHeight", g.ArrivalHeight);
    v.Int("StarMode", g.StarMode);
    v.Int("ItemSlotToUse", g.ItemSlotToUse);
    v.Int("InvulnerableEnergy", g.InvulnerableEnergy);
    v.Int("InvulnerableTimer", g.InvulnerableTimer);
    v.Int("FireHeld", g.FireHeld);
    v.Int("VolleyTick", g.VolleyTick);
    v.Int("RocketTick", g.RocketTick);
    v.Int("BallTick", g.BallTick);
    v.Int("WeaponEnergy", g.WeaponEnergy);
    v.Int("ReloadTimer", g.ReloadTimer);
    v.Int("ShipHitTimer", g.ShipHitTimer);
    v.Int("WingmanTimer", g.WingmanTimer);
    v.Int("EnergyRefill", g.EnergyRefill);
    // "No text" (one NUL character) is shown as an empty string.
    v.Text("CommanderText", IsNoText(g.CommanderText) ? std::string_view() : g.CommanderText.View());
    v.Hidden("CommanderTextSize", g.CommanderText.size);
    v.Carried("CommanderText", g.CommanderText);
    v.Int("CommanderTextPos", g.CommanderTextPos);
    v.Int("CommanderStep", g.CommanderStep);
    v.Int("CommanderTimer", g.CommanderTimer);
    v.Int("TextScreenLine", g.TextScreenLine);
    v.Int("BombTick", g.BombTick);
}

// The counters that run for the whole program and are not dumped.
template <class V, class G>
void LongLivedCounters(V& v, G& g) {
    v.Hidden("StepX", g.StepX);
    v.Hidden("StepY", g.StepY);
    v.Hidden("ArrivalRect.left", g.ArrivalRect.left);
    v.Hidden("ArrivalRect.top", g.ArrivalRect.top);
    v.Hidden("ArrivalRect.right", g.ArrivalRect.right);
    v.Hidden("ArrivalRect.bottom", g.ArrivalRect.bottom);
    v.Hidden("ExplosionTick", g.ExplosionTick);
    v.Hidden("FireClock", g.FireClock);
    v.Hidden("LifeAnimFrame", g.LifeAnimFrame);
    v.Hidden("LifeTakenShift", g.LifeTakenShift);
    for (int i = 1; i <= 5; ++i) v.Hidden("WeaponPickupSeen", g.WeaponPickupSeen[i]);
    v.Hidden("BlastFrame", g.BlastFrame);
    v.Hidden("BlastX", g.BlastX);
    v.Hidden("BlastY", g.BlastY);
    v.Hidden("BlinkFrame", g.BlinkFrame);
    v.Hidden("BlinkTick", g.BlinkTick);
    v.Hidden("LowEnergyArmed", g.LowEnergyArmed);
    v.Hidden("InvulnerableLightStep", g.InvulnerableLightStep);
    v.Hidden("DeathTick", g.DeathTick);
    v.Hidden("PortraitFrame", g.PortraitFrame);
    v.Hidden("PortraitTick", g.PortraitTick);
    v.Hidden("TypeTick", g.TypeTick);
    v.Hidden("TextCursorX", g.TextCursorX);
    v.Hidden("LampTick", g.LampTick);
    v.Hidden("ProbeFrame", g.ProbeFrame);
    v.Hidden("ProbeTick", g.ProbeTick);
    v.Hidden("CityScroll", g.CityScroll);
    v.Hidden("CityAge", g.CityAge);
    for (auto& e : g.EggBeamEnds) {
        v.Hidden("EggBeamEnds.LeftX", e.LeftX);
        v.Hidden("EggBeamEnds.RightX", e.RightX);
    }
    for (auto& t : g.EggBeamTimers) v.Hidden("EggBeamTimers", t);
    for (auto& t : g.MuzzleTimers) v.Hidden("MuzzleTimers", t);
    v.Hidden("LauncherState", g.LauncherState);
    v.Hidden("LauncherFrame", g.LauncherFrame);
    v.Hidden("ShipDirX", g.ShipDirX);
    v.Hidden("ShipDirY", g.ShipDirY);
    v.Hidden("FrameParity", g.FrameParity);
    v.Hidden("ShipTick6", g.ShipTick6);
    v.Hidden("ShipTick9", g.ShipTick9);
    v.Hidden("ProbeLaunchCounter", g.ProbeLaunchCounter);
    v.Hidden("ShipFireClock", g.ShipFireClock);
    for (auto& b : g.ShipBlast) v.Hidden("ShipBlast", b);
}

// The finish line's lights and flags belong to the game but keep their place
// among the shell's fields, so the dump and the hash read as they always have.
template <class V, class S, class G>
void ShellFields(V& v, S& s, G& g) {
    v.Int("SoundEnabled", s.SoundEnabled);
    v.Int("MusicEnabled", s.MusicEnabled);
    v.Int("MusicVolume", s.MusicVolume);
    v.Int("MusicChannel", s.MusicChannel);
    v.Int("ShowFrameRate", s.ShowFrameRate);
    v.Int("FinishPassed", g.FinishPassed);
    v.Int("FinishLightOn", g.FinishLightOn);
    v.Int("FinishLightTimer", g.FinishLightTimer);
    v.Int("FlagFrame", g.FlagFrame);
    v.Int("FlagTick", g.FlagTick);
    v.Hidden("FrameRate", s.FrameRate);
    v.Carried("rateStartMs", s.rateStartMs);
    v.Carried("rateTicks", s.rateTicks);
}

// The menu, intro, story text and ending counters; the dump shows the menu's
// page, idle timer, game flag and pointer.
template <class V, class F>
void FrontEndFields(V& v, F& f) {
    v.Int("MenuPage", f.MenuPage);
    v.Int("IdleTimer", f.IdleTimer);
    v.Int("GameActive", f.GameActive);
    v.Int("MouseX", f.MouseX);
    v.Int("MouseY", f.MouseY);
    v.Hidden("HoverItem", f.HoverItem);
    v.Hidden("HoverButton", f.HoverButton);
    v.Hidden("SelectionPulse", f.SelectionPulse);
    v.Hidden("PulseTick", f.PulseTick);
    v.Hidden("BlinkCounter", f.BlinkCounter);
    v.Hidden("LogoHoverState", f.LogoHoverState);
    v.Hidden("MonitorMode", f.MonitorMode);
    v.Hidden("MonitorTimer", f.MonitorTimer);
    v.Hidden("MonitorShipX", f.MonitorShipX);
    v.Hidden("MonitorShipSpeed", f.MonitorShipSpeed);
    v.Hidden("MonitorShipTurnX", f.MonitorShipTurnX);
    v.Hidden("MeteorX", f.MeteorX);
    v.Hidden("MeteorY", f.MeteorY);
    v.Hidden("TerminalLineCount", f.TerminalLineCount);
    v.Hidden("TerminalTypedChars", f.TerminalTypedChars);
    v.Hidden("TerminalTick", f.TerminalTick);
    v.Hidden("CupFrame", f.CupFrame);
    v.Hidden("NewScoreRank", f.NewScoreRank);
    v.Hidden("NameEntryActive", f.NameEntryActive);
    v.Hidden("TypedKey", f.TypedKey);
    v.HiddenText("EnteredName", f.EnteredName);
    v.Hidden("LastHoverItem", f.LastHoverItem);
    v.Hidden("IntroPhase", f.IntroPhase);
    v.Hidden("IntroFade", f.IntroFade);
    v.Hidden("IntroTimer", f.IntroTimer);
    v.Hidden("SweepStep", f.SweepStep);
    v.Hidden("SweepX", f.SweepX);
    v.Hidden("SweepY", f.SweepY);
    v.Hidden("TextScreenTick", f.TextScreenTick);
    v.Hidden("EndingStage", f.EndingStage);
    v.Hidden("EndingCounter", f.EndingCounter);
    v.Hidden("ProbeDrift", f.ProbeDrift);
    v.Hidden("ProbeDriftTick", f.ProbeDriftTick);
    v.Hidden("ProbeBlinkTimer", f.ProbeBlinkTimer);
    for (int i = 1; i <= 12; ++i) v.HiddenText("TerminalLines", f.TerminalLines[i]);
}

template <class V, class S>
void SavedTables(V& v, S& saved) {
    v.Int("CurrentProfile", saved.CurrentProfile);
    v.BeginArray("ScoreTable");
    for (int i = 1; i <= 10; ++i) {
        v.Element(true);
        v.BeginObject();
        v.Index("rank", i);
        v.Int("Score", saved.ScoreTable.Scores[i]);
        v.Text("Name", saved.ScoreTable.Names[i]);
        v.EndObject();
    }
    v.EndArray();
    // The score page marks the entries with a kept replay.
    for (int i = 1; i <= 10; ++i) v.Carried("ScoreReplays", saved.ScoreReplays[i]);
    v.BeginArray("ProfileTable");
    for (int k = 1; k <= 6; ++k) {
        v.Element(true);
        v.BeginObject();
        v.Index("slot", k);
        v.Key("Progress");
        Progress(v, saved.ProfileTable[k]);
        v.EndObject();
    }
    v.EndArray();
}

template <class V, class G>
void LevelObjects(V& v, G& g) {
    v.BeginArray("LevelObjects");
    for (int i = 1; i <= kLevelObjectCount; ++i) {
        auto& o = g.LevelObjects[i];
        const bool blank = o.X == 0 && o.Y == 0 && o.Energy == 0 && o.Picture == 0 && o.Visible == 0;
        if (!v.Element(!blank)) continue;
        v.BeginObject();
        v.Index("index", i);
        v.Int("X", o.X);
        v.Int("Y", o.Y);
        v.Int("Energy", o.Energy);
        v.Int("Picture", o.Picture);
        v.Int("Speed", o.Speed);
        v.Int("Hit", o.Hit);
        v.Int("Content", o.Content);
        v.Int("Visible", o.Visible);
        v.Int("CollisionDamage", o.CollisionDamage);
        v.Int("ShotDamage", o.ShotDamage);
        v.Int("Score", o.Score);
        v.Int("Fires", o.Fires);
        v.Int("ShotSpeed", o.ShotSpeed);
        v.Int("FireInterval", o.FireInterval);
        v.Int("ShotKind", o.ShotKind);
        v.Int("ShotSpread", o.ShotSpread);
        v.EndObject();
    }
    v.EndArray();
}

template <class V, class G>
void Stars(V& v, G& g) {
    v.BeginArray("Stars");
    for (int i = 0; i < kStarCount; ++i) {
        auto& star = g.Stars[i];
        v.Element(true);
        v.BeginObject();
        v.Index("index", i);
        v.Int("X", star.X);
        v.Int("Y", star.Y);
        v.Int("Colour", star.Colour);
        v.Int("Speed", star.Speed);
        v.EndObject();
    }
    v.EndArray();
}

template <class V, class G>
void EnemiesAndCompanions(V& v, G& g) {
    v.BeginArray("EnemyShots");
    for (int i = 0; i < kEnemyShotCount; ++i) {
        auto& e = g.EnemyShots[i];
        if (!v.Element(e.Active != 0)) continue;
        v.BeginObject();
        v.Index("index", i);
        v.Int("X", e.X);
        v.Int("Y", e.Y);
        v.Int("Active", e.Active);
        v.Int("Damage", e.Damage);
        v.Int("Speed", e.Speed);
        v.Int("Kind", e.Kind);
        v.Int("BurstFrame", e.BurstFrame);
        v.EndObject();
    }
    v.EndArray();

    v.BeginArray("Wingmen");
    for (int i = 0; i < 3; ++i) {
        auto& m = g.Wingmen[i];
        if (!v.Element(m.State != 0)) continue;
        v.BeginObject();
        v.Index("index", i);
        v.Int("X", m.X);
        v.Int("Y", m.Y);
        v.Int("State", m.State);
        v.Hidden("Spare", m.Spare);
        v.EndObject();
    }
    v.EndArray();

    v.BeginArray("CityGrid");
    for (int column = 1; column <= 9; ++column) {
        for (int cell = 0; cell < 9; ++cell) {
            auto& c = g.CityGrid[column][size_t(cell)];
            if (!v.Element(c.Picture != -1)) continue;
            v.BeginObject();
            v.Index("column", column);
            v.Index("cell", cell);
            v.Int("Picture", c.Picture);
            v.Int("Frame", c.Frame);
            v.Hidden("FrameDelay", c.FrameDelay);
            v.Hidden("DelayCount", c.DelayCount);
            v.Hidden("LastFrame", c.LastFrame);
            v.Hidden("FirstFrame", c.FirstFrame);
            v.EndObject();
        }
    }
    v.EndArray();
}

// The mother ship of level 9: its position and the parts still standing.
template <class V, class G>
void MotherShip(V& v, G& g) {
    v.Key("MotherShip");
    v.BeginObject();
    v.Int("X", g.MotherShip.X);
    v.Int("Y", g.MotherShip.Y);
    v.Int("DestructionCounter", g.DestructionCounter);
    v.BeginArray("Parts");
    for (int i = 0; i < 30; ++i) {
        auto& part = g.MotherShipParts[i];
        if (!v.Element(!(part.Energy == 0 && part.Width == 0 && part.Height == 0))) continue;
        v.BeginObject();
        v.Index("index", i);
        v.Int("X", part.X);
        v.Int("Y", part.Y);
        v.Int("Width", part.Width);
        v.Int("Height", part.Height);
        v.Int("Energy", part.Energy);
        v.Int("Hit", part.Hit);
        v.Hidden("ShotKind", part.ShotKind);
        v.Hidden("ShotSpeed", part.ShotSpeed);
        v.Hidden("FireInterval", part.FireInterval);
        v.Hidden("ShotDamage", part.ShotDamage);
        v.Hidden("Score", part.Score);
        v.EndObject();
    }
    v.EndArray();
    v.EndObject();
}

// The whole state in the dump's order.
template <class V, class W>
void World(V& v, W& w) {
    auto& g = w.game;
    v.Text("CurrentScene", w.shell.CurrentScene);
    v.Hidden("RandomSeed", w.random.seed);
    v.Key("Progress");
    Progress(v, g.Progress);
    RunningGameCounters(v, g);
    LongLivedCounters(v, g);
    ShellFields(v, w.shell, g);
    FrontEndFields(v, w.front);
    SavedTables(v, w.saved);
    LevelObjects(v, g);
    Stars(v, g);
    Shots(v, "LaserShots", g.LaserShots, kShotCount);
    Shots(v, "RocketShots", g.RocketShots, kShotCount);
    Shots(v, "SideBallShots", g.SideBallShots, kShotCount);
    Shots(v, "DiagonalBallShots", g.DiagonalBallShots, kShotCount);
    Shots(v, "BombShots", g.BombShots, kShotCount);
    Shots(v, "ShieldOrbs", g.ShieldOrbs, kOrbCount);
    // index = group * 8 + disc
    Shots(v, "HomingDiscs", &g.HomingDiscs[0][0], kDiscGroups * kDiscsPerGroup);
    Shots(v, "EggBeams", g.EggBeams, kEggBeamCount);
    EnemiesAndCompanions(v, g);
    MotherShip(v, g);
}

}  // namespace state_fields
