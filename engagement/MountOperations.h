// MountOperations.h: the engagement model's mount operations (reload,
// transfers from the magazines, reach, ratings, engagement queries, point
// defence, launches, guidance), installed behind Mount's operations.
#pragma once

// Installs the operations, with the weapons' flight figures as the
// derived-figure hook (WeaponFlight.h); UninstallMountOperations takes them
// out again.
void InstallMountOperations();
void UninstallMountOperations();
