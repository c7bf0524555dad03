// SonobuoyDetection.h: the engagement model's listening of a sonobuoy line
// (SonobuoyDetection.cpp), installed behind SonobuoyLine::DetectUnit.
#pragma once

// Installs the listening; UninstallSonobuoyDetection takes it out again.
void InstallSonobuoyDetection();
void UninstallSonobuoyDetection();
