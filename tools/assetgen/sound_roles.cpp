// Which sound plays which role in the game, and each role's loudness band:
// impacts loudest, the weapons that repeat several times a second at least
// 4 LU under them, pick-ups bright between the two, warnings noticeable but
// under the impacts, menu and story sounds soft.
#include "sound_roles.h"

#include <map>
#include <stdexcept>

namespace {

const std::map<std::string, SoundRole>& Roles() {
    static const std::map<std::string, SoundRole> roles = {
        {"Vybuch", SoundRole::Impact},       {"Prstenec", SoundRole::Impact},
        {"bumLod", SoundRole::Impact},       {"Zasah", SoundRole::Impact},
        {"Laser", SoundRole::Weapon},        {"GoodLaser", SoundRole::Weapon},
        {"Ostatni", SoundRole::Weapon},      {"RoztahnutiLej", SoundRole::Weapon},
        {"PrubehLej", SoundRole::Weapon},    {"Box", SoundRole::Reward},
        {"BoxGun", SoundRole::Reward},       {"Baterie", SoundRole::Reward},
        {"Lifepack", SoundRole::Reward},     {"Energypack", SoundRole::Reward},
        {"Vlajky", SoundRole::Reward},       {"Ochranne koule", SoundRole::Reward},
        {"Disky", SoundRole::Reward},        {"Kamaradi", SoundRole::Reward},
        {"Nesmrtelnost", SoundRole::Reward}, {"Outenergie", SoundRole::Warning},
        {"Prepnuti", SoundRole::Warning},    {"Najeti", SoundRole::Interface},
        {"Klik", SoundRole::Interface},      {"Text", SoundRole::Interface},
        {"Sonda", SoundRole::Interface},     {"Konec", SoundRole::Interface},
    };
    return roles;
}

}  // namespace

SoundRole RoleOf(const std::string& soundName) {
    auto it = Roles().find(soundName);
    if (it == Roles().end()) throw std::invalid_argument("no role for sound '" + soundName + "'");
    return it->second;
}

const RoleTarget& TargetOf(SoundRole role) {
    static const RoleTarget kTargets[] = {
        {"impacts", -6.0, -3.5},  {"weapons", -10.0, -8.5},    {"pick-ups", -7.5, -4.5},
        {"warnings", -8.5, -5.5}, {"interface", -20.0, -14.0},
    };
    return kTargets[int(role)];
}
