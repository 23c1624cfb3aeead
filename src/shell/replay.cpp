// The gameplay-state hash (FNV-1a over every field in a fixed order) and the
// recorder of played games.
#include "shell/replay.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "shell/world.h"

namespace {

class Hasher {
public:
    uint64_t value = 1469598103934665603ull;
    void Bytes(const void* data, size_t size) {
        const auto* p = static_cast<const uint8_t*>(data);
        for (size_t i = 0; i < size; ++i) {
            value ^= p[i];
            value *= 1099511628211ull;
        }
    }
    void I(int64_t v) {
        uint8_t b[8];
        for (int i = 0; i < 8; ++i) b[i] = uint8_t(uint64_t(v) >> (8 * i));
        Bytes(b, 8);
    }
    void Text(std::string_view s) {
        I(int64_t(s.size()));
        Bytes(s.data(), s.size());
    }
};

void HashProgress(Hasher& h, const ProgressRecord& p) {
    h.I(p.PlayerX); h.I(p.PlayerY); h.I(p.SpeedX); h.I(p.SpeedY); h.I(p.Energy); h.I(p.Score);
    h.I(p.Difficulty); h.I(p.HasGoodLaser); h.I(p.HasDiagonalBalls); h.I(p.HasRockets);
    h.I(p.HasSideBalls); h.I(p.HasBombs); h.I(p.LastWeapon); h.Text(p.PlayerName.View());
    h.I(p.Level); h.I(p.ScrollDistance);
    for (int i = 1; i <= 3; ++i) h.I(p.ItemSlots[i]);
    h.I(p.LevelEnd);
    for (int i = 1; i <= 5; ++i) h.I(p.WeaponPickupState[i]);
    h.I(p.BlackBoxCount); h.I(p.ShipExplosionFrame); h.I(p.Lives);
}

void HashShot(Hasher& h, const ShotRecord& s) {
    h.I(s.X); h.I(s.Y); h.I(s.StartX); h.I(s.StartY); h.I(s.Damage); h.I(s.Mode); h.I(s.Active);
}

}  // namespace

