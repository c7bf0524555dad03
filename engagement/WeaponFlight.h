// WeaponFlight.h: the install of a weapon record's flight figures
// (WeaponAnnex::PrepareFlight, WeaponFlight.cpp) as the derived-figure pass
// of the annex load.
#pragma once

// Installs WeaponAnnex::PrepareFlight as the weapons' derived-figure hook,
// keeping the aircraft hooks as they are; UninstallWeaponFlight clears it.
void InstallWeaponFlight();
void UninstallWeaponFlight();
