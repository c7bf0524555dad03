// PointDefense.h: the chance of one point-defence shot (the engagement
// itself is WeaponRec::FirePointDefense, PointDefense.cpp).
#pragma once

#include <cstdint>

class Unit;
class WeaponAnnex;

namespace PointDefense {
// The whole percentage that one shot of the weapon destroys the incoming
// unit at the altitude: its air chance + 30 (without the 30 against a
// speed of 1300 or more), less 10 for a small visual signature and less 15
// low down (unless the weapon's flags waive it); above 100 it is 95, below
// 0 it is 5.
int32_t HitChance(const WeaponAnnex& weapon, const Unit& incoming, int16_t altitude);
}  // namespace PointDefense