uint64_t GameStateHash(const World& w) {
    const GameState& g = w.game;
    Hasher h;
    h.Text(w.shell.CurrentScene);
    h.I(w.random.seed);
    HashProgress(h, g.Progress);
    for (const LevelObject& o : g.LevelObjects) {
        h.I(o.X); h.I(o.Y); h.I(o.Energy); h.I(o.Picture); h.I(o.Speed); h.I(o.Hit); h.I(o.Content);
        h.I(o.Visible); h.I(o.CollisionDamage); h.I(o.ShotDamage); h.I(o.Score); h.I(o.Fires);
        h.I(o.ShotSpeed); h.I(o.FireInterval); h.I(o.ShotKind); h.I(o.ShotSpread);
    }
    for (const Star& s : g.Stars) { h.I(s.X); h.I(s.Y); h.I(s.Colour); h.I(s.Speed); }
    for (int i = 0; i < kShotCount; ++i) {
        HashShot(h, g.LaserShots[i]);
        HashShot(h, g.RocketShots[i]);
        HashShot(h, g.SideBallShots[i]);
        HashShot(h, g.DiagonalBallShots[i]);
        HashShot(h, g.BombShots[i]);
    }
    for (const ShotRecord& s : g.ShieldOrbs) HashShot(h, s);
    for (const auto& group : g.HomingDiscs)
        for (const ShotRecord& s : group) HashShot(h, s);
    for (const ShotRecord& s : g.EggBeams) HashShot(h, s);
    for (const EggBeamEnd& e : g.EggBeamEnds) { h.I(e.LeftX); h.I(e.RightX); }
    for (int32_t t : g.EggBeamTimers) h.I(t);
    for (const EnemyShotRecord& e : g.EnemyShots) {
        h.I(e.X); h.I(e.Y); h.I(e.Active); h.I(e.Damage); h.I(e.Speed); h.I(e.Kind); h.I(e.BurstFrame);
    }
    for (const WingmanRecord& m : g.Wingmen) { h.I(m.X); h.I(m.Y); h.I(m.State); h.I(m.Spare); }
    for (const auto& column : g.CityGrid)
        for (const CityCell& c : column) {
            h.I(c.Picture); h.I(c.FrameDelay); h.I(c.DelayCount); h.I(c.Frame); h.I(c.LastFrame); h.I(c.FirstFrame);
        }
    h.I(g.ArrivalWidth); h.I(g.ArrivalHeight); h.I(g.StarMode); h.I(g.ItemSlotToUse);
    h.I(g.InvulnerableEnergy); h.I(g.InvulnerableTimer); h.I(g.FireHeld); h.I(g.VolleyTick);
    h.I(g.RocketTick); h.I(g.BallTick); h.I(g.WeaponEnergy); h.I(g.ReloadTimer); h.I(g.ShipHitTimer);
    h.I(g.WingmanTimer); h.I(g.EnergyRefill); h.Text(g.CommanderText.View()); h.I(g.CommanderTextPos);
    h.I(g.CommanderStep); h.I(g.CommanderTimer); h.I(g.TextScreenLine);
    h.I(g.BombTick); h.I(g.StepX); h.I(g.StepY);
    h.I(g.ArrivalRect.left); h.I(g.ArrivalRect.top); h.I(g.ArrivalRect.right); h.I(g.ArrivalRect.bottom);
    h.I(g.ExplosionTick); h.I(g.FireClock); h.I(g.LifeAnimFrame); h.I(g.LifeTakenShift);
    for (int i = 1; i <= 5; ++i) h.I(g.WeaponPickupSeen[i]);
    h.I(g.BlastFrame); h.I(g.BlastX); h.I(g.BlastY); h.I(g.BlinkFrame); h.I(g.BlinkTick);
    h.I(g.LowEnergyArmed); h.I(g.InvulnerableLightStep); h.I(g.DeathTick);
    h.I(g.PortraitFrame); h.I(g.PortraitTick); h.I(g.TypeTick); h.I(g.TextCursorX); h.I(g.LampTick);
    h.I(g.ProbeFrame); h.I(g.ProbeTick); h.I(g.CityScroll); h.I(g.CityAge);
    h.I(g.MotherShip.X); h.I(g.MotherShip.Y);
    for (const ShipPart& s : g.MotherShipParts) {
        h.I(s.X); h.I(s.Y); h.I(s.Width); h.I(s.Height); h.I(s.Energy); h.I(s.Hit); h.I(s.ShotKind);
        h.I(s.ShotSpeed); h.I(s.FireInterval); h.I(s.ShotDamage); h.I(s.Score);
    }
    for (int32_t t : g.MuzzleTimers) h.I(t);
    h.I(g.LauncherState); h.I(g.LauncherFrame); h.I(g.DestructionCounter); h.I(g.ShipDirX); h.I(g.ShipDirY);
    h.I(g.FrameParity); h.I(g.ShipTick6); h.I(g.ShipTick9); h.I(g.ProbeLaunchCounter); h.I(g.ShipFireClock);
    for (int32_t v : g.ShipBlast) h.I(v);
    return h.value;
}

Recorder::Recorder(const std::string& path_, uint32_t seed, const std::string& note) : path(path_) {
    file = std::fopen(path.c_str(), "w");
    if (!file) throw std::runtime_error("cannot create recording '" + path + "': " + std::strerror(errno));
    std::fprintf(file, "# Kavrix recording\n");
    if (!note.empty()) {
        std::string line = note;  // one comment line, whatever the note holds
        for (char& c : line)
            if (uint8_t(c) < 0x20) c = '?';
        std::fprintf(file, "# %s\n", line.c_str());
    }
    std::fprintf(file, "seed %u\n", seed);
}

Recorder::~Recorder() {
    if (file) std::fclose(file);
}

void Recorder::Line(const std::string& text) {
    if (!file) return;
    std::fputs(text.c_str(), file);
    std::fputc('\n', file);
}

void Recorder::Keys(int64_t frame, const KeySet& held) {
    const KeySet changed = held ^ lastKeys;
    if (changed.none()) return;
    for (int k = 0; k < int(GameKey::Count); ++k) {
        if (!changed.test(size_t(k))) continue;
        ScriptEvent e;
        e.frame = frame;
        e.key = GameKey(k);
        e.kind = held.test(size_t(k)) ? ScriptEventKind::Down : ScriptEventKind::Up;
        Line(FormatScriptEvent(e));
    }
    lastKeys = held;
}

void Recorder::Event(const ScriptEvent& event) { Line(FormatScriptEvent(event)); }

void Recorder::Hash(int64_t frame, uint64_t value) {
    ScriptEvent e;
    e.kind = ScriptEventKind::Hash;
    e.frame = frame;
    e.hash = value;
    Line(FormatScriptEvent(e));
}

void Recorder::Close() {
    if (!file) return;
    const bool failed = std::fclose(file) != 0;
    file = nullptr;
    if (failed) throw std::runtime_error("cannot write recording '" + path + "'");
}
