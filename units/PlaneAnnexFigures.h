// PlaneAnnexFigures.h: the install of an aircraft type's worked-out figures
// (PlaneAnnex::GetUsableRange and PlaneAnnex::BuildPerformanceTable,
// PlaneAnnexFigures.cpp) as the derived-figure pass of the annex load.
#pragma once

// Installs the usable range and the performance table as the aircraft
// derived-figure hooks, keeping the weapon hook as it is;
// UninstallAircraftFigures clears them.
void InstallAircraftFigures();
void UninstallAircraftFigures();
